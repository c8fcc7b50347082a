#include "core/logbook/LogbookFile.h"

#include "core/logbook/Contact.h"
#include "core/sql/Sqlite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace logbook {
namespace {

// SQLite's companions of a database file: a rollback journal, a write-ahead log and its index.
const QStringList kSideSuffixes = {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};

QByteArray native(const QString &path) { return QFile::encodeName(path); }

bool exists(const QString &path)
{
    struct stat st {};
    return ::lstat(native(path).constData(), &st) == 0;
}

// A temporary file beside target, hidden, that SQLite never takes for a companion of it.
QString tempPathFor(const QString &target)
{
    const QFileInfo info(target);
    return joinPath(info.path(), QLatin1Char('.') + info.fileName() + QStringLiteral(".neu"));
}

void removeCompanions(const QString &path)
{
    for (const QString &suffix : kSideSuffixes)
        ::unlink(native(path + suffix).constData());
}

void removeWithCompanions(const QString &path)
{
    ::unlink(native(path).constData());
    removeCompanions(path);
}

} // namespace

QString systemReason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("Der Ordner ist schreibgeschützt oder die Berechtigung fehlt.");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz.");
    case ENOENT: // the folder is there (else see folderReason), but takes no new file
        return QStringLiteral("In diesem Ordner können keine Dateien angelegt werden.");
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
    case ESTALE:
        return QStringLiteral("Der Ordner ist nicht mehr erreichbar (Datenträger entfernt?).");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Lese- oder Schreibfehler.");
    case EISDIR:
        return QStringLiteral("Dort steht ein Ordner gleichen Namens.");
    default:
        return QStringLiteral("Systemfehler %1 (%2).").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

namespace {

// A failure in a folder that has gone away (a stick pulled) is told as such.
QString folderReason(const QString &folder, const QString &error)
{
    return QFileInfo(folder).isDir() ? error : systemReason(ENODEV);
}

// Why SQLite could not write a file: disk full, folder gone, no permission.
QString writeReason(const sql::Database &c, int rc)
{
    if ((rc & 0xff) == SQLITE_FULL)
        return systemReason(ENOSPC);
    if (const int e = c.systemErrno())
        return systemReason(e);
    return sql::engineMessage(rc);
}

// Why SQLite could not read a file the user chose.
QString readReason(const sql::Database &c, int rc)
{
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
        return QStringLiteral("Sie ist keine Datenbankdatei.");
    case SQLITE_CORRUPT:
        return QStringLiteral("Sie ist beschädigt.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Sie wird gerade von einem anderen Programm geschrieben.");
    case SQLITE_READONLY:
        if (rc == SQLITE_READONLY_ROLLBACK)
            return QStringLiteral("Sie wurde nicht vollständig geschrieben (daneben liegt ein Journal).");
        break;
    default:
        break;
    }
    switch (const int e = c.systemErrno()) {
    case 0:
        return sql::engineMessage(rc);
    case EACCES:
    case EPERM:
        return QStringLiteral("Die Berechtigung, sie zu lesen, fehlt.");
    case ENOENT:
        return QStringLiteral("Sie ist nicht mehr vorhanden.");
    case EIO:
        return QStringLiteral("Der Datenträger meldet beim Lesen einen Fehler.");
    default:
        return systemReason(e);
    }
}

} // namespace

int syncPath(const QString &path, bool directory)
{
    const int fd = ::open(native(path).constData(), directory ? O_RDONLY | O_DIRECTORY : O_RDWR);
    if (fd < 0)
        return errno;
    int error = ::fsync(fd) == 0 ? 0 : errno;
    if (directory && error == EINVAL)
        error = 0; // a file system without directory sync: the rename is as durable as it gets
    ::close(fd);
    return error;
}

namespace {

// Copies a file that nothing writes, byte for byte, and syncs the copy.
int copyFileSynced(const QString &from, const QString &to)
{
    const int in = ::open(native(from).constData(), O_RDONLY);
    if (in < 0)
        return errno;
    const int out = ::open(native(to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0) {
        const int e = errno;
        ::close(in);
        return e;
    }
    int error = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < n && !error;) {
            const ssize_t w = ::write(out, buffer + done, size_t(n - done));
            if (w > 0)
                done += w;
            else if (w == 0 || errno != EINTR)
                error = w == 0 ? EIO : errno;
        }
        if (error)
            break;
    }
    if (!error && ::fsync(out) != 0)
        error = errno;
    if (::close(out) != 0 && !error)
        error = errno;
    ::close(in);
    return error;
}

