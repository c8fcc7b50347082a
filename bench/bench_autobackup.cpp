// What the automatic copy adds to ending the program, on logbooks of 100,000 contacts (or the
// count given) in two kinds: "typisch" (every column filled as the sample texts, a line of
// remarks) and "voll" (every column 60 characters, 2,000 characters of remarks: more than any
// real contact holds). Each end runs in a process of its own, which gives its peak memory.
//   unchanged   the logbook as the newest copy holds it: the check alone
//   changed     one contact added: copy, check of the copy, its name, and the history, which
//               here removes one copy of the same size
// Afterwards the parts of one copy are timed alone.
//   bench_autobackup [contacts]
#include "core/backup/AutoBackup.h"
#include "core/backup/Copies.h"
#include "core/data/Files.h"
#include "core/logbook/LogbookFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 5;
const QDateTime kFirst(QDate(2026, 12, 7), QTime(18, 0, 0));

bool sqlExec(const QString &file, const QString &sql)
{
    sqlite3 *db = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(file).constData(), &db) == SQLITE_OK
                    && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// 60 characters, different in every row.
QString longText(const char *stem)
{
    return QStringLiteral("'%1 ' || i || ' ' || substr(hex(randomblob(30)), 1, 60 - %2 - length(i))")
        .arg(QLatin1String(stem))
        .arg(qstrlen(stem) + 2);
}

bool makeLogbook(const QString &file, int contacts, bool full)
{
    if (!QFile::copy(QDir(QStringLiteral(KW_DATA_DIR)).filePath(data::kLogbookFile), file))
        return false;
    QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
    const QString values =
        full ? QStringList{longText("Skip"),
                           longText("Vorname"),
                           longText("Ort"),
                           longText("Land"),
                           longText("DL"),
                           "'30.06.2006'",
                           "'21:45'",
                           "'12'",
                           "'27,005'",
                           "'FM'",
                           "'5'",
                           "'9+30'",
                           longText("Name"),
                           longText("Straße"),
                           "'80331'",
                           longText("Tel"),
                           longText("email"),
                           longText("web"),
                           "hex(randomblob(1000))"}
                   .join(QLatin1String(", "))
             : QStringLiteral("'Funkfreund ' || i, 'Hans', 'München', 'Deutschland', 'DL' || i, '30.06.2006', "
                              "'21:45', '12', '27,005', 'FM', '5', '9+30', 'Mustermann', 'Hauptstraße 1', '80331', "
                              "'089 1234567', 'hans@example.org', 'www.example.org', "
                              "'Bemerkungen zur Verbindung ' || hex(randomblob(20))");
    return sqlExec(file, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                        "INSERT INTO Kontakt (skip, vorname, ort, land, callsign, datum, uhrzeit, "
                                        "lanal, frequenz, band, rwert, swert, name, strasse, plz, tel, email, web, "
                                        "bemerkung) SELECT %2 FROM n")
                             .arg(contacts)
                             .arg(values));
}

struct EndRun {
    double ms = 0;
    long peakKb = 0;
    QString status;
};

// One end in a child process (this program with --end), as the program would run it.
EndRun endInChild(const char *self, const QString &programDir, const QDateTime &now)
{
    std::fflush(nullptr);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        const QByteArray dir = QFile::encodeName(programDir);
        const QByteArray stamp = now.toString(Qt::ISODate).toLatin1();
        execl(self, self, "--end", dir.constData(), stamp.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    ::close(pipeFds[1]);
    char buffer[256] = {};
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer - 1);
    ::close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const QStringList parts = QString::fromLatin1(buffer, n > 0 ? int(n) : 0).trimmed().split(QLatin1Char(' '));
    return {parts.value(0).toDouble(), usage.ru_maxrss, parts.value(1)};
}

int endHere(const QString &programDir, const QString &stamp)
{
    const QDateTime now = QDateTime::fromString(stamp, Qt::ISODate);
    QElapsedTimer t;
    t.start();
    const backup::AutoBackupOutcome outcome = backup::makeAutomaticBackup({programDir, now});
    const double ms = double(t.nsecsElapsed()) / 1e6;
    static const char *names[] = {"copied", "unchanged", "no-logbook", "no-space", "failed"};
    std::printf("%.1f %s\n", ms, names[int(outcome.status)]);
    if (!outcome.message.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(outcome.message));
    return outcome.status == backup::AutoBackupOutcome::Status::Failed ? 1 : 0;
}

