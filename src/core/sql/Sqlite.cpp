#include "core/sql/Sqlite.h"

#include <QFile>
#include <cerrno>
#include <sqlite3.h>
#include <utility>

namespace sql {

namespace {
// The cause of a failed read or write as the operating system names it; empty when it says nothing
// more than the engine.
QString systemCause(int systemErrno)
{
    switch (systemErrno) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("Die Datei oder ihr Ordner ist schreibgeschützt, oder die Berechtigung fehlt.");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Der Datenträger ist voll.");
    case ENOENT:
        return QStringLiteral("Die Datei oder ihr Ordner ist nicht mehr vorhanden.");
    case ENODEV:
    case ENXIO:
    case ESTALE:
    case ENOTDIR:
        return QStringLiteral("Der Datenträger ist nicht mehr erreichbar (entfernt?).");
    default:
        return {};
    }
}
} // namespace

QString engineMessage(int resultCode, int systemErrno)
{
    switch (resultCode & 0xff) {
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_FULL:
    case SQLITE_PERM:
        if (const QString cause = systemCause(systemErrno); !cause.isEmpty())
            return cause;
        break;
    default:
        break;
    }
    switch (resultCode & 0xff) {
    case SQLITE_READONLY:
        return QStringLiteral("Die Datei ist schreibgeschützt oder liegt in einem Ordner ohne Schreibrecht.");
    case SQLITE_FULL:
        return QStringLiteral("Der Datenträger ist voll.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt und ist gesperrt.");
    case SQLITE_IOERR:
        return QStringLiteral("Die Datei konnte nicht gelesen oder geschrieben werden (Ein-/Ausgabefehler, "
                              "vielleicht wurde der Datenträger entfernt).");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("Die Datei ist beschädigt oder keine Datenbank dieses Programms.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Datei kann nicht geöffnet werden.");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Der Zugriff auf die Datei wurde verweigert.");
    case SQLITE_NOMEM:
        return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
        return QStringLiteral("Die Datenbank hat einen Wert abgelehnt.");
    case SQLITE_ERROR:
        return QStringLiteral("Die Abfrage passt nicht zu den Tabellen der Datei (eine Tabelle oder Spalte fehlt).");
    default:
        return QStringLiteral("Die Datenbank meldet einen Fehler (Code %1).").arg(resultCode);
    }
}

Statement::Statement(sqlite3 *db, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    m_rc = db ? sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) : SQLITE_MISUSE;
    if (m_rc == SQLITE_OK && !m_stmt) // only blanks or a comment
        m_rc = SQLITE_MISUSE;
    if (m_rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        if (db)
            m_rc = sqlite3_extended_errcode(db);
    }
}

Statement::Statement(Statement &&other) noexcept : m_stmt(std::exchange(other.m_stmt, nullptr)), m_rc(other.m_rc) {}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_rc = other.m_rc;
    }
    return *this;
}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

Statement &Statement::bind(int index, const QVariant &value)
{
    if (value.isNull())
        sqlite3_bind_null(m_stmt, index);
    else if (value.typeId() == QMetaType::Bool || value.typeId() == QMetaType::Int
             || value.typeId() == QMetaType::LongLong)
        bind(index, value.toLongLong());
    else
        bind(index, value.toString());
    return *this;
}

Statement &Statement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

Statement &Statement::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

int Statement::step()
{
    if (!m_stmt)
        return m_rc;
    m_rc = sqlite3_step(m_stmt);
    if (m_rc != SQLITE_ROW && m_rc != SQLITE_DONE)
        m_rc = sqlite3_extended_errcode(sqlite3_db_handle(m_stmt));
    return m_rc;
}

bool Statement::next() { return step() == SQLITE_ROW; }

void Statement::reset()
{
    if (m_stmt)
        sqlite3_reset(m_stmt);
}

int Statement::run()
{
    const int rc = step();
    return rc == SQLITE_ROW ? SQLITE_DONE : rc;
}

int Statement::columnCount() const { return m_stmt ? sqlite3_column_count(m_stmt) : 0; }

QString Statement::columnName(int column) const { return QString::fromUtf8(sqlite3_column_name(m_stmt, column)); }

QVariant Statement::value(int column) const
{
    if (sqlite3_column_type(m_stmt, column) == SQLITE_NULL)
        return QVariant();
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
}

qint64 Statement::integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

bool Statement::readsOnly() const { return m_stmt && sqlite3_stmt_readonly(m_stmt); }

Database::Database(Database &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_error(other.m_error), m_errno(other.m_errno)
{
}

Database &Database::operator=(Database &&other) noexcept
{
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
        m_error = other.m_error;
        m_errno = other.m_errno;
    }
    return *this;
}

Database::~Database() { close(); }

int Database::open(const QString &path, Access access, int busyTimeoutMs)
{
    close();
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (access) {
    case Access::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Access::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Access::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    m_error = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
    if (m_db) {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, busyTimeoutMs);
        // A name in double quotes is a name: a column missing from the file is an error, not a
        // string literal that quietly matches nothing.
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    }
    m_errno = 0;
    if (m_error != SQLITE_OK) {
        if (m_db) {
            m_error = sqlite3_extended_errcode(m_db);
            m_errno = sqlite3_system_errno(m_db);
        }
        close();
    }
    return m_error;
}

void Database::close()
{
    if (m_db) {
        // Statements still open keep the connection until they go (they are owned elsewhere).
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

int Database::exec(const QString &text)
{
    if (!m_db)
        return m_error = SQLITE_MISUSE;
    const int rc = sqlite3_exec(m_db, text.toUtf8().constData(), nullptr, nullptr, nullptr);
    m_error = rc == SQLITE_OK ? SQLITE_OK : sqlite3_extended_errcode(m_db);
    return m_error;
}

int Database::column(const QString &query, QStringList *values) const
{
    Statement statement = prepare(query);
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW)
        *values << statement.text(0);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int Database::makeDurable()
{
    QStringList mode, synchronous;
    int rc = column(QStringLiteral("PRAGMA journal_mode=DELETE"), &mode);
    if (rc == SQLITE_OK && mode.value(0).compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
        rc = SQLITE_BUSY; // the engine kept another mode: another connection holds the log open
    if (rc == SQLITE_OK)
        rc = exec(QStringLiteral("PRAGMA synchronous=FULL"));
    if (rc == SQLITE_OK)
        rc = column(QStringLiteral("PRAGMA synchronous"), &synchronous);
    if (rc == SQLITE_OK && synchronous.value(0) != QLatin1String("2"))
        rc = SQLITE_ERROR;
    return rc;
}

void Database::setBusyTimeout(int milliseconds)
{
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

int Database::errorCode() const { return m_db ? sqlite3_extended_errcode(m_db) : m_error; }

int Database::systemErrno() const { return m_db ? sqlite3_system_errno(m_db) : m_errno; }

qint64 Database::lastInsertId() const { return m_db ? sqlite3_last_insert_rowid(m_db) : 0; }

int Database::changes() const { return m_db ? sqlite3_changes(m_db) : 0; }

bool Database::isReadOnly() const { return !m_db || sqlite3_db_readonly(m_db, "main") == 1; }

bool Database::hasMoved() const
{
    int moved = 0;
    return m_db && sqlite3_file_control(m_db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved;
}

} // namespace sql
