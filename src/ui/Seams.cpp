#include "ui/Seams.h"

#include "core/backup/Drives.h"
#include "ui/MessageBox.h"
#include "ui/Progress.h"
#include "ui/SystemPrinter.h"
#include "ui/SystemVoice.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>

namespace seams {
namespace {

// The window a property of `window` names, or 0 (XCB_WINDOW_NONE) when there is none.
xcb_window_t windowProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    xcb_window_t result = XCB_WINDOW_NONE;
    const auto cookie = xcb_get_property(c, 0, window, property, XCB_ATOM_WINDOW, 0, 1);
    if (xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr)) {
        if (reply->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(reply) == sizeof(xcb_window_t))
            result = *static_cast<xcb_window_t *>(xcb_get_property_value(reply));
        std::free(reply);
    }
    return result;
}

// A window manager of the freedesktop convention names a window of its own on the root window,
// and that window names itself; a manager that has gone leaves no such pair behind.
bool askX11(xcb_connection_t *c)
{
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (xcb_intern_atom_reply_t *reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr)) {
        atom = reply->atom;
        std::free(reply);
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (atom == XCB_ATOM_NONE || !screen)
        return false;
    const xcb_window_t check = windowProperty(c, screen->root, atom);
    return check != XCB_WINDOW_NONE && windowProperty(c, check, atom) == check;
}
bool systemWindowManager()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return !x11 || !x11->connection() || askX11(x11->connection());
}

QSize primaryScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

std::unique_ptr<QPrinter> systemDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

} // namespace

Seam<QDate()> today{[] { return QDate::currentDate(); }};
Seam<QDateTime()> now{[] { return QDateTime::currentDateTime(); }};
Seam<QSize()> screen{primaryScreen};
Seam<QString()> programDir{[] { return QCoreApplication::applicationDirPath(); }};
Seam<bool()> windowManager{systemWindowManager};
Seam<void(QWidget *, const MessageRecord &)> messageBox{ui::execMessageBox};
Seam<speech::Voice *()> voice{[]() -> speech::Voice * { return new ui::SystemVoice; }};
Seam<QList<backup::Volume>()> volumes{backup::mountedVolumes};
Seam<std::unique_ptr<logbook::LinePrinter>(const QString &)> printer{
    [](const QString &documentName) -> std::unique_ptr<logbook::LinePrinter> {
        return std::make_unique<ui::SystemPrinter>(documentName);
    }};
Seam<std::unique_ptr<QPrinter>()> defaultPrinter{systemDefaultPrinter};
Seam<bool(const QPrinter &, const QString &, const QString &)> printQueue{ui::submitToQueue};
Seam<QString(QWidget *, const ui::FileRequest &)> fileDialog{ui::execFileDialog};
Seam<std::unique_ptr<ui::Progress>(QWidget *, const QString &)> progress{
    [](QWidget *parent, const QString &text) -> std::unique_ptr<ui::Progress> {
        return std::make_unique<ui::ProgressDialog>(parent, text);
    }};

} // namespace seams
