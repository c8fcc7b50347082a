#pragma once
#include <QDate>
#include <QSize>
#include <QString>
#include <functional>

// Today's date, the screen size, the program's own directory and the window manager,
// replaceable by tests.
namespace ui {

QDate today();
QSize screenPixels(); // size of the primary screen in pixels
QString programDir(); // the directory of the executable, where backup and restore find the logbook

// Whether a window manager looks after the top-level windows (maximizes them, draws frames).
// On X11 one that says so by the desktop's convention; on other platforms always.
bool windowManagerRunning();

void setTodayProvider(std::function<QDate()> provider);        // empty: the system clock
void setScreenProvider(std::function<QSize()> provider);       // empty: the primary screen
void setProgramDirProvider(std::function<QString()> provider); // empty: the executable's directory
void setWindowManagerProvider(std::function<bool()> provider); // empty: asks the display

} // namespace ui
