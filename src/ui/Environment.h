#pragma once
#include <QDate>
#include <QSize>
#include <functional>

// Today's date and the screen size, replaceable by tests.
namespace ui {

QDate today();
QSize screenPixels(); // size of the primary screen in pixels

void setTodayProvider(std::function<QDate()> provider);      // empty: the system clock
void setScreenProvider(std::function<QSize()> provider);     // empty: the primary screen

} // namespace ui