// Copies the database open on source into a new file through SQLite's online backup, which
// reads under a shared lock and so never catches another connection in the middle of a write.
// The copy is left in rollback-journal mode and synced. Returns the reason of a failure.
QString copyDatabase(sql::Database &source, const QString &target)
{
    sql::Database dest;
    int rc = dest.open(target, sql::Database::Access::Create);
    if (rc == SQLITE_OK)
        rc = dest.exec(
            QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF")); // a scratch file until renamed
    if (rc != SQLITE_OK)
        return writeReason(dest, rc);
    sqlite3_backup *backup = sqlite3_backup_init(dest.handle(), "main", source.handle(), "main");
    if (!backup)
        return writeReason(dest, sqlite3_extended_errcode(dest.handle()));
    QElapsedTimer waited;
    waited.start();
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(50);
    } while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < 3000);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
            return QStringLiteral("Die Datei wird gerade von einem anderen Programm geschrieben.");
        return dest.systemErrno() || (rc & 0xff) == SQLITE_FULL ? writeReason(dest, rc) : readReason(source, rc);
    }
    // A copy of a file in write-ahead-log mode would carry that mode; the copy stands alone.
    rc = dest.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    if (rc != SQLITE_OK)
        return writeReason(dest, rc);
    const int error = syncPath(target, false);
    return error ? systemReason(error) : QString();
}

// Why the file is not an intact logbook of this program; empty when it is one.
QString logbookProblem(sql::Database &db)
{
    QStringList check;
    int rc = db.column(QStringLiteral("PRAGMA integrity_check"), &check);
    if (rc != SQLITE_OK)
        return readReason(db, rc);
    if (check != QStringList{QStringLiteral("ok")})
        return QStringLiteral("Sie ist beschädigt (die Prüfung der Datenbank ist fehlgeschlagen).");
    for (const Book book : {Book::Local, Book::Dx}) {
        const QString table = tableOf(book);
        QStringList present;
        rc = db.column(QStringLiteral("SELECT lower(name) FROM pragma_table_info('%1')").arg(table), &present);
        if (rc != SQLITE_OK)
            return readReason(db, rc);
        if (present.isEmpty())
            return QStringLiteral("Sie ist kein Logbuch: die Tabelle „%1“ fehlt.").arg(table);
        const QSet<QString> have(present.begin(), present.end());
        for (const QString &column : columnsOf(book)) {
            if (!have.contains(column))
                return QStringLiteral("Sie ist kein Logbuch: der Tabelle „%1“ fehlt die Spalte „%2“.")
                    .arg(table, column);
        }
    }
    return {};
}

bool hasCompanions(const QString &path)
{
    return std::any_of(kSideSuffixes.begin(), kSideSuffixes.end(), [&](const QString &s) { return exists(path + s); });
}

// Brings a database file into a state in which a rename can replace it: an interrupted write
// rolled back (its hot journal belongs to this file, never to the one that takes its name), a
// write-ahead log folded in. Returns the name of a companion file still left beside it (another
// connection holds the file), else an empty text.
QString settle(const QString &path)
{
    if (!hasCompanions(path))
        return {};
    if (!exists(path)) {
        // Companions of a file that is gone can be applied to nothing, except wrongly to the new one.
        removeCompanions(path);
        return {};
    }
    {
        sql::Database db;
        QStringList ignored;
        // Errors are not ours to judge here: a damaged logbook may well be replaced.
        if (db.open(path, sql::Database::Access::ReadWrite) == SQLITE_OK
            && db.column(QStringLiteral("PRAGMA journal_mode=DELETE"), &ignored) == SQLITE_OK)
            db.column(QStringLiteral("SELECT count(*) FROM sqlite_master"), &ignored);
    }
    // In rollback mode with no log left, the log's index is a leftover nobody reads.
    if (!exists(path + QStringLiteral("-wal")))
        ::unlink(native(path + QStringLiteral("-shm")).constData());
    for (const QString &suffix : kSideSuffixes) {
        if (exists(path + suffix))
            return QFileInfo(path + suffix).fileName();
    }
    return {};
}

// Moves a complete, synced file over target and syncs the folder so the new name lasts.
QString renameOver(const QString &from, const QString &target)
{
    if (::rename(native(from).constData(), native(target).constData()) != 0)
        return systemReason(errno);
    syncPath(QFileInfo(target).path(), true); // the data is on disk; the name follows at the latest
    return {};
}

} // namespace

