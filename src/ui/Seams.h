#pragma once
#include "ui/Seam.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMessageBox>
#include <QSize>
#include <QString>
#include <memory>

class QPrinter;
class QWidget;
namespace backup {
struct Volume;
}
namespace logbook {
class LinePrinter;
}
namespace speech {
class Voice;
}
namespace ui {
class Progress;
struct FileRequest;
} // namespace ui

// Every platform interface the windows use that a test replaces, in one place. Each is called
// like the function it stands for: seams::today(), seams::printer(name) ...; a test puts a
// stand-in in place for a scope with replace() (see ui/Seam.h).
namespace seams {

// One message box as the user would see it.
struct MessageRecord {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

extern Seam<QDate()> today;        // the system clock's date
extern Seam<QDateTime()> now;      // the system clock's date and time
extern Seam<QSize()> screen;       // the primary screen in pixels
extern Seam<QString()> programDir; // the executable's folder, where backup and restore find the logbook
// Whether a window manager looks after the top-level windows (maximizes them, draws frames): on
// X11 one that says so by the desktop's convention; on other platforms always.
extern Seam<bool()> windowManager;
// Shows a modal box with an OK button and returns when the user has closed it.
extern Seam<void(QWidget *parent, const MessageRecord &message)> messageBox;
// The voice of a new speech board: the system's text-to-speech service.
extern Seam<speech::Voice *()> voice;
// The file systems mounted on this machine.
extern Seam<QList<backup::Volume>()> volumes;
// The printer for one listing: the system's line printer (paints on the default printer).
extern Seam<std::unique_ptr<logbook::LinePrinter>(const QString &documentName)> printer;
// The system's default printer; null when there is none.
extern Seam<std::unique_ptr<QPrinter>()> defaultPrinter;
// Hands a finished document (the PDF file that was painted for the printer) to the printer's
// queue; false when the queue did not take it (ui/SystemPrinter.h).
extern Seam<bool(const QPrinter &printer, const QString &file, const QString &title)> printQueue;
// The system's file dialog: the chosen path, empty when the user cancels (ui/Progress.h).
extern Seam<QString(QWidget *parent, const ui::FileRequest &request)> fileDialog;
// The progress of a long piece of work, with a way to cancel it (ui/Progress.h).
extern Seam<std::unique_ptr<ui::Progress>(QWidget *parent, const QString &text)> progress;

} // namespace seams
