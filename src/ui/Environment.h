#pragma once
#include <QDate>
#include <QSize>
#include <functional>

// Today's date, the screen size and the window manager, replaceable by tests.
namespace ui {

QDate today();
QSize screenPixels(); // size of the primary screen in pixels
// Whether a window manager looks after the top-level windows (maximizes them, draws frames).
// On X11 one that says so by the desktop's convention; on other platforms always.
bool windowManagerRunning();

void setTodayProvider(std::function<QDate()> provider);      // empty: the system clock
void setScreenProvider(std::function<QSize()> provider);     // empty: the primary screen
void setWindowManagerProvider(std::function<bool()> provider); // empty: asks the display

} // namespace ui
