#include "shell/StartWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kanalwerk"));
    auto *splash = new shell::StartWindow;
    splash->show();
    return app.exec();
}
