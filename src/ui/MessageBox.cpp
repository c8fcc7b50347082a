#include "ui/MessageBox.h"

namespace ui {
namespace {
MessageObserver &observer()
{
    static MessageObserver instance;
    return instance;
}
} // namespace

void setMessageObserver(MessageObserver o) { observer() = std::move(o); }

void show(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QString &title)
{
    if (observer()) {
        observer()(MessageRecord{title, text, icon});
        return;
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void critical(QWidget *parent, const QString &text, const QString &title)
{
    show(parent, QMessageBox::Critical, text, title);
}

void plain(QWidget *parent, const QString &text, const QString &title)
{
    show(parent, QMessageBox::NoIcon, text, title);
}

} // namespace ui
