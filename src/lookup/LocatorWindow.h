#pragma once
#include "lookup/LookupWindow.h"

namespace lookup {

// frm_locator: Maidenhead locators and the towns they cover, searched by part of either.
class LocatorWindow : public LookupWindow {
    Q_OBJECT
public:
    explicit LocatorWindow(QWidget *parent = nullptr);

    static data::Query locatorQuery(const QString &text);
    static data::Query townQuery(const QString &text);

private:
    // Handlers, named control_event; run only by their controls.
    void Form_load();
    void cmd_locator_clicked();
    void cmd_Stadt_clicked();
    void cmd_reset_clicked();

    QLineEdit *txt_locator;
    QLineEdit *txt_stadt;
};

} // namespace lookup
