#pragma once
#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace ui {

// The application title every message box carries unless it is given one.
inline const QString kAppTitle = QStringLiteral("WELLENKLADDE 2006");

struct MessageRecord {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

// Modal box, OK only. With an observer installed (tests), the box is not shown:
// the observer records it and the call returns at once.
void critical(QWidget *parent, const QString &text, const QString &title = kAppTitle);
void plain(QWidget *parent, const QString &text, const QString &title = kAppTitle);
void show(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QString &title = kAppTitle);

// The box show() runs, wide enough that the window manager can write out its title.
std::unique_ptr<QMessageBox> messageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                        const QString &title = kAppTitle);

using MessageObserver = std::function<void(const MessageRecord &)>;
void setMessageObserver(MessageObserver observer); // empty function: real boxes again

} // namespace ui
