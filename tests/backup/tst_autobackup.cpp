// The automatic copy as the user meets it: ending the program through the main window, and
// bringing a copy back through the restore window.
#include "backup/FolderLists.h"
#include "core/logbook/LogbookFile.h"
#include "shell/MainWindow.h"
#include "support/WindowDriver.h"
#include "ui/Seams.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

using testsupport::callsIn;
using testsupport::Fixture;
using testsupport::Window;

namespace {

const QString kLogbook = QStringLiteral("Frequenzen1.quorvel");
const QString kFailed = QStringLiteral("Die automatische Sicherung des Logbuchs beim Beenden ist fehlgeschlagen.");

// Contacts added to a logbook file outside the program.
void add(const QString &file, const QStringList &calls)
{
    QVERIFY(testsupport::execSql(file, testsupport::insertCalls(calls)));
}

// The program started and ended by the user; false when it stayed open.
bool startAndEnd(shell::MainWindow *main)
{
    main->show();
    return main->close();
}

// The folders in Sicherungen as the restore window's folder list shows them.
QStringList copyFolders(const Fixture &fx)
{
    return QDir(fx.path("Sicherungen")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// A child window that will not close, as one holding a contact that cannot be saved.
class RefuseClose : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

class TestAutoBackup : public QObject {
    Q_OBJECT
private slots:
    void endingCopiesAChangedLogbook();
    void noCopyWhenTheProgramStaysOpen();
    void failureToldOnceAndTheProgramEnds_data();
    void failureToldOnceAndTheProgramEnds();
    void restoreWindowOpensAmongTheCopies();
    void restoreFromACopy();
};

void TestAutoBackup::endingCopiesAChangedLogbook()
{
    Fixture fx;
    QDateTime clock(QDate(2026, 12, 7), QTime(18, 30, 5));
    Qt::CursorShape cursorWhileCopying = Qt::ArrowCursor;
    fx.replace(seams::now, [&] {
        if (const QCursor *c = QGuiApplication::overrideCursor())
            cursorWhileCopying = c->shape();
        return clock;
    });
    add(fx.path(kLogbook), {"DL1ABC", "DO2XYZ"});
    shell::MainWindow *main = fx.mainWindow();
    QVERIFY(startAndEnd(main));
    QVERIFY(!main->isVisible());
    QCOMPARE(fx.messages.size(), 0);
    QCOMPARE(cursorWhileCopying, Qt::WaitCursor);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(copyFolders(fx), QStringList{"2026-12-07 18-30-05"});
    QCOMPARE(callsIn(fx.path("Sicherungen/2026-12-07 18-30-05/" + kLogbook)), QStringList({"DL1ABC", "DO2XYZ"}));

    // Started and ended again without a change: no second copy.
    clock = clock.addDays(1);
    QVERIFY(startAndEnd(main));
    QCOMPARE(copyFolders(fx), QStringList{"2026-12-07 18-30-05"});

    // A contact added: the next end copies again.
    add(fx.path(kLogbook), {"DK3NEU"});
    clock = clock.addDays(1);
    QVERIFY(startAndEnd(main));
    QCOMPARE(copyFolders(fx), QStringList({"2026-12-07 18-30-05", "2026-12-09 18-30-05"}));
    QCOMPARE(callsIn(fx.path("Sicherungen/2026-12-09 18-30-05/" + kLogbook)),
             QStringList({"DL1ABC", "DO2XYZ", "DK3NEU"}));
    QCOMPARE(fx.messages.size(), 0);
}

void TestAutoBackup::noCopyWhenTheProgramStaysOpen()
{
    Fixture fx;
    add(fx.path(kLogbook), {"DL1ABC"});
    shell::MainWindow *main = fx.mainWindow();
    main->show();
    QWidget *calculator = fx.open("frm_welle");
    QMdiSubWindow *frame = main->area()->subWindowList().value(0);
    QVERIFY(frame && frame->widget() == calculator);
    RefuseClose refuse;
    frame->installEventFilter(&refuse);
    QVERIFY(!main->close());
    QVERIFY(main->isVisible());
    QVERIFY(!QFileInfo::exists(fx.path("Sicherungen")));
    frame->removeEventFilter(&refuse);
}

// clang-format off
void TestAutoBackup::failureToldOnceAndTheProgramEnds_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("logbook damaged") << "text" << "kann nicht gelesen werden";
    QTest::newRow("Sicherungen is a file") << "file" << "ist kein Ordner";
}
// clang-format on

void TestAutoBackup::failureToldOnceAndTheProgramEnds()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    Fixture fx;
    testsupport::writeFile(fx.path(fault == "text" ? kLogbook : QStringLiteral("Sicherungen")),
                           fault == "text" ? "Skip;Vorname;QTH\n" : "");
    shell::MainWindow *main = fx.mainWindow();
    QVERIFY(startAndEnd(main));
    QVERIFY(!main->isVisible());
    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(fx.messages[0].title, QStringLiteral("WELLENKLADDE 2006"));
    QVERIFY2(fx.messages[0].text.startsWith(kFailed), qPrintable(fx.messages[0].text));
    QVERIFY2(fx.messages[0].text.contains(reason), qPrintable(fx.messages[0].text));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestAutoBackup::restoreWindowOpensAmongTheCopies()
{
    Fixture fx;
    QVERIFY(QDir(fx.dir()).mkpath("Sicherungen/2026-12-07 18-30-05"));
    auto *restore = Window{fx.open("frm_wiederherstellen")}.get<backup::FolderList>("Dir1");
    QCOMPARE(restore->path(), fx.path("Sicherungen"));
    QCOMPARE(restore->currentItem()->text(), QStringLiteral("Sicherungen"));
    fx.close("frm_wiederherstellen");
    // The backup window stays where it always opened.
    QCOMPARE(Window{fx.open("frm_datensicherung")}.get<backup::FolderList>("Dir1")->path(), QDir::currentPath());
}

void TestAutoBackup::restoreFromACopy()
{
    // LÖSCHEN deletes without asking; the copy of the last end brings the contact back.
    Fixture fx;
    fx.replace(seams::now, [] { return QDateTime(QDate(2026, 12, 7), QTime(18, 30, 5)); });
    add(fx.path(kLogbook), {"DL1ABC", "DO2XYZ", "DK3QRP"});
    shell::MainWindow *main = fx.mainWindow();
    QVERIFY(main->close());
    QVERIFY(testsupport::execSql(fx.path(kLogbook), "DELETE FROM Kontakt WHERE callsign = 'DO2XYZ'"));

    main->trigger("rescue");
    const Window w{main->area()->activeSubWindow()->widget()};
    auto *dir = w.get<backup::FolderList>("Dir1");
    QCOMPARE(dir->path(), fx.path("Sicherungen"));
    QListWidgetItem *copy = dir->findItems("2026-12-07 18-30-05", Qt::MatchExactly).value(0);
    QVERIFY(copy);
    emit dir->itemActivated(copy);
    const QString folder = fx.path("Sicherungen/2026-12-07 18-30-05");
    QTRY_COMPARE(dir->path(), folder);
    QCOMPARE(w.get<QListWidget>("File1")->item(0)->text(), kLogbook);
    w.click("cmd_datenherstellen");

    QCOMPARE(fx.messageTexts(), QStringList{"Daten wurden erfolgreich von " + folder + " wiederhergestellt"});
    QCOMPARE(callsIn(fx.path(kLogbook)), QStringList({"DL1ABC", "DO2XYZ", "DK3QRP"}));
    QCOMPARE(callsIn(fx.path(logbook::kReplacedLogbookName)), QStringList({"DL1ABC", "DK3QRP"}));
    QCOMPARE(callsIn(folder + "/" + kLogbook), QStringList({"DL1ABC", "DO2XYZ", "DK3QRP"}));
    // The restored logbook is a new state: the next end copies it.
    fx.replace(seams::now, [] { return QDateTime(QDate(2026, 12, 7), QTime(18, 45, 0)); });
    QVERIFY(main->close());
    QCOMPARE(copyFolders(fx), QStringList({"2026-12-07 18-30-05", "2026-12-07 18-45-00"}));
}

QTEST_MAIN(TestAutoBackup)
#include "tst_autobackup.moc"
