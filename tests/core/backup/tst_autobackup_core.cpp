// The automatic copies of the logbook without any window: the history rule over folder names,
// the copy at program end with its check, and what a killed run leaves behind.
#include "core/backup/AutoBackup.h"
#include "core/backup/Copies.h"
#include "core/backup/History.h"
#include "core/logbook/LogbookFile.h"
#include "support/CoreSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

using backup::AutoBackupOutcome;
using Status = AutoBackupOutcome::Status;
using testsupport::callsIn;
using testsupport::execSql;
using testsupport::fileBytes;
using testsupport::insertCalls;
using testsupport::numbered;
using testsupport::sqlColumn;
using testsupport::writeFile;
using testsupport::writeLogbook;

namespace {

const QString kLogbook = QStringLiteral("Frequenzen1.quorvel");
const QDateTime kNow(QDate(2026, 12, 7), QTime(10, 0, 0)); // a Monday

// Every entry of the copies' folder, hidden ones too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A copy's folder as a run of this program leaves it, with a report that matches no logbook.
void fakeCopy(const QString &copies, const QString &name)
{
    const QString folder = copies + "/" + name;
    writeLogbook(folder + "/" + kLogbook, {"ALT"});
    writeFile(folder + "/Sicherung.txt", "Kontakte LOCAL: 1\nKontakte DX: 0\nKennung: alt-" + name.toUtf8() + "\n");
}

QString stamp(const QDateTime &t) { return backup::copyFolderName(t); }

// Names of copies made at `time` on each of `days` days going back from `from`.
QStringList daily(const QDate &from, int days, const QTime &time = QTime(9, 0))
{
    QStringList names;
    for (int i = 0; i < days; ++i)
        names << stamp(QDateTime(from.addDays(-i), time));
    return names;
}

// Names of n copies made in the first seconds of a day.
QStringList firstSeconds(const QDate &day, int n)
{
    QStringList names;
    for (int i = 1; i <= n; ++i)
        names << stamp(QDateTime(day, QTime(0, 0, i)));
    return names;
}

} // namespace

class TestAutoBackupCore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_dir.reset(); }

    void folderNames_data();
    void folderNames();
    void history_data();
    void history();

    void copyOnlyWhenChanged_data();
    void copyOnlyWhenChanged();
    void noLogbookNoCopy();
    void failedCopyRemovedAndTold_data();
    void failedCopyRemovedAndTold();
    void wrongCountFailsTheCheck();
    void tooLittleSpace();
    void leftoversOfKilledRuns();
    void historyAppliedAtEnd_data();
    void historyAppliedAtEnd();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString copies() const { return path("Sicherungen"); }
    AutoBackupOutcome run(const QDateTime &now, qint64 floor = backup::kFreeSpaceFloor)
    {
        return backup::makeAutomaticBackup({m_dir->path(), now, floor});
    }
    std::optional<QTemporaryDir> m_dir;
};

void TestAutoBackupCore::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
}

// clang-format off
void TestAutoBackupCore::folderNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isCopy");
    QTest::newRow("the program's form")  << "2026-12-07 18-30-05" << true;
    QTest::newRow("leap day")            << "2028-02-29 00-00-00" << true;
    QTest::newRow("no leap day")         << "2026-02-29 10-00-00" << false;
    QTest::newRow("colons")              << "2026-12-07 18:30:05" << false;
    QTest::newRow("one digit")           << "2026-12-07 18-30-5"  << false;
    QTest::newRow("blank in front")      << " 2026-12-07 18-30-05" << false;
    QTest::newRow("hour 24")             << "2026-12-07 24-00-00" << false;
    QTest::newRow("a second copy")       << "2026-12-07 18-30-05 (2)" << false;
    QTest::newRow("being made")          << ".neu-4711-2026-12-07 18-30-05" << false;
    QTest::newRow("being removed")       << ".alt-4711-2026-12-07 18-30-05" << false;
    QTest::newRow("a user's folder")     << "Sicherung vom Dezember" << false;
}
// clang-format on

