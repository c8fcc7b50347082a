#include "core/backup/Drives.h"

#include <QTest>

class TestDrives : public QObject {
    Q_OBJECT
private slots:
    void drives_data();
    void drives();
};

// clang-format off
void TestDrives::drives_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("drive"); // the one shown for the folder: the drive holding it deepest down
    QTest::newRow("root") << "/" << "/ (Dateisystem)";
    QTest::newRow("elsewhere") << "/usr/share" << "/ (Dateisystem)";
    QTest::newRow("inside home") << "/home/funk/Sicherung" << "Persönlicher Ordner (/home/funk)";
    QTest::newRow("beside home, same start") << "/home/funk2" << "/ (Dateisystem)";
    QTest::newRow("on the stick") << "/media/funk/STICK/Alt" << "STICK (/media/funk/STICK)";
    QTest::newRow("a mount without a label") << "/mnt/alt" << "/mnt";
    QTest::newRow("a blank label") << "/run/media/funk/DISK" << "/run/media/funk/DISK";
}
// clang-format on

// The root and the home folder first, then the removable mounts by path, each once.
void TestDrives::drives()
{
    QFETCH(QString, folder);
    QFETCH(QString, drive);
    const QList<backup::Drive> drives = backup::drives({{"/run/media/funk/DISK", " "},
                                                        {"/boot", "BOOT"},
                                                        {"/media/funk/STICK/", "STICK"},
                                                        {"/media", ""},
                                                        {"/mnt", ""},
                                                        {"/media/funk/STICK", "STICK"}},
                                                       "/home/funk");
    QStringList paths;
    for (const backup::Drive &d : drives)
        paths << d.path;
    QCOMPARE(paths, QStringList({"/", "/home/funk", "/media/funk/STICK", "/mnt", "/run/media/funk/DISK"}));
    QCOMPARE(drives.value(backup::driveOf(drives, folder)).label, drive);
}

QTEST_GUILESS_MAIN(TestDrives)
#include "tst_drives.moc"
