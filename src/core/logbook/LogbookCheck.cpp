#include "core/logbook/LogbookCheck.h"

#include "core/logbook/Contact.h"
#include "core/sql/Sqlite.h"

#include <QSet>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>

namespace logbook {

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

namespace {

// Why a logbook table of the file is not one the windows can work on safely; empty when it is.
// Edits and deletes address a contact by its row id: only a table whose id is that row id
// (id INTEGER PRIMARY KEY, a table with row ids) can take them.
QString tableProblem(sql::Database &db, Book book, int *rc)
{
    const QString table = tableOf(book);
    QStringList kind, present, key, keyIndexes;
    *rc =
        db.column(QStringLiteral("SELECT type FROM sqlite_master WHERE name = '%1' COLLATE NOCASE").arg(table), &kind);
    if (*rc == SQLITE_OK)
        *rc = db.column(QStringLiteral("SELECT lower(name) FROM pragma_table_info('%1')").arg(table), &present);
    if (*rc == SQLITE_OK)
        *rc = db.column(
            QStringLiteral("SELECT lower(name) || ' ' || upper(type) FROM pragma_table_info('%1') WHERE pk > 0")
                .arg(table),
            &key);
    if (*rc == SQLITE_OK)
        *rc = db.column(QStringLiteral("SELECT name FROM pragma_index_list('%1') WHERE origin = 'pk'").arg(table),
                        &keyIndexes);
    if (*rc != SQLITE_OK)
        return {};
    if (kind.isEmpty())
        return QStringLiteral("Sie ist kein Logbuch: die Tabelle „%1“ fehlt.").arg(table);
    if (kind != QStringList{QStringLiteral("table")})
        return QStringLiteral("Sie ist kein Logbuch dieses Programms: „%1“ ist keine Tabelle.").arg(table);
    if (key != QStringList{QStringLiteral("id INTEGER")} || !keyIndexes.isEmpty())
        return QStringLiteral("Sie ist kein Logbuch dieses Programms: in der Tabelle „%1“ ist die Spalte „id“ nicht "
                              "der Schlüssel, über den jeder Kontakt gefunden wird (INTEGER PRIMARY KEY).")
            .arg(table);
    const QSet<QString> have(present.begin(), present.end());
    for (const QString &column : columnsOf(book)) {
        if (!have.contains(column))
            return QStringLiteral("Sie ist kein Logbuch: der Tabelle „%1“ fehlt die Spalte „%2“.").arg(table, column);
    }
    return {};
}

} // namespace

// Why the file is not an intact logbook of this program; empty when it is one.
QString logbookProblem(sql::Database &db)
{
    QStringList check, extras;
    int rc = db.column(QStringLiteral("PRAGMA integrity_check"), &check);
    if (rc != SQLITE_OK)
        return readReason(db, rc);
    if (check != QStringList{QStringLiteral("ok")})
        return QStringLiteral("Sie ist beschädigt (die Prüfung der Datenbank ist fehlgeschlagen).");
    for (const Book book : {Book::Local, Book::Dx}) {
        const QString problem = tableProblem(db, book, &rc);
        if (rc != SQLITE_OK)
            return readReason(db, rc);
        if (!problem.isEmpty())
            return problem;
    }
    // A trigger or a view of its own could change or hide contacts behind the windows' back.
    rc = db.column(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('trigger', 'view') ORDER BY name"),
                   &extras);
    if (rc != SQLITE_OK)
        return readReason(db, rc);
    if (!extras.isEmpty())
        return QStringLiteral("Sie enthält eigene Trigger oder Sichten („%1“), die Kontakte unbemerkt verändern "
                              "könnten; ein Logbuch dieses Programms hat keine.")
            .arg(extras.join(QStringLiteral("“, „")));
    return {};
}

} // namespace logbook