void TestAutoBackupCore::folderNames()
{
    QFETCH(QString, name);
    QFETCH(bool, isCopy);
    const QDateTime time = backup::copyFolderTime(name);
    QCOMPARE(time.isValid(), isCopy);
    if (isCopy)
        QCOMPARE(backup::copyFolderName(time), name);
}

void TestAutoBackupCore::history_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("newest");
    QTest::addColumn<int>("weeks");
    QTest::addColumn<QStringList>("expired"); // oldest first
    const QDate today = kNow.date();
    const QStringList tenToday = firstSeconds(today, 10);
    QTest::newRow("fewer than ten") << daily(today, 3) << 10 << 8 << QStringList();
    QTest::newRow("ten today: of the days before only last week's newest stays")
        << tenToday + daily(today.addDays(-1), 2, QTime(23, 0)) << 10 << 8 << QStringList{"2026-12-05 23-00-00"};
    QTest::newRow("twelve today: the two oldest go")
        << firstSeconds(today, 12) << 10 << 8 << QStringList{"2026-12-07 00-00-01", "2026-12-07 00-00-02"};
    // Daily for 30 days: the last ten, then the newest of each older week back to 2 November.
    QStringList thirty = daily(today, 30);
    QStringList thinned;
    for (const QString &n : daily(QDate(2026, 11, 27), 5) + daily(QDate(2026, 11, 21), 6) + daily({2026, 11, 14}, 6))
        thinned.prepend(n);
    std::sort(thinned.begin(), thinned.end());
    QTest::newRow("daily for thirty days") << thirty << 10 << 8 << thinned;
    // One on each Wednesday for eleven weeks: the eight weeks up to this one stay.
    QStringList wednesdays = tenToday;
    for (int w = 1; w <= 11; ++w)
        wednesdays << stamp(QDateTime(QDate(2026, 12, 2).addDays(-7 * (w - 1)), QTime(20, 0)));
    QTest::newRow("weekly beyond eight weeks")
        << wednesdays << 10 << 8
        << QStringList{"2026-09-23 20-00-00", "2026-09-30 20-00-00", "2026-10-07 20-00-00", "2026-10-14 20-00-00"};
    QTest::newRow("of an older week its newest stays")
        << tenToday + QStringList{"2026-11-16 08-00-00", "2026-11-18 12-00-00", "2026-11-22 23-59-59"} << 10 << 8
        << QStringList{"2026-11-16 08-00-00", "2026-11-18 12-00-00"};
    QTest::newRow("a week starts on Monday at midnight")
        << tenToday + QStringList{"2026-11-22 23-59-59", "2026-11-23 00-00-00"} << 10 << 8 << QStringList();
    QTest::newRow("other names are never touched")
        << tenToday
               + QStringList{"2026-10-01 10-00-00", "Sicherung alt", "2026-13-01 00-00-00", "2026-12-07 9-00-00",
                             ".neu-1-2020-01-01 00-00-00"}
        << 10 << 8 << QStringList{"2026-10-01 10-00-00"};
    QTest::newRow("dated after now (clock set back): the newest by date stay")
        << daily(QDate(2027, 3, 1), 11) << 10 << 8 << QStringList{"2027-02-19 09-00-00"};
    QTest::newRow("the newest stays whatever the rule")
        << daily(today, 3) << 0 << 0 << QStringList{"2026-12-05 09-00-00", "2026-12-06 09-00-00"};
    QTest::newRow("none") << QStringList() << 10 << 8 << QStringList();
}

void TestAutoBackupCore::history()
{
    QFETCH(QStringList, names);
    QFETCH(int, newest);
    QFETCH(int, weeks);
    QFETCH(QStringList, expired);
    QCOMPARE(backup::expiredCopies(names, kNow, {newest, weeks}), expired);
}

// clang-format off
void TestAutoBackupCore::copyOnlyWhenChanged_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("copied");
    QTest::newRow("nothing")                              << "" << false;
    QTest::newRow("opened and read by a logbook window")  << "read" << false;
    QTest::newRow("contact added")                        << "add" << true;
    QTest::newRow("contact deleted")                      << "delete" << true;
    QTest::newRow("one letter changed, same size")        << "letter" << true;
    QTest::newRow("changed, modification time set back")  << "backdated" << true;
    QTest::newRow("DX contact added")                     << "dx" << true;
    QTest::newRow("replaced by a restore")                << "restore" << true;
}
// clang-format on

