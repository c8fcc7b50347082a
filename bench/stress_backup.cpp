// Backup and restore killed at a random moment: each run copies in a child process that is
// sent SIGKILL after a random delay between 0 and 1.2 times the length of an unhindered run.
// Afterwards the live logbook (restore) or the backup (backup) must open, pass the integrity
// check and hold either all old or all new contacts.
//   stress_backup [runs]      default: 100 of each
#include "ChildRun.h"
#include "core/data/Files.h"
#include "core/logbook/LogbookFile.h"
#include "core/sql/Sqlite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kOldContacts = 2000;
constexpr int kNewContacts = 5000;

// A logbook with this many contacts, made from the shipped empty one.
bool makeLogbook(const QString &file, int contacts)
{
    QDir().mkpath(QFileInfo(file).path());
    if (!QFile::copy(QDir(QStringLiteral(KW_DATA_DIR)).filePath(data::kLogbookFile), file))
        return false;
    QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
    sql::Database db;
    const QString sql = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                                       " INSERT INTO Kontakt (skip, callsign, ort, datum, bemerkung)"
                                       " SELECT 'Skip' || i, 'DL' || i, 'Berlin', '07.12.2026', hex(randomblob(60))"
                                       " FROM n")
                            .arg(contacts);
    return db.open(file, sql::Database::Access::ReadWrite) == SQLITE_OK && db.exec(sql) == SQLITE_OK;
}

// The contact count of an intact logbook, as a logbook window opening it would see it; -1 when
// it does not open or fails the check, -2 when it is missing.
int contactsIn(const QString &file)
{
    if (!QFileInfo::exists(file))
        return -2;
    sql::Database db;
    QStringList check, count;
    if (db.open(file, sql::Database::Access::ReadWrite) != SQLITE_OK
        || db.column(QStringLiteral("PRAGMA integrity_check"), &check) != SQLITE_OK
        || check.value(0) != QLatin1String("ok")
        || db.column(QStringLiteral("SELECT count(*) FROM Kontakt"), &count) != SQLITE_OK || count.isEmpty())
        return -1;
    return count.first().toInt();
}

bool hasCompanions(const QString &file)
{
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        if (QFileInfo::exists(file + QLatin1String(suffix)))
            return true;
    return false;
}

// Runs the copy in a child; kills it after delayUs unless negative. True when it ran to its end.
bool runChild(const std::function<bool()> &copy, qint64 delayUs) { return runKilledChild(copy, delayUs); }

struct Tally {
    int completed = 0, old = 0, fresh = 0, damaged = 0, companions = 0;
};

// One series: before each run, which file to copy follows from what the checked file holds now.
Tally series(const char *what, int runs, const std::function<bool(int current)> &copy, const QString &checked)
{
    // The length of an unhindered run, forked like the killed ones.
    std::vector<double> lengths;
    for (int i = 0; i < 5; ++i) {
        const int current = contactsIn(checked);
        QElapsedTimer t;
        t.start();
        runChild([&] { return copy(current); }, -1);
        lengths.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    std::sort(lengths.begin(), lengths.end());
    const double length = lengths[lengths.size() / 2];
    std::printf("%s: an unhindered run takes %.1f ms (median of 5); kills fall in 0 .. %.1f ms\n", what,
                length / 1000.0, 1.2 * length / 1000.0);

    Tally tally;
    for (int i = 0; i < runs; ++i) {
        const int before = contactsIn(checked);
        const int other = before == kOldContacts ? kNewContacts : kOldContacts;
        const qint64 delay = QRandomGenerator::global()->bounded(qint64(1.2 * length) + 1);
        tally.completed += runChild([&] { return copy(before); }, delay);
        tally.companions += hasCompanions(checked);
        const int after = contactsIn(checked);
        if (after == before)
            ++tally.old;
        else if (after == other)
            ++tally.fresh;
        else {
            ++tally.damaged;
            std::printf("  run %d: %d contacts before, %d after (-1 damaged, -2 missing)\n", i + 1, before, after);
        }
    }
    std::printf("%s: %d runs, %d ran to their end before the kill; afterwards %d hold the old contacts, %d the new "
                "ones, %d are damaged or missing; %d times a journal or log file lay beside it\n",
                what, runs, tally.completed, tally.old, tally.fresh, tally.damaged, tally.companions);
    return tally;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    QTemporaryDir dir;
    const auto file = [&](const QString &folder) {
        return dir.filePath(folder + QLatin1Char('/') + data::kLogbookFile);
    };
    const QString live = file(QStringLiteral("Programm"));
    const QString oldSet = file(QStringLiteral("Alt")), newSet = file(QStringLiteral("Neu"));
    const QString backup = file(QStringLiteral("Stick"));
    if (!makeLogbook(oldSet, kOldContacts) || !makeLogbook(newSet, kNewContacts) || !makeLogbook(live, kOldContacts)
        || !QDir().mkpath(QFileInfo(backup).path())) {
        std::fprintf(stderr, "cannot build the logbooks (is %s built?)\n", KW_DATA_DIR);
        return 2;
    }
    std::printf("logbooks of %d and %d contacts (%lld and %lld bytes)\n", kOldContacts, kNewContacts,
                QFileInfo(oldSet).size(), QFileInfo(newSet).size());

    const Tally restores = series(
        "restore", runs,
        [&](int current) { return logbook::restoreLogbook(current == kOldContacts ? newSet : oldSet, live).ok(); },
        live);
    if (!logbook::backupLogbook(oldSet, backup).ok())
        return 2;
    const Tally backups = series(
        "backup", runs,
        [&](int current) { return logbook::backupLogbook(current == kOldContacts ? newSet : oldSet, backup).ok(); },
        backup);
    return restores.damaged + backups.damaged + restores.companions + backups.companions == 0 ? 0 : 1;
}
