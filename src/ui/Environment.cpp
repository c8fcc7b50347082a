#include "ui/Environment.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

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
} // namespace

QDate today() { return todayProvider() ? todayProvider()() : QDate::currentDate(); }

QSize screenPixels()
{
    if (screenProvider())
        return screenProvider()();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

QString programDir()
{
    return programDirProvider() ? programDirProvider()() : QCoreApplication::applicationDirPath();
}

void setTodayProvider(std::function<QDate()> p) { todayProvider() = std::move(p); }
void setScreenProvider(std::function<QSize()> p) { screenProvider() = std::move(p); }
void setProgramDirProvider(std::function<QString()> p) { programDirProvider() = std::move(p); }

} // namespace ui
