#pragma once
#include "lookup/LookupWindow.h"

namespace lookup {

// frm_flug: the aviation frequency list sorted by place, searched by place or frequency.
class FlugWindow : public LookupWindow {
    Q_OBJECT
public:
    explicit FlugWindow(QWidget *parent = nullptr);

    // A contains-search on one column, sorted by place.
    static data::Query searchQuery(const QString &column, const QString &text);

private:
    // Handlers, named control_event; run only by their controls.
    void Form_load();
    void cmd_sucheort_clicked();
    void cmd_suchefreq_clicked();
    void cmd_reset_clicked();

    QLineEdit *txt_ort;
    QLineEdit *txt_freq;
};

} // namespace lookup
