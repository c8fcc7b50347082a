#include "core/logbook/LogbookFile.h"
#include "support/CoreSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <csignal>
#include <functional>
#include <sqlite3.h>
#include <sys/resource.h>

using testsupport::callsIn;
using testsupport::fileBytes;
using testsupport::writeFile;
using testsupport::writeLogbook;

namespace {

const QString kLogbook = QStringLiteral("Frequenzen1.quorvel");

QStringList numbered(const QString &stem, int n)
{
    QStringList calls;
    for (int i = 0; i < n; ++i)
        calls << stem + QString::number(i);
    return calls;
}

// Files SQLite or an interrupted copy could leave beside a database file.
QStringList leftovers(const QString &file)
{
    QStringList found;
    const QFileInfo info(file);
    for (const QString &name : {info.fileName() + "-journal", info.fileName() + "-wal", info.fileName() + "-shm",
                                "." + info.fileName() + ".neu", QStringLiteral(".Frequenzen1-vorher.quorvel.neu")})
        if (QFileInfo::exists(info.dir().filePath(name)))
            found << name;
    return found;
}

// The state of a logbook in the middle of a write, as a killed process leaves it: the file
// with its companions (a hot journal, or a log not yet folded in) copied while the writer runs.
void leaveInterruptedWrite(const QString &live, bool wal, const QStringList &extraCalls)
{
    const QString scratch = live + ".scratch";
    QVERIFY(QFile::copy(live, scratch));
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(scratch).constData(), &db), SQLITE_OK);
    const QString inserts = testsupport::insertCalls(wal ? extraCalls : numbered("HALB", 300));
    const QString setup = wal ? "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;" + inserts
                              : "PRAGMA cache_size=5; BEGIN;" + inserts.mid(6).chopped(7);
    QCOMPARE(sqlite3_exec(db, setup.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    const QStringList suffixes = wal ? QStringList{"", "-wal", "-shm"} : QStringList{"", "-journal"};
    for (const QString &s : suffixes) {
        QFile::remove(live + s);
        QVERIFY2(QFile::copy(scratch + s, live + s), qPrintable(s));
    }
    sqlite3_close(db);
    for (const QString &s : QStringList{"", "-journal", "-wal", "-shm"})
        QFile::remove(scratch + s);
}

// Runs a file operation; when full, writes beyond 256 KiB fail meanwhile as on a full disk.
logbook::FileResult onDisk(bool full, const std::function<logbook::FileResult()> &operation)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    if (full)
        limit.rlim_cur = 256 * 1024;
    setrlimit(RLIMIT_FSIZE, &limit);
    const logbook::FileResult result = operation();
    setrlimit(RLIMIT_FSIZE, &old);
    return result;
}

} // namespace

class TestLogbookFile : public QObject {
    Q_OBJECT
private slots:
    void joinPath();
    void backup_data();
    void backup();
    void restore_data();
    void restore();
};

// One separator between folder and file, also for the root.
void TestLogbookFile::joinPath()
{
    QCOMPARE(logbook::joinPath("/", kLogbook), QStringLiteral("/Frequenzen1.quorvel"));
    QCOMPARE(logbook::joinPath("/media/STICK", kLogbook), QStringLiteral("/media/STICK/Frequenzen1.quorvel"));
}

// clang-format off
void TestLogbookFile::backup_data()
{
    QTest::addColumn<QString>("target"); // a folder; "%1" stands for the test's folder
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason"); // empty: backed up
    QTest::newRow("new folder") << "%1/Neu" << "" << "";
    QTest::newRow("over an earlier backup and the rest of a broken run") << "%1/Stick" << "rest" << "";
    QTest::newRow("disk full") << "%1/Stick" << "full" << "nicht genug Platz";
    QTest::newRow("folder takes no file") << "/proc" << "" << "keine Dateien angelegt";
    QTest::newRow("name taken by a folder") << "%1/Stick" << "folder" << "Ordner gleichen Namens";
    QTest::newRow("logbook missing") << "%1/Stick" << "nolog" << "wurde nicht gefunden";
}
// clang-format on

// A consistent copy, or told why not, and the earlier backup under that name stays as it was.
void TestLogbookFile::backup()
{
    QFETCH(QString, target);
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    const testsupport::DataFolder folder;
    target.replace("%1", folder.dir());
    const QString live = folder.path(kLogbook), backupFile = logbook::joinPath(target, kLogbook);
    const QStringList calls = numbered("DL", 3000);
    writeLogbook(live, calls);
    QDir().mkpath(folder.path("Neu"));
    if (target.endsWith("Stick"))
        writeLogbook(backupFile, {"ALT"});
    if (fault == "rest")
        writeFile(folder.path("Stick/.Frequenzen1.quorvel.neu"), "Rest eines abgebrochenen Laufs");
    if (fault == "folder") {
        QFile::remove(backupFile);
        QVERIFY(QDir().mkpath(backupFile + "/inhalt"));
    }
    if (fault == "nolog")
        QVERIFY(QFile::remove(live));
    const QByteArray liveBytes = fileBytes(live), before = fileBytes(backupFile);

    const auto result = onDisk(fault == "full", [&] { return logbook::backupLogbook(live, backupFile); });
    QVERIFY2(reason.isEmpty() ? result.ok() : result.error.contains(reason), qPrintable(result.error));
    if (reason.isEmpty())
        QCOMPARE(callsIn(backupFile), calls);
    else
        QCOMPARE(fileBytes(backupFile), before);
    QCOMPARE(leftovers(backupFile), QStringList());
    QCOMPARE(fileBytes(live), liveBytes);
}

