// The automatic copy at program end killed at a random moment: each run makes it in a child
// process that is sent SIGKILL after a random delay between 0 and 1.2 times the length of an
// unhindered run. Before each run one contact is added, so that every end has a copy to make;
// each run is an hour later than the one before, so that the history thins the copies out too.
// After every run:
//   - the logbook is byte for byte what it was before the run, with no journal beside it;
//   - every folder in Sicherungen that is not hidden is a whole copy: named as the program names
//     them, passing the integrity check, holding the contacts its report names, a count the
//     logbook really had;
//   - after a run that was not killed no hidden leftover is left.
// At the end one unhindered end must copy the logbook as it is.
//   stress_autobackup [runs]      default: 200
#include "ChildRun.h"
#include "core/backup/AutoBackup.h"
#include "core/data/Files.h"
#include "core/sql/Sqlite.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kContacts = 20000;
const QDateTime kStart(QDate(2026, 12, 7), QTime(18, 0, 0));

// The first value of a query; -1 when the file does not open, fails the check or the query.
qint64 number(const QString &file, const char *sql, bool checked = true)
{
    sql::Database db;
    QStringList check, value;
    if (db.open(file, sql::Database::Access::ReadOnly) != SQLITE_OK
        || (checked
            && (db.column(QStringLiteral("PRAGMA integrity_check"), &check) != SQLITE_OK
                || check.value(0) != QLatin1String("ok")))
        || db.column(QString::fromLatin1(sql), &value) != SQLITE_OK || value.isEmpty())
        return -1;
    return value.first().toLongLong();
}

bool exec(const QString &file, const QString &sql)
{
    sql::Database db;
    return db.open(file, sql::Database::Access::ReadWrite) == SQLITE_OK && db.exec(sql) == SQLITE_OK;
}

QByteArray digest(const QString &file)
{
    QFile f(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return f.open(QIODevice::ReadOnly) && hash.addData(&f) ? hash.result() : QByteArray();
}

// The local contact count a copy's report names; -1 without one.
qint64 reportedCount(const QString &folder)
{
    QFile report(folder + QStringLiteral("/Sicherung.txt"));
    if (!report.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : report.readAll().split('\n'))
        if (line.startsWith("Kontakte LOCAL: "))
            return line.mid(16).toLongLong();
    return -1;
}

struct Tally {
    int runs = 0, completed = 0, liveChanged = 0, partial = 0, leftoverAfterCompleted = 0, leftoverAfterKill = 0;
    int copies = 0; // whole copies checked, summed over the runs
};

// Checks Sicherungen after a run: whole copies only, with a count the logbook has had.
void checkCopies(const QString &copies, const QSet<qint64> &countsHeld, bool completed, Tally &tally)
{
    for (const QFileInfo &entry : QDir(copies).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (entry.fileName().startsWith(QLatin1Char('.'))) {
            ++(completed ? tally.leftoverAfterCompleted : tally.leftoverAfterKill);
            if (completed)
                std::printf("  leftover after a run that ended: %s\n", qPrintable(entry.fileName()));
            continue;
        }
        const QString file = entry.filePath() + QLatin1Char('/') + data::kLogbookFile;
        const qint64 inCopy = number(file, "SELECT count(*) FROM Kontakt");
        const qint64 reported = reportedCount(entry.filePath());
        if (!entry.isDir() || !backup::copyFolderTime(entry.fileName()).isValid() || inCopy < 0 || inCopy != reported
            || !countsHeld.contains(inCopy)) {
            ++tally.partial;
            std::printf("  not a whole copy: %s (%lld contacts, report %lld)\n", qPrintable(entry.fileName()), inCopy,
                        reported);
        } else {
            ++tally.copies;
        }
    }
}

// Runs one end in a child; kills it after delayUs unless negative. True when it ran to its end.
bool endInChild(const QString &programDir, const QDateTime &now, qint64 delayUs)
{
    return runKilledChild(
        [&] {
            return backup::makeAutomaticBackup({programDir, now}).status == backup::AutoBackupOutcome::Status::Made;
        },
        delayUs);
}

bool makeLogbook(const QString &live)
{
    return QFile::copy(QDir(QStringLiteral(KW_DATA_DIR)).filePath(data::kLogbookFile), live)
           && QFile::setPermissions(live, QFile::permissions(live) | QFile::WriteOwner)
           && exec(live, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                        "INSERT INTO Kontakt (skip, callsign, ort, bemerkung) SELECT 'Skip' || i, "
                                        "'DL' || i, 'Berlin', hex(randomblob(100)) FROM n")
                             .arg(kContacts));
}

// Whether the newest copy holds as many contacts as the logbook.
bool newestIsCurrent(const QString &copies, const QString &live)
{
    const QStringList names = QDir(copies).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    return !names.isEmpty()
           && number(copies + QLatin1Char('/') + names.last() + QLatin1Char('/') + data::kLogbookFile,
                     "SELECT count(*) FROM Kontakt")
                  == number(live, "SELECT count(*) FROM Kontakt", false);
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    QTemporaryDir dir;
    const QString live = dir.filePath(data::kLogbookFile);
    const QString copies = dir.filePath(QStringLiteral("Sicherungen"));
    if (!makeLogbook(live)) {
        std::fprintf(stderr, "cannot build the logbook (is %s built?)\n", KW_DATA_DIR);
        return 2;
    }
    QSet<qint64> countsHeld;
    QDateTime now = kStart;
    const auto addContact = [&] {
        exec(live, QStringLiteral("INSERT INTO Kontakt (skip) VALUES ('Lauf %1')").arg(now.toString()));
        countsHeld.insert(number(live, "SELECT count(*) FROM Kontakt", false));
    };
    std::vector<double> lengths;
    for (int i = 0; i < 5; ++i, now = now.addSecs(3600)) {
        addContact();
        QElapsedTimer t;
        t.start();
        endInChild(dir.path(), now, -1);
        lengths.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    std::sort(lengths.begin(), lengths.end());
    const double length = lengths[lengths.size() / 2];
    std::printf(
        "logbook of %d contacts (%lld bytes); an unhindered end takes %.1f ms (median of 5); kills fall in 0 .. "
        "%.1f ms\n",
        kContacts, QFileInfo(live).size(), length / 1000.0, 1.2 * length / 1000.0);

    Tally tally;
    for (int i = 0; i < runs; ++i, now = now.addSecs(3600)) {
        addContact();
        const QByteArray before = digest(live);
        const bool completed =
            endInChild(dir.path(), now, QRandomGenerator::global()->bounded(qint64(1.2 * length) + 1));
        ++tally.runs;
        tally.completed += completed;
        if (digest(live) != before || QFileInfo::exists(live + QStringLiteral("-journal"))) {
            ++tally.liveChanged;
            std::printf("  run %d: the logbook changed\n", i + 1);
        }
        checkCopies(copies, countsHeld, completed, tally);
    }
    addContact();
    const bool lastOk = endInChild(dir.path(), now, -1) && newestIsCurrent(copies, live);
    std::printf("%d runs, %d ran to their end before the kill; afterwards the logbook changed %d times, %d folders in "
                "Sicherungen were no whole copy (%d whole copies checked); hidden leftovers seen: %d after killed "
                "runs, %d after runs that ended; the last, unhindered end %s\n",
                tally.runs, tally.completed, tally.liveChanged, tally.partial, tally.copies, tally.leftoverAfterKill,
                tally.leftoverAfterCompleted, lastOk ? "copied the logbook" : "FAILED");
    return tally.liveChanged + tally.partial + tally.leftoverAfterCompleted == 0 && lastOk ? 0 : 1;
}
