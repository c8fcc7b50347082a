#include "core/logbook/Contact.h"
#include "core/logbook/LogbookFile.h"
#include "support/CoreSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <functional>
#include <optional>
#include <sqlite3.h>
#include <unistd.h>

using testsupport::callsIn;
using testsupport::fileBytes;
using testsupport::numbered;
using testsupport::writeFile;
using testsupport::writeLogbook;

namespace {

const QString kLogbook = QStringLiteral("Frequenzen1.quorvel");

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
    sql::Database db;
    QCOMPARE(db.open(scratch, sql::Database::Access::ReadWrite), SQLITE_OK);
    const QString inserts = testsupport::insertCalls(wal ? extraCalls : numbered("HALB", 300));
    const QString setup = wal ? "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;" + inserts
                              : "PRAGMA cache_size=5; BEGIN;" + inserts.mid(6).chopped(7);
    QCOMPARE(db.exec(setup), SQLITE_OK);
    const QStringList suffixes = wal ? QStringList{"", "-wal", "-shm"} : QStringList{"", "-journal"};
    for (const QString &s : suffixes) {
        QFile::remove(live + s);
        QVERIFY2(QFile::copy(scratch + s, live + s), qPrintable(s));
    }
    db.close(); // the writer ends without its commit
    for (const QString &s : QStringList{"", "-journal", "-wal", "-shm"})
        QFile::remove(scratch + s);
}

// Runs a file operation that writes target; when full, writes beyond 256 KiB fail meanwhile as on
// a full disk. Without a reason it must succeed and target then holds calls; with one it must fail
// saying so, and target stays as it was. Either way nothing is left beside target.
void expectOutcome(bool full, const std::function<logbook::FileResult()> &operation, const QString &reason,
                   const QString &target, const QStringList &calls)
{
    const QByteArray before = fileBytes(target);
    std::optional<testsupport::FileSizeLimit> limit;
    if (full)
        limit.emplace(256 * 1024);
    const logbook::FileResult result = operation();
    limit.reset();
    QVERIFY2(reason.isEmpty() ? result.ok() : result.error.contains(reason), qPrintable(result.error));
    if (reason.isEmpty())
        QCOMPARE(callsIn(target), calls);
    else
        QCOMPARE(fileBytes(target), before);
    QCOMPARE(leftovers(target), QStringList());
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
    const QByteArray liveBytes = fileBytes(live);

    expectOutcome(
        fault == "full", [&] { return logbook::backupLogbook(live, backupFile); }, reason, backupFile, calls);
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
    // Edits and deletes find a contact by its row id: a table whose id is not that row id, a view
    // in a table's place, or a trigger would let them change or delete another contact unseen.
    const QString key = "nicht der Schlüssel, über den jeder Kontakt gefunden wird";
    QTest::newRow("id INT PRIMARY KEY") << "" << "key:id INT PRIMARY KEY" << key << QStringList();
    QTest::newRow("id INTEGER without the key") << "" << "key:id INTEGER" << key << QStringList();
    QTest::newRow("id INTEGER PRIMARY KEY DESC") << "" << "key:id INTEGER PRIMARY KEY DESC" << key << QStringList();
    QTest::newRow("without row ids") << "" << "key:id INTEGER PRIMARY KEY) WITHOUT ROWID; --" << key << QStringList();
    QTest::newRow("no id") << "" << "key:" << key << QStringList();
    QTest::newRow("Kontakt a view") << "" << "sql:ALTER TABLE Kontakt RENAME TO echt; CREATE VIEW Kontakt AS SELECT * FROM echt"
                                   << "„Kontakt“ ist keine Tabelle" << QStringList();
    QTest::newRow("a trigger") << "" << "sql:CREATE TRIGGER weg AFTER INSERT ON Kontakt BEGIN DELETE FROM Kontakt "
                                        "WHERE id < new.id; END" << "eigene Trigger oder Sichten („weg“)" << QStringList();
    QTest::newRow("a view beside") << "" << "sql:CREATE VIEW alle AS SELECT skip FROM Kontakt"
                                   << "eigene Trigger oder Sichten („alle“)" << QStringList();
    QTest::newRow("unreadable") << "" << "unreadable" << "Die Berechtigung, sie zu lesen, fehlt." << QStringList();
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
    if (backup.startsWith("sql:"))
        QVERIFY(testsupport::execSql(source, backup.mid(4)));
    if (backup.startsWith("key:")) { // Kontakt made anew with another id declaration, the contacts kept
        QString create = logbook::createTableSql(logbook::Book::Local);
        create.replace("id INTEGER PRIMARY KEY", backup.mid(4));
        const QString columns = logbook::columnsOf(logbook::Book::Local).join(',');
        QVERIFY(testsupport::execSql(source, "ALTER TABLE Kontakt RENAME TO alt; " + create.replace("(, ", "(")
                                                 + "; INSERT INTO Kontakt (" + columns + ") SELECT " + columns
                                                 + " FROM alt; DROP TABLE alt"));
    }
    if (backup == "unreadable") {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        QVERIFY(QFile::setPermissions(source, {}));
    }
    const QByteArray sourceBytes = fileBytes(source);

    expectOutcome(
        backup == "full", [&] { return logbook::restoreLogbook(source, liveFile); }, reason, liveFile, saved);
    const QString keptFile = folder.path(logbook::kReplacedLogbookName);
    QCOMPARE(QFileInfo::exists(keptFile), !kept.isEmpty());
    if (!kept.isEmpty())
        QCOMPARE(callsIn(keptFile), kept);
    QCOMPARE(fileBytes(source), sourceBytes);
}

QTEST_GUILESS_MAIN(TestLogbookFile)
#include "tst_logbook_file.moc"
