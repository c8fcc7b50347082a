#include "support/CoreSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>
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

bool execSql(const QString &file, const QString &sql)
{
    sqlite3 *db = nullptr;
    char *error = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(file).constData(), &db) == SQLITE_OK
                    && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK;
    if (error)
        qWarning("%s", error);
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

QStringList sqlColumn(const QString &file, const QString &sql, int column)
{
    QStringList out;
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        const int c = column < 0 ? sqlite3_column_count(stmt) + column : column;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            out << (text ? QString::fromUtf8(text) : QString());
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
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

QString insertCalls(const QStringList &calls)
{
    QString sql = QStringLiteral("BEGIN;");
    for (const QString &c : calls)
        sql += QStringLiteral("INSERT INTO Kontakt (skip, callsign, bemerkung) VALUES ('%1', '%1', "
                              "hex(randomblob(150)));")
                   .arg(c);
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

} // namespace testsupport