void TestAutoBackupCore::copyOnlyWhenChanged()
{
    QFETCH(QString, change);
    QFETCH(bool, copied);
    const QString live = path(kLogbook);
    const QStringList calls{"DL1ABC", "DO2XYZ", "DK3QRP"};
    writeLogbook(live, calls);
    const AutoBackupOutcome first = run(kNow);
    QCOMPARE(first.status, Status::Made);
    QCOMPARE(first.folder, copies() + "/2026-12-07 10-00-00");
    QCOMPARE(first.message, QString());
    QCOMPARE(callsIn(first.folder + "/" + kLogbook), calls);

    struct stat before {};
    QCOMPARE(::stat(QFile::encodeName(live).constData(), &before), 0);
    if (change == "read") // as a logbook window opens it: for writing, durable, then reads
        QVERIFY(execSql(live, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; SELECT * FROM Kontakt"));
    if (change == "add")
        QVERIFY(execSql(live, insertCalls({"DF4NEU"})));
    if (change == "delete")
        QVERIFY(execSql(live, "DELETE FROM Kontakt WHERE callsign = 'DO2XYZ'"));
    if (change == "letter" || change == "backdated")
        QVERIFY(execSql(live, "UPDATE Kontakt SET callsign = 'DL1ABD' WHERE callsign = 'DL1ABC'"));
    if (change == "backdated") {
        const timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(live).constData(), times, 0), 0);
    }
    if (change == "dx")
        QVERIFY(execSql(live, insertCalls({"JA1DX"}, "Kontakt_dx")));
    if (change == "restore") {
        writeLogbook(path("Stick/" + kLogbook), calls);
        QVERIFY(logbook::restoreLogbook(path("Stick/" + kLogbook), live).ok());
    }
    const QByteArray liveBytes = fileBytes(live);

    const AutoBackupOutcome second = run(kNow.addSecs(60));
    QCOMPARE(second.status, copied ? Status::Made : Status::Unchanged);
    QCOMPARE(second.message, QString());
    QCOMPARE(fileBytes(live), liveBytes);
    const QStringList expected =
        copied ? QStringList{"2026-12-07 10-00-00", "2026-12-07 10-01-00"} : QStringList{"2026-12-07 10-00-00"};
    QCOMPARE(entries(copies()), expected);
    const QString newest = copies() + "/" + expected.last() + "/" + kLogbook;
    QCOMPARE(callsIn(newest), callsIn(live));
    QCOMPARE(sqlColumn(newest, "SELECT callsign FROM Kontakt_dx"), sqlColumn(live, "SELECT callsign FROM Kontakt_dx"));
    QCOMPARE(run(kNow.addSecs(120)).status, Status::Unchanged); // and then no more
}

void TestAutoBackupCore::noLogbookNoCopy()
{
    const AutoBackupOutcome outcome = run(kNow);
    QCOMPARE(outcome.status, Status::NoLogbook);
    QCOMPARE(outcome.message, QString());
    QVERIFY(!QFileInfo::exists(copies()));
}

// clang-format off
void TestAutoBackupCore::failedCopyRemovedAndTold_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("index of the logbook damaged") << "index" << "Die Kopie hat die Prüfung nicht bestanden. Die Prüfung der Datenbank meldet Fehler";
    QTest::newRow("disk full")                    << "full" << "nicht genug Platz";
    QTest::newRow("Sicherungen is a file")        << "file" << "Sicherungen ist kein Ordner.";
    QTest::newRow("logbook no database")          << "text" << "kann nicht gelesen werden";
    QTest::newRow("name taken by a user's folder") << "taken" << "Es gibt schon eine Sicherung";
}
// clang-format on

