#include "core/backup/Drives.h"

#include <QTest>

namespace {
// The root and the home folder first, then the removable mounts by path, each once; a blank
// name is no label.
const QList<backup::Drive> kDrives = backup::drives({{"/run/media/funk/DISK", " "},
                                                     {"/boot", "BOOT"},
                                                     {"/media/funk/STICK/", "STICK"},
                                                     {"/media", ""},
                                                     {"/mnt", ""},
                                                     {"/media/funk/STICK", "STICK"}},
                                                    "/home/funk");
} // namespace

class TestDrives : public QObject {
    Q_OBJECT
private slots:
    void drives();
    void driveOf_data();
    void driveOf();
};

void TestDrives::drives()
{
    QStringList labels;
    for (const backup::Drive &d : kDrives)
        labels << d.label + " = " + d.path;
    QCOMPARE(labels, QStringList({"/ (Dateisystem) = /", "Persönlicher Ordner (/home/funk) = /home/funk",
                                  "STICK (/media/funk/STICK) = /media/funk/STICK", "/mnt = /mnt",
                                  "/run/media/funk/DISK = /run/media/funk/DISK"}));
    QCOMPARE(backup::drives({}, "/").size(), 1); // the home folder is the root: listed once
}

// clang-format off
void TestDrives::driveOf_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("drive");
    QTest::newRow("root") << "/" << 0;
    QTest::newRow("elsewhere") << "/usr/share" << 0;
    QTest::newRow("home") << "/home/funk" << 1;
    QTest::newRow("inside home") << "/home/funk/Sicherung" << 1;
    QTest::newRow("beside home, same start") << "/home/funk2" << 0;
    QTest::newRow("on the stick") << "/media/funk/STICK/Alt" << 2;
    QTest::newRow("on the external disk") << "/run/media/funk/DISK/a/b" << 4;
}
// clang-format on

// The drive shown for a folder: the one holding it deepest down.
void TestDrives::driveOf()
{
    QFETCH(QString, folder);
    QFETCH(int, drive);
    QCOMPARE(backup::driveOf(kDrives, folder), drive);
}

QTEST_GUILESS_MAIN(TestDrives)
#include "tst_drives.moc"