void report(const char *what, std::vector<EndRun> runs)
{
    std::sort(runs.begin(), runs.end(), [](const EndRun &a, const EndRun &b) { return a.ms < b.ms; });
    long peak = 0;
    for (const EndRun &r : runs)
        peak = std::max(peak, r.peakKb);
    std::printf("  %-10s median %8.1f ms, slowest %8.1f ms, peak memory %6.1f MB (%s)\n", what,
                runs[runs.size() / 2].ms, runs.back().ms, double(peak) / 1024.0, qPrintable(runs.back().status));
}

// A copy's folder as an earlier end leaves it, holding a copy of `file`.
bool plantCopy(const QString &file, const QString &copies, const QDateTime &made)
{
    const QString folder = copies + QLatin1Char('/') + backup::copyFolderName(made);
    QDir().mkpath(folder);
    QFile report(folder + QStringLiteral("/Sicherung.txt"));
    return QFile::copy(file, folder + QLatin1Char('/') + data::kLogbookFile) && report.open(QIODevice::WriteOnly)
           && report.write("Kennung: alt\n") > 0;
}

void timeParts(const QString &live, const QString &scratch)
{
    QElapsedTimer t;
    t.start();
    const QString fingerprint = backup::fingerprintOf(live);
    const double fp = double(t.nsecsElapsed()) / 1e6;
    const QString copy = scratch + QLatin1Char('/') + data::kLogbookFile;
    t.restart();
    const bool copied = logbook::backupLogbook(live, copy).ok();
    const double cp = double(t.nsecsElapsed()) / 1e6;
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_open(QFile::encodeName(copy).constData(), &db);
    sqlite3_prepare_v2(db, "SELECT count(*) FROM Kontakt", -1, &stmt, nullptr);
    sqlite3_step(stmt);
    const qint64 local = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    t.restart();
    const QString problem = backup::copyProblem(copy, {local, 0});
    const double check = double(t.nsecsElapsed()) / 1e6;
    std::printf("  parts: fingerprint %.1f ms, copy (written and synced) %.1f ms%s, check (integrity, counts) %.1f "
                "ms%s\n",
                fp, cp, copied ? "" : " FAILED", check, problem.isEmpty() ? "" : " FAILED");
    Q_UNUSED(fingerprint);
}

bool profile(const char *self, const char *name, int contacts, bool full)
{
    QTemporaryDir dir;
    const QString live = dir.filePath(data::kLogbookFile);
    const QString copies = dir.filePath(backup::kCopiesFolder);
    if (!makeLogbook(live, contacts, full))
        return false;
    std::printf("%s: %d contacts, %.1f MB\n", name, contacts, double(QFileInfo(live).size()) / 1e6);
    // A full history: one copy for each of the seven weeks before, nine of the last days (of an
    // empty logbook, which only their number matters for), and the logbook as it is now.
    const QString empty = QDir(QStringLiteral(KW_DATA_DIR)).filePath(data::kLogbookFile);
    for (int i = 1; i <= 16; ++i)
        if (!plantCopy(empty, copies, kFirst.addDays(i <= 7 ? -7 * i - 3 : -(i - 7))))
            return false;
    if (const EndRun first = endInChild(self, dir.path(), kFirst.addSecs(-60));
        first.status != QLatin1String("copied")) {
        std::fprintf(stderr, "the first end: %s\n", qPrintable(first.status));
        return false;
    }
    std::vector<EndRun> unchanged, changed;
    for (int i = 0; i < kRuns; ++i) {
        unchanged.push_back(endInChild(self, dir.path(), kFirst.addSecs(60 * (2 * i))));
        sqlExec(live, QStringLiteral("INSERT INTO Kontakt (skip) VALUES ('Neu %1')").arg(i));
        if (!plantCopy(live, copies, kFirst.addYears(-1).addDays(i))) // too old: the end removes it
            return false;
        ::sync(); // the planted copy on disk, as the program's own files are when it ends
        changed.push_back(endInChild(self, dir.path(), kFirst.addSecs(60 * (2 * i + 1))));
    }
    report("unchanged", unchanged);
    report("changed", changed);
    QDir().mkpath(dir.filePath(QStringLiteral("Teile")));
    timeParts(live, dir.filePath(QStringLiteral("Teile")));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--end") == 0)
        return endHere(QFile::decodeName(argv[2]), QString::fromLatin1(argv[3]));
    const int contacts = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    {
        QTemporaryDir empty;
        const EndRun idle = endInChild(argv[0], empty.path(), kFirst);
        std::printf("a process that finds no logbook: %.1f ms, peak memory %.1f MB\n", idle.ms,
                    double(idle.peakKb) / 1024.0);
    }
    if (!profile(argv[0], "typisch", contacts, false) || !profile(argv[0], "voll", contacts, true)) {
        std::fprintf(stderr, "cannot build the logbooks (is %s built?)\n", KW_DATA_DIR);
        return 2;
    }
    return 0;
}
