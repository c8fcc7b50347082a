#pragma once
#include "lookup/LookupWindow.h"

namespace lookup {

// frm_bos: the BOS frequency list sorted by place, searched by frequency, call name or place.
class BosWindow : public LookupWindow {
    Q_OBJECT
public:
    explicit BosWindow(QWidget *parent = nullptr);

    // A contains-search on one column, sorted by place.
    static data::Query searchQuery(const QString &column, const QString &text);

private:
    // Handlers, named control_event; run only by their controls.
    void Form_load();
    void cmd_suchefreq_clicked();
    void cmd_sucherufname_clicked();
    void cmd_sucheort_clicked();
    void cmd_reset_clicked();

    QLineEdit *txt_freq;
    QLineEdit *txt_rufname;
    QLineEdit *txt_ort;
};

} // namespace lookup
