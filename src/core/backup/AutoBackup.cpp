#include "core/backup/AutoBackup.h"

#include "core/backup/Copies.h"
#include "core/data/Files.h"
#include "core/logbook/LogbookFile.h"
#include "core/sql/Sqlite.h"
#include "core/text/GermanText.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>
#include <cerrno>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backup {
namespace {

using Status = AutoBackupOutcome::Status;

const QString kFailed = QStringLiteral("Die automatische Sicherung des Logbuchs beim Beenden ist fehlgeschlagen.");

// The logbook as it is now, held still: while the read transaction lasts no other program can
// write it, so the fingerprint, the counts and the copy all show the same state.
struct Snapshot {
    sql::Database db;
    QString fingerprint;
    Counts counts;
};

QString unreadable(const QString &live, int rc)
{
    return QStringLiteral("Das Logbuch %1 kann nicht gelesen werden. %2")
        .arg(QDir::toNativeSeparators(live), sql::engineMessage(rc));
}

QString openSnapshot(const QString &live, Snapshot *s)
{
    QStringList ignored;
    int rc = s->db.open(live, sql::Database::Access::ReadWrite);
    if (rc == SQLITE_OK)
        rc = s->db.exec(QStringLiteral("BEGIN"));
    if (rc == SQLITE_OK) // takes the read lock; rolls back the write of a killed process first
        rc = s->db.column(QStringLiteral("SELECT count(*) FROM sqlite_master"), &ignored);
    if (rc == SQLITE_OK)
        s->fingerprint = fingerprintOf(live);
    if (rc == SQLITE_OK && s->fingerprint.isEmpty())
        rc = SQLITE_CANTOPEN;
    return rc == SQLITE_OK ? QString() : unreadable(live, rc);
}

// The contacts of the snapshot, counted only when a copy is to be made.
QString countSnapshot(const QString &live, Snapshot *s)
{
    int rc = SQLITE_OK;
    return countContacts(s->db, &s->counts, &rc) ? QString() : unreadable(live, rc);
}

// Whether one of the copies was taken from the logbook in exactly this state. Any of them, not
// only the newest by name: a clock set back must not make every end copy again.
bool heldByCopy(const QString &copies, const QString &fingerprint)
{
    for (const QString &name : countedCopies(copies))
        if (readCopyReport(logbook::joinPath(copies, name)).fingerprint == fingerprint)
            return true;
    return false;
}

QString megabytes(qint64 bytes)
{
    return QLocale(QLocale::German, QLocale::Germany).toString((bytes + 1024 * 1024 - 1) / (1024 * 1024));
}

// Why the copy would leave less than the floor free; empty when there is room.
QString spaceProblem(const QString &live, const QString &where, qint64 floor)
{
    const qint64 needed = QFileInfo(live).size() + QFileInfo(live + QStringLiteral("-wal")).size();
    const QStorageInfo storage(where);
    if (!storage.isValid())
        return {}; // the copy itself will say what is wrong
    const qint64 available = storage.bytesAvailable();
    if (available - needed >= floor)
        return {};
    return QStringLiteral("Die automatische Sicherung des Logbuchs beim Beenden wurde übersprungen: Auf dem "
                          "Datenträger von %1 sind nur %2 MB frei. Nach der Kopie (%3 MB) blieben weniger als die "
                          "%4 MB, die immer frei bleiben sollen.\n\nBitte Platz schaffen oder das Logbuch mit "
                          "„Backup“ auf einen anderen Datenträger sichern.")
        .arg(QDir::toNativeSeparators(where), megabytes(available), megabytes(needed), megabytes(floor));
}

QString folderError(const QString &folder, int error)
{
    return QStringLiteral("In %1 kann nicht geschrieben werden. %2")
        .arg(QDir::toNativeSeparators(folder), logbook::systemReason(error));
}

// What became of the unfinished copy of a failed run.
enum class Unfinished { None, Removed, Left };

// Copies, checks and names the copy; what went wrong, or an empty text.
QString makeCopy(const QString &live, const QString &copies, const QString &name, Snapshot &snapshot,
                 const QDateTime &now, Unfinished *unfinished)
{
    if (::mkdir(QFile::encodeName(copies).constData(), 0755) != 0 && errno != EEXIST)
        return folderError(QFileInfo(copies).path(), errno);
    if (!QFileInfo(copies).isDir())
        return QStringLiteral("%1 ist kein Ordner.").arg(QDir::toNativeSeparators(copies));
    const QString temp = logbook::joinPath(copies, newCopyTempName(name, ::getpid()));
    const QString copy = logbook::joinPath(temp, data::kLogbookFile);
    if (::mkdir(QFile::encodeName(temp).constData(), 0755) != 0)
        return folderError(copies, errno);
    QString error = logbook::backupLogbook(live, copy).error;
    if (error.isEmpty()) {
        if (const QString problem = copyProblem(copy, snapshot.counts); !problem.isEmpty())
            error = QStringLiteral("Die Kopie hat die Prüfung nicht bestanden. %1").arg(problem);
    }
    const QString madeText = german::dateText(now.date()) + QLatin1Char(' ') + now.toString(QStringLiteral("HH:mm:ss"));
    if (error.isEmpty()) {
        if (const int e = writeCopyReport(temp, {snapshot.fingerprint, snapshot.counts}, madeText))
            error = folderError(temp, e);
    }
    if (error.isEmpty()) {
        logbook::syncPath(temp, true);
        const QString final = logbook::joinPath(copies, name);
        if (QFileInfo::exists(final))
            error = QStringLiteral("Es gibt schon eine Sicherung %1.").arg(QDir::toNativeSeparators(final));
        else if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(final).constData()) != 0)
            error = folderError(copies, errno);
        else
            logbook::syncPath(copies, true);
    }
    if (!error.isEmpty())
        *unfinished = QDir(temp).removeRecursively() ? Unfinished::Removed : Unfinished::Left;
    return error;
}

