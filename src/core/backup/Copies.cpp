#include "core/backup/Copies.h"

#include "core/backup/History.h"
#include "core/data/Files.h"
#include "core/logbook/Contact.h"
#include "core/logbook/LogbookFile.h"
#include "core/sql/Sqlite.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backup {
namespace {

const QString kFingerprintKey = QStringLiteral("Kennung");
const QString kLocalKey = QStringLiteral("Kontakte LOCAL");
const QString kDxKey = QStringLiteral("Kontakte DX");

// The identity and change times of a file, or false when it is not there.
bool appendStat(const QString &path, QByteArray *basis)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    *basis += QByteArray::number(qulonglong(st.st_dev)) + ' ' + QByteArray::number(qulonglong(st.st_ino)) + ' '
              + QByteArray::number(qlonglong(st.st_size)) + ' ' + QByteArray::number(qlonglong(st.st_mtim.tv_sec)) + '.'
              + QByteArray::number(qlonglong(st.st_mtim.tv_nsec)) + ' '
              + QByteArray::number(qlonglong(st.st_ctim.tv_sec)) + '.'
              + QByteArray::number(qlonglong(st.st_ctim.tv_nsec)) + ';';
    return true;
}

int writeAll(int fd, const QByteArray &data)
{
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n > 0)
            done += n;
        else if (n == 0 || errno != EINTR)
            return n == 0 ? EIO : errno;
    }
    return 0;
}

bool processRuns(qint64 pid)
{
    if (pid <= 0 || pid == ::getpid())
        return false; // this process works on no folder while it looks for leftovers
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString copiesFolderOf(const QString &programDir) { return logbook::joinPath(programDir, kCopiesFolder); }

QString fingerprintOf(const QString &logbookFile)
{
    QByteArray basis;
    QFile file(logbookFile);
    if (!appendStat(logbookFile, &basis) || !file.open(QIODevice::ReadOnly))
        return {};
    basis += file.read(100); // SQLite's header: change counter, page count, schema cookie
    const QString wal = logbookFile + QStringLiteral("-wal");
    if (QFileInfo(wal).size() > 0)
        appendStat(wal, &basis);
    return QString::fromLatin1(QCryptographicHash::hash(basis, QCryptographicHash::Sha256).toHex());
}

bool countContacts(const sql::Database &db, Counts *counts, int *rc)
{
    for (const logbook::Book book : {logbook::Book::Local, logbook::Book::Dx}) {
        sql::Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(logbook::tableOf(book)));
        *rc = count.ok() ? count.step() : count.resultCode();
        if (*rc != SQLITE_ROW)
            return false;
        (book == logbook::Book::Local ? counts->local : counts->dx) = count.integer(0);
    }
    *rc = SQLITE_OK;
    return true;
}

QString copyProblem(const QString &copyFile, const Counts &expected)
{
    sql::Database db;
    QStringList check;
    int rc = db.open(copyFile, sql::Database::Access::ReadOnly);
    if (rc == SQLITE_OK)
        rc = db.column(QStringLiteral("PRAGMA integrity_check"), &check);
    if (rc != SQLITE_OK)
        return sql::engineMessage(rc);
    if (check != QStringList{QStringLiteral("ok")})
        return QStringLiteral("Die Prüfung der Datenbank meldet Fehler (%1).").arg(check.value(0));
    Counts found;
    if (!countContacts(db, &found, &rc))
        return sql::engineMessage(rc);
    if (found != expected)
        return QStringLiteral("Sie enthält %1 Kontakte im LOCAL- und %2 im DX-Logbuch, das Logbuch %3 und %4.")
            .arg(found.local)
            .arg(found.dx)
            .arg(expected.local)
            .arg(expected.dx);
    return {};
}

int writeCopyReport(const QString &folder, const CopyReport &report, const QString &madeText)
{
    const QString text =
        QStringLiteral("Automatische Sicherung des Logbuchs %1\nAngelegt: %2\n"
                       "Geprüft: Datenbank intakt, so viele Kontakte wie im Logbuch\n%3: %4\n%5: %6\n%7: %8\n")
            .arg(data::kLogbookFile, madeText, kLocalKey)
            .arg(report.counts.local)
            .arg(kDxKey)
            .arg(report.counts.dx)
            .arg(kFingerprintKey, report.fingerprint);
    const QString path = logbook::joinPath(folder, kCopyReport);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return errno;
    int error = writeAll(fd, text.toUtf8());
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    return error;
}

CopyReport readCopyReport(const QString &folder)
{
    QFile file(logbook::joinPath(folder, kCopyReport));
    CopyReport report;
    if (!file.open(QIODevice::ReadOnly))
        return report;
    for (const QString &line : QString::fromUtf8(file.read(64 * 1024)).split(QLatin1Char('\n'))) {
        const QString key = line.section(QStringLiteral(": "), 0, 0);
        const QString value = line.section(QStringLiteral(": "), 1);
        if (key == kFingerprintKey)
            report.fingerprint = value.trimmed();
        else if (key == kLocalKey)
            report.counts.local = value.toLongLong();
        else if (key == kDxKey)
            report.counts.dx = value.toLongLong();
    }
    return report;
}

QStringList countedCopies(const QString &copiesFolder)
{
    QStringList copies;
    const auto entries = QDir(copiesFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &entry : entries) {
        const QFileInfo copy(logbook::joinPath(entry.filePath(), data::kLogbookFile));
        if (copyFolderTime(entry.fileName()).isValid() && copy.isFile() && !copy.isSymLink()
            && !readCopyReport(entry.filePath()).fingerprint.isEmpty())
            copies << entry.fileName();
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

QString newCopyTempName(const QString &copyName, qint64 pid)
{
    return QStringLiteral(".neu-%1-%2").arg(pid).arg(copyName);
}

QString oldCopyTempName(const QString &copyName, qint64 pid)
{
    return QStringLiteral(".alt-%1-%2").arg(pid).arg(copyName);
}

void removeLeftovers(const QString &copiesFolder)
{
    static const QRegularExpression temp(QStringLiteral("^\\.(?:neu|alt)-(\\d+)-"));
    const QDir dir(copiesFolder);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = temp.match(name);
        if (match.hasMatch() && !processRuns(match.captured(1).toLongLong()))
            QDir(dir.filePath(name)).removeRecursively();
    }
}

} // namespace backup
