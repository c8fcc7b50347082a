#pragma once
#include "lookup/LookupWindow.h"

namespace lookup {

// frm_prefix: the DX prefix list; finds the row of one whole prefix.
class PrefixWindow : public LookupWindow {
    Q_OBJECT
public:
    explicit PrefixWindow(QWidget *parent = nullptr);

    static data::Query searchQuery(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Handlers, named control_event; run only by their controls.
    void txt_suche_gotFocus();
    void cmd_suche_clicked();
    void cmd_reset_clicked();

    QLineEdit *txt_suche;
};

} // namespace lookup
