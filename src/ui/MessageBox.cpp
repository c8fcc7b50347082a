#include "ui/MessageBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QPointer>
#include <QSpacerItem>

namespace ui {

int titleBarWidth(const QWidget *window, const QString &title)
{
    // Room beside a title in a window manager's title bar: its icon, three buttons, margins.
    constexpr int kTitleRoom = 160;
    QFont bold = window->font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(title) + kTitleRoom;
}

void show(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QString &title)
{
    seams::messageBox(parent, seams::MessageRecord{title, text, icon});
}

void execMessageBox(QWidget *parent, const seams::MessageRecord &message)
{
    QPointer<QWidget> before = QApplication::activeWindow();
    const auto box = messageBox(parent, message.icon, message.text, message.title);
    box->exec();
    // Without a window manager nobody hands the keyboard back to the window the box came from.
    if (before && !seams::windowManager())
        before->activateWindow();
}

std::unique_ptr<QMessageBox> messageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                        const QString &title)
{
    auto box = std::make_unique<QMessageBox>(icon, title, text, QMessageBox::Ok, parent);
    // A window manager shortens a title that has no room beside its icon and buttons
    // ("WELL… 2006" over a short message): the box is made wide enough for it in bold.
    const int width = titleBarWidth(box.get(), title);
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    return box;
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
