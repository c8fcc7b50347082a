#include "ui/Environment.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>

namespace ui {
namespace {
std::function<QDate()> &todayProvider()
{
    static std::function<QDate()> p;
    return p;
}
std::function<QSize()> &screenProvider()
{
    static std::function<QSize()> p;
    return p;
}
std::function<QString()> &programDirProvider()
{
    static std::function<QString()> p;
    return p;
}
std::function<bool()> &windowManagerProvider()
{
    static std::function<bool()> p;
    return p;
}

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
} // namespace

bool windowManagerRunning()
{
    if (windowManagerProvider())
        return windowManagerProvider()();
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return !x11 || !x11->connection() || askX11(x11->connection());
}

QDate today() { return todayProvider() ? todayProvider()() : QDate::currentDate(); }

QSize screenPixels()
{
    if (screenProvider())
        return screenProvider()();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

QString programDir() { return programDirProvider() ? programDirProvider()() : QCoreApplication::applicationDirPath(); }

void setTodayProvider(std::function<QDate()> p) { todayProvider() = std::move(p); }
void setScreenProvider(std::function<QSize()> p) { screenProvider() = std::move(p); }
void setProgramDirProvider(std::function<QString()> p) { programDirProvider() = std::move(p); }
void setWindowManagerProvider(std::function<bool()> p) { windowManagerProvider() = std::move(p); }

} // namespace ui