void TestAutoBackupCore::failedCopyRemovedAndTold()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    const QString live = path(kLogbook);
    writeLogbook(live, numbered("DL", 3000));
    QCOMPARE(run(kNow.addDays(-1)).status, Status::Made);
    QVERIFY(execSql(live, insertCalls({"DF4NEU"})));
    if (fault == "index") {
        // The indexes no longer match their table: SQLite still reads and counts, the check fails.
        QVERIFY(execSql(live, "PRAGMA writable_schema=ON; UPDATE sqlite_master SET sql = "
                              "'CREATE INDEX \"' || name || '\" ON \"Kontakt\" (callsign)' "
                              "WHERE type = 'index' AND tbl_name = 'Kontakt'"));
    }
    if (fault == "file") {
        QVERIFY(QDir(copies()).removeRecursively());
        writeFile(copies(), {});
    }
    if (fault == "text")
        writeFile(live, "Skip;Vorname;QTH\n");
    if (fault == "taken")
        QVERIFY(QDir(copies()).mkpath("2026-12-07 10-00-00/Eigenes"));
    const QStringList before = entries(copies());
    const QByteArray liveBytes = fileBytes(live);

    AutoBackupOutcome outcome;
    {
        std::optional<testsupport::FileSizeLimit> limit;
        if (fault == "full")
            limit.emplace(64 * 1024);
        outcome = run(kNow);
    }
    QCOMPARE(outcome.status, Status::Failed);
    QVERIFY2(outcome.message.startsWith("Die automatische Sicherung des Logbuchs beim Beenden ist fehlgeschlagen.\n\n"),
             qPrintable(outcome.message));
    QVERIFY2(outcome.message.contains(reason), qPrintable(outcome.message));
    QVERIFY2(outcome.message.endsWith("Das Logbuch selbst ist unverändert; die früheren Sicherungen in " + copies()
                                      + " bleiben erhalten. Beim nächsten Beenden wird die Sicherung wieder versucht."),
             qPrintable(outcome.message));
    QCOMPARE(outcome.message.contains("Die unvollständige Kopie wurde entfernt."), fault != "text" && fault != "file");
    QCOMPARE(entries(copies()), before); // nothing half made stays, nothing earlier goes
    QCOMPARE(fileBytes(live), liveBytes);
    if (fault == "taken")
        QCOMPARE(entries(copies() + "/2026-12-07 10-00-00"), QStringList{"Eigenes"});
}

void TestAutoBackupCore::wrongCountFailsTheCheck()
{
    const QString copy = path("Kopie/" + kLogbook);
    writeLogbook(copy, {"DL1ABC", "DO2XYZ"});
    QCOMPARE(backup::copyProblem(copy, {2, 0}), QString());
    QCOMPARE(backup::copyProblem(copy, {3, 0}),
             QStringLiteral("Sie enthält 2 Kontakte im LOCAL- und 0 im DX-Logbuch, das Logbuch 3 und 0."));
    QCOMPARE(backup::copyProblem(copy, {2, 1}),
             QStringLiteral("Sie enthält 2 Kontakte im LOCAL- und 0 im DX-Logbuch, das Logbuch 2 und 1."));
    QVERIFY(!backup::copyProblem(path("Kopie/fehlt.quorvel"), {0, 0}).isEmpty());
}

void TestAutoBackupCore::tooLittleSpace()
{
    const QString live = path(kLogbook);
    writeLogbook(live, {"DL1ABC"});
    QCOMPARE(run(kNow.addDays(-1)).status, Status::Made);
    QVERIFY(execSql(live, insertCalls({"DF4NEU"})));
    const QStringList before = entries(copies());
    const AutoBackupOutcome outcome = run(kNow, std::numeric_limits<qint64>::max() / 4);
    QCOMPARE(outcome.status, Status::NoSpace);
    QVERIFY2(outcome.message.startsWith("Die automatische Sicherung des Logbuchs beim Beenden wurde übersprungen: "
                                        "Auf dem Datenträger von "
                                        + copies() + " sind nur "),
             qPrintable(outcome.message));
    QVERIFY2(outcome.message.contains(" MB frei. Nach der Kopie (1 MB) blieben weniger als die "),
             qPrintable(outcome.message));
    QCOMPARE(entries(copies()), before);
    // With the default floor there is room here: the next end makes the copy.
    QCOMPARE(run(kNow.addSecs(1)).status, Status::Made);
}