QString joinPath(const QString &folder, const QString &file)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + file : folder + QLatin1Char('/') + file;
}

bool sameFolder(const QString &a, const QString &b)
{
    struct stat sa {
    }, sb{};
    return ::stat(native(a).constData(), &sa) == 0 && ::stat(native(b).constData(), &sb) == 0 && S_ISDIR(sa.st_mode)
           && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool isBackupPresent(const QString &file)
{
    const QFileInfo info(file);
    return info.isFile() && !info.isHidden();
}

FileResult backupLogbook(const QString &liveFile, const QString &backupFile)
{
    const QString folder = QFileInfo(backupFile).path();
    if (!QFileInfo(liveFile).isFile())
        return {QStringLiteral("Das Logbuch %1 wurde nicht gefunden.").arg(liveFile)};
    sql::Database live;
    QStringList ignored;
    int rc = live.open(liveFile, sql::Database::Access::ReadWrite);
    if (rc == SQLITE_OK) // a hot journal left by a killed process is rolled back here
        rc = live.column(QStringLiteral("SELECT count(*) FROM sqlite_master"), &ignored);
    if (rc != SQLITE_OK)
        return {QStringLiteral("Das Logbuch %1 kann nicht gelesen werden. %2").arg(liveFile, readReason(live, rc))};
    const QString cannotWrite = QStringLiteral("%1 kann nicht geschrieben werden. %2");
    if (QFileInfo(backupFile).isDir())
        return {cannotWrite.arg(backupFile, systemReason(EISDIR))};
    // The earlier backup keeps its content until it is replaced, but none of its companions may
    // outlive it beside the new one.
    if (const QString held = settle(backupFile); !held.isEmpty())
        return {cannotWrite.arg(backupFile, QStringLiteral("Sie ist noch geöffnet (daneben liegt %1).").arg(held))};

    const QString temp = tempPathFor(backupFile);
    removeWithCompanions(temp); // left by an interrupted run
    QString error = copyDatabase(live, temp);
    if (error.isEmpty())
        error = renameOver(temp, backupFile);
    if (!error.isEmpty()) {
        removeWithCompanions(temp);
        return {QStringLiteral("In %1 kann nicht geschrieben werden. %2").arg(folder, folderReason(folder, error))};
    }
    return {};
}

FileResult restoreLogbook(const QString &backupFile, const QString &liveFile)
{
    const QString refused = QStringLiteral("%1 ist keine brauchbare Sicherungskopie. %2");
    sql::Database source;
    int rc = source.open(backupFile, sql::Database::Access::ReadOnly);
    // One read transaction: the file checked is the file copied.
    if (rc == SQLITE_OK)
        rc = source.exec(QStringLiteral("BEGIN"));
    if (rc != SQLITE_OK)
        return {refused.arg(backupFile, readReason(source, rc))};
    if (const QString problem = logbookProblem(source); !problem.isEmpty())
        return {refused.arg(backupFile, problem)};

    const QString liveFolder = QFileInfo(liveFile).path();
    const QString failed = QStringLiteral("Im Programmordner %1 kann nicht geschrieben werden. %2");
    const QString temp = tempPathFor(liveFile);
    removeWithCompanions(temp);
    QString error = copyDatabase(source, temp);
    if (error.isEmpty()) {
        if (const QString held = settle(liveFile); !held.isEmpty()) {
            removeWithCompanions(temp);
            return {QStringLiteral("Das Logbuch ist noch geöffnet (neben ihm liegt %1). Bitte alle Logbuchfenster "
                                   "schließen.")
                        .arg(held)};
        }
    }
    if (error.isEmpty() && exists(liveFile)) {
        const QString kept = joinPath(liveFolder, kReplacedLogbookName);
        const QString keptTemp = tempPathFor(kept);
        if (const int e = copyFileSynced(liveFile, keptTemp))
            error = systemReason(e);
        if (error.isEmpty()) {
            removeCompanions(kept); // they belong to the copy kept before, which goes now
            error = renameOver(keptTemp, kept);
        }
        ::unlink(native(keptTemp).constData());
    }
    if (error.isEmpty())
        error = renameOver(temp, liveFile);
    if (!error.isEmpty()) {
        removeWithCompanions(temp);
        return {failed.arg(liveFolder, folderReason(liveFolder, error))};
    }
    return {};
}

} // namespace logbook
