#include "shell/StartWindow.h"
#include "ui/WindowHelpers.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kanalwerk"));
    ui::useGermanQtTexts();
    auto *splash = new shell::StartWindow;
    splash->show();
    return app.exec();
}
