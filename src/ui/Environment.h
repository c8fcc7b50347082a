#pragma once
#include <QDate>
#include <QSize>
#include <QString>
#include <functional>

// Today's date, the screen size and the program's own directory, replaceable by tests.
namespace ui {

QDate today();
QSize screenPixels(); // size of the primary screen in pixels
QString programDir();  // the directory of the executable, where backup and restore find the logbook

void setTodayProvider(std::function<QDate()> provider);      // empty: the system clock
void setScreenProvider(std::function<QSize()> provider);     // empty: the primary screen
void setProgramDirProvider(std::function<QString()> provider); // empty: the executable's directory

} // namespace ui