// Removes the copies the history no longer keeps; the one just made always stays.
QStringList thinOut(const QString &copies, const QDateTime &now, const KeepRule &rule, const QString &keep)
{
    QStringList removed;
    for (const QString &name : expiredCopies(countedCopies(copies), now, rule)) {
        if (name == keep)
            continue;
        // Renamed first, so that a removal cut short leaves a leftover, never half a copy.
        const QString doomed = logbook::joinPath(copies, oldCopyTempName(name, ::getpid()));
        if (::rename(QFile::encodeName(logbook::joinPath(copies, name)).constData(),
                     QFile::encodeName(doomed).constData())
            == 0) {
            QDir(doomed).removeRecursively();
            removed << name;
        }
    }
    return removed;
}

QString failedMessage(const QString &reason, const QString &copies, Unfinished unfinished)
{
    QString text = kFailed + QStringLiteral("\n\n") + reason + QStringLiteral("\n\n");
    if (unfinished != Unfinished::None)
        text += unfinished == Unfinished::Left
                    ? QStringLiteral("Die unvollständige Kopie zählt nicht als Sicherung und wird beim nächsten "
                                     "Beenden entfernt. ")
                    : QStringLiteral("Die unvollständige Kopie wurde entfernt. ");
    return text
           + QStringLiteral("Das Logbuch selbst ist unverändert; die früheren Sicherungen in %1 bleiben erhalten. "
                            "Beim nächsten Beenden wird die Sicherung wieder versucht.")
                 .arg(QDir::toNativeSeparators(copies));
}

} // namespace

AutoBackupOutcome makeAutomaticBackup(const AutoBackupRequest &request)
{
    const QString live = logbook::joinPath(request.programDir, data::kLogbookFile);
    const QString copies = copiesFolderOf(request.programDir);
    AutoBackupOutcome outcome;
    if (!QFileInfo(live).isFile()) {
        outcome.status = Status::NoLogbook;
        return outcome;
    }
    removeLeftovers(copies);
    Snapshot snapshot;
    if (const QString error = openSnapshot(live, &snapshot); !error.isEmpty()) {
        outcome.message = failedMessage(error, copies, Unfinished::None);
        return outcome;
    }
    const QString name = copyFolderName(request.now);
    if (heldByCopy(copies, snapshot.fingerprint)) {
        outcome.status = Status::Unchanged;
    } else if (const QString tight =
                   spaceProblem(live, QFileInfo(copies).isDir() ? copies : request.programDir, request.freeSpaceFloor);
               !tight.isEmpty()) {
        outcome.status = Status::NoSpace;
        outcome.message = tight;
    } else {
        Unfinished unfinished = Unfinished::None;
        QString error = countSnapshot(live, &snapshot);
        if (error.isEmpty())
            error = makeCopy(live, copies, name, snapshot, request.now, &unfinished);
        if (!error.isEmpty()) {
            outcome.message = failedMessage(error, copies, unfinished);
            return outcome; // the history stays as it is while no new copy stands
        }
        outcome.status = Status::Made;
        outcome.folder = logbook::joinPath(copies, name);
    }
    snapshot.db.close();
    outcome.removed = thinOut(copies, request.now, request.keep, outcome.folder.isEmpty() ? QString() : name);
    return outcome;
}

QString restoreStartFolder(const QString &programDir, const QString &fallback)
{
    const QString copies = copiesFolderOf(programDir);
    return QFileInfo(copies).isDir() ? copies : fallback;
}

} // namespace backup
