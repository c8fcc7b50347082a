#include "support/CoreSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <csignal>
#include <sqlite3.h>

namespace testsupport {

DataFolder::DataFolder(bool copyDatabases)
{
    if (!copyDatabases)
        return;
    for (const QString &file : {QStringLiteral("Frequenzen.quorvel"), QStringLiteral("Frequenzen1.quorvel")}) {
        const QString target = m_dir.filePath(file);
        if (!QFile::copy(builtFile(file), target))
            QTest::qFail(qPrintable("cannot copy " + builtFile(file)), __FILE__, __LINE__);
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
}

QString DataFolder::builtFile(const QString &file) { return QDir(QStringLiteral(KW_DATA_DIR)).filePath(file); }

// Both without a busy timeout: a file another connection holds fails at once.
bool execSql(const QString &file, const QString &sql)
{
    sql::Database db;
    const bool ok = db.open(file, sql::Database::Access::Create, 0) == SQLITE_OK && db.exec(sql) == SQLITE_OK;
    if (!ok)
        qWarning("%s", qPrintable(db.engineText()));
    return ok;
}

QStringList sqlColumn(const QString &file, const QString &sql, int column)
{
    QStringList out;
    sql::Database db; // the wrapper registers no function on its connections
    if (db.open(file, sql::Database::Access::ReadWrite, 0) != SQLITE_OK)
        return out;
    sql::Statement query = db.prepare(sql);
    const int c = column < 0 ? query.columnCount() + column : column;
    while (query.next())
        out << query.text(c);
    return out;
}

QByteArray fileBytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

void writeFile(const QString &file, const QByteArray &data)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QStringList numbered(const QString &stem, int n)
{
    QStringList calls;
    for (int i = 0; i < n; ++i)
        calls << stem + QString::number(i);
    return calls;
}

QString insertCalls(const QStringList &calls, const QString &table)
{
    QString sql = QStringLiteral("BEGIN;");
    for (const QString &c : calls)
        sql += QStringLiteral("INSERT INTO %1 (skip, callsign, bemerkung) VALUES ('%2', '%2', "
                              "hex(randomblob(150)));")
                   .arg(table, c);
    return sql + QStringLiteral("COMMIT;");
}

void writeLogbook(const QString &file, const QStringList &calls)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile::remove(file);
    QVERIFY(QFile::copy(DataFolder::builtFile(QStringLiteral("Frequenzen1.quorvel")), file));
    QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
    QVERIFY(execSql(file, insertCalls(calls)));
}

QStringList callsIn(const QString &file)
{
    if (sqlColumn(file, QStringLiteral("PRAGMA integrity_check")) != QStringList{QStringLiteral("ok")})
        return {QStringLiteral("<kein intaktes Logbuch>")};
    return sqlColumn(file, QStringLiteral("SELECT callsign FROM Kontakt ORDER BY id"));
}

sql::Database lockExclusively(const QString &file)
{
    sql::Database db;
    if (db.open(file, sql::Database::Access::ReadWrite) != SQLITE_OK
        || db.exec(QStringLiteral("BEGIN EXCLUSIVE")) != SQLITE_OK)
        db.close();
    return db;
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the process
    getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit limit = m_old;
    limit.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        QTest::qFail("cannot limit the size of files", __FILE__, __LINE__);
}

FileSizeLimit::~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

} // namespace testsupport