// clang-format off
void TestLogbookFile::restore_data()
{
    QTest::addColumn<QString>("live");   // the logbook replaced: closed, or as a killed write left it
    QTest::addColumn<QString>("backup"); // what stands under the backup's name
    QTest::addColumn<QString>("reason"); // empty: restored
    QTest::addColumn<QStringList>("kept"); // the replaced logbook as kept beside it; empty: none
    const QStringList old = {"ALT1", "ALT2"};
    QTest::newRow("closed logbook") << "" << "" << "" << old;
    QTest::newRow("hot journal of a killed write") << "journal" << "" << "" << old;
    QTest::newRow("write-ahead log not folded in") << "wal" << "" << "" << old + QStringList{"WAL1", "WAL2"};
    QTest::newRow("no logbook yet") << "missing" << "" << "" << QStringList();
    QTest::newRow("not a database") << "" << "text" << "keine Datenbankdatei" << QStringList();
    QTest::newRow("empty file") << "" << "empty" << "die Tabelle „Kontakt“ fehlt" << QStringList();
    QTest::newRow("truncated") << "" << "truncated" << "beschädigt" << QStringList();
    QTest::newRow("reference file") << "" << "reference" << "die Tabelle „Kontakt“ fehlt" << QStringList();
    QTest::newRow("column missing") << "" << "column" << "der Tabelle „Kontakt_dx“ fehlt die Spalte „qslbekommen“"
                                    << QStringList();
    QTest::newRow("copied mid-write") << "" << "journal" << "nicht vollständig geschrieben" << QStringList();
    QTest::newRow("program folder full") << "" << "full" << "nicht genug Platz" << QStringList();
}
// clang-format on

// Restored in one rename with the replaced logbook kept; or told why not, and then the logbook
// stays as it was: no file replaced, none kept, none left over.
void TestLogbookFile::restore()
{
    QFETCH(QString, live);
    QFETCH(QString, backup);
    QFETCH(QString, reason);
    QFETCH(QStringList, kept);
    const testsupport::DataFolder folder;
    const QString liveFile = folder.path(kLogbook), source = folder.path("Stick/" + kLogbook);
    writeLogbook(liveFile, {"ALT1", "ALT2"});
    if (live == "journal" || live == "wal")
        leaveInterruptedWrite(liveFile, live == "wal", {"WAL1", "WAL2"});
    if (live == "missing")
        QVERIFY(QFile::remove(liveFile));
    const QStringList saved = numbered("GESICHERT", backup == "" ? 25 : 3000);
    writeLogbook(source, saved);
    if (backup == "text")
        writeFile(source, "Skip;Vorname;QTH\nRotfuchs;Karl;Berlin\n");
    if (backup == "empty")
        writeFile(source, "");
    if (backup == "reference")
        QVERIFY(QFile::remove(source) && QFile::copy(folder.path("Frequenzen.quorvel"), source));
    if (backup == "truncated")
        writeFile(source, fileBytes(source).left(fileBytes(source).size() * 2 / 3));
    if (backup == "journal")
        leaveInterruptedWrite(source, false, {});
    if (backup == "column")
        QVERIFY(testsupport::execSql(source, "ALTER TABLE Kontakt_dx DROP COLUMN qslbekommen"));
    const QByteArray liveBytes = fileBytes(liveFile), sourceBytes = fileBytes(source);

    const auto result = onDisk(backup == "full", [&] { return logbook::restoreLogbook(source, liveFile); });
    QVERIFY2(reason.isEmpty() ? result.ok() : result.error.contains(reason), qPrintable(result.error));
    if (reason.isEmpty())
        QCOMPARE(callsIn(liveFile), saved);
    else
        QCOMPARE(fileBytes(liveFile), liveBytes);
    QCOMPARE(leftovers(liveFile), QStringList());
    const QString keptFile = folder.path(logbook::kReplacedLogbookName);
    QCOMPARE(QFileInfo::exists(keptFile), !kept.isEmpty());
    if (!kept.isEmpty())
        QCOMPARE(callsIn(keptFile), kept);
    QCOMPARE(fileBytes(source), sourceBytes);
}

QTEST_GUILESS_MAIN(TestLogbookFile)
#include "tst_logbook_file.moc"
