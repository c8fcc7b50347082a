#pragma once
#include "ui/Seams.h"

#include <QMessageBox>
#include <QString>
#include <memory>

class QWidget;

namespace ui {

// The application title every message box carries unless it is given one.
inline const QString kAppTitle = QStringLiteral("WELLENKLADDE 2006");

// Modal box, OK only, through seams::messageBox (tests record the box instead of showing it).
void critical(QWidget *parent, const QString &text, const QString &title = kAppTitle);
void plain(QWidget *parent, const QString &text, const QString &title = kAppTitle);
void show(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QString &title = kAppTitle);

// How wide a small window must be for the window manager to write out its title (in bold, beside
// the title bar's icon and buttons).
int titleBarWidth(const QWidget *window, const QString &title);

// The box the real seam runs, wide enough that the window manager can write out its title.
std::unique_ptr<QMessageBox> messageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                        const QString &title = kAppTitle);
// Shows the box and waits until the user has closed it: the real function behind seams::messageBox.
void execMessageBox(QWidget *parent, const seams::MessageRecord &message);

} // namespace ui
