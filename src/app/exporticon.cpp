// Writes the drawn program icon as a PNG file, for the desktop's menu entry:
//   kw_icon <output.png> [size]
#include "shell/Artwork.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // runs in the build, without a display
    QGuiApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: kw_icon <output.png> [size]\n");
        return 2;
    }
    const int size = argc == 3 ? QByteArray(argv[2]).toInt() : 128;
    const QPixmap pixmap = shell::programIcon().pixmap(QSize(size, size));
    if (size <= 0 || pixmap.isNull() || !pixmap.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "kw_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