void TestAutoBackupCore::leftoversOfKilledRuns()
{
    const QString live = path(kLogbook);
    writeLogbook(live, {"DL1ABC"});
    const QString gone = "999999999"; // above any process number the system hands out
    // Killed just before the rename: a complete copy with its report, under the temporary name.
    QVERIFY(QDir().mkpath(copies()));
    fakeCopy(copies(), ".neu-" + gone + "-2026-12-06 10-00-00");
    QVERIFY(QDir(copies()).mkpath(".alt-" + gone + "-2026-11-01 10-00-00/halb"));
    QVERIFY(QDir(copies()).mkpath(".neu-1-2026-12-06 11-00-00")); // a run still going on (process 1)
    writeLogbook(copies() + "/2026-12-05 10-00-00/" + kLogbook, {"OHNE BERICHT"});
    QVERIFY(QDir(copies()).mkpath("2026-12-04 10-00-00"));
    writeFile(copies() + "/2026-12-04 10-00-00/Sicherung.txt", "Kontakte LOCAL: 1\nKontakte DX: 0\n");
    QVERIFY(QDir(copies()).mkpath("Eigene Notizen"));
    QCOMPARE(backup::countedCopies(copies()), QStringList());

    const AutoBackupOutcome outcome = run(kNow);
    QCOMPARE(outcome.status, Status::Made); // none of them counted as a copy of this logbook
    QCOMPARE(entries(copies()), QStringList({".neu-1-2026-12-06 11-00-00", "2026-12-04 10-00-00", "2026-12-05 10-00-00",
                                             "2026-12-07 10-00-00", "Eigene Notizen"}));
    QCOMPARE(backup::countedCopies(copies()), QStringList{"2026-12-07 10-00-00"});
    QCOMPARE(entries(copies() + "/2026-12-07 10-00-00"), QStringList({kLogbook, "Sicherung.txt"}));
}

void TestAutoBackupCore::historyAppliedAtEnd_data()
{
    QTest::addColumn<QStringList>("earlier"); // copies of earlier ends
    QTest::addColumn<QDateTime>("madeAt");    // when the logbook as it is was copied; invalid: never
    QTest::addColumn<QStringList>("removed"); // at the end at kNow
    const QStringList tenToday = firstSeconds(kNow.date(), 10);
    QTest::newRow("a new copy pushes the oldest out") << tenToday << QDateTime() << QStringList{tenToday[0]};
    QTest::newRow("ten or fewer: none go") << tenToday.mid(2) << QDateTime() << QStringList();
    // Copied a week ago and unchanged since: the copy from mid-October has grown too old now.
    QTest::newRow("unchanged: a copy grown too old goes")
        << firstSeconds(QDate(2026, 11, 30), 9) + QStringList{"2026-10-14 12-00-00", "2026-10-21 12-00-00"}
        << QDateTime(QDate(2026, 11, 30), QTime(10, 0)) << QStringList{"2026-10-14 12-00-00"};
}

void TestAutoBackupCore::historyAppliedAtEnd()
{
    QFETCH(QStringList, earlier);
    QFETCH(QDateTime, madeAt);
    QFETCH(QStringList, removed);
    writeLogbook(path(kLogbook), {"DL1ABC"});
    QVERIFY(QDir().mkpath(copies()));
    for (const QString &name : earlier)
        fakeCopy(copies(), name);
    if (madeAt.isValid()) {
        const AutoBackupOutcome made = run(madeAt);
        QCOMPARE(made.status, Status::Made);
        QCOMPARE(made.removed, QStringList());
    }
    const QStringList before = entries(copies());

    const AutoBackupOutcome outcome = run(kNow);
    QCOMPARE(outcome.status, madeAt.isValid() ? Status::Unchanged : Status::Made);
    QCOMPARE(outcome.removed, removed);
    QStringList left = before;
    if (!madeAt.isValid())
        left << "2026-12-07 10-00-00";
    for (const QString &r : removed)
        left.removeAll(r);
    std::sort(left.begin(), left.end());
    QCOMPARE(entries(copies()), left);
}

QTEST_GUILESS_MAIN(TestAutoBackupCore)
#include "tst_autobackup_core.moc"
