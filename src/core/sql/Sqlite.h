#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// A thin layer over SQLite's C API: a connection and a statement that clean up after themselves,
// and the engine's failures in German. Every part of the program that opens a database file goes
// through it.
namespace sql {

// A German text for an SQLite result code, never the engine's own English. Where the engine could
// not read or write the file, the operating system's error (errno) names the cause.
QString engineMessage(int resultCode, int systemErrno = 0);

// One prepared statement; finalized when it goes. Values are bound by position (from 1).
class Statement {
public:
    Statement() = default;
    Statement(sqlite3 *db, const QString &text);
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    ~Statement();

    // Whether the text was prepared; resultCode() says why not.
    bool ok() const { return m_stmt != nullptr; }
    int resultCode() const { return m_rc; }

    // NULL for a null value, an integer for a bool or whole number, else the value's text.
    Statement &bind(int index, const QVariant &value);
    Statement &bind(int index, qint64 value);
    Statement &bind(int index, const QString &text);

    // SQLITE_ROW while there are rows, SQLITE_DONE at the end, else the failure's result code.
    int step();
    bool next(); // step() gave a row
    void reset();
    // Runs a statement that returns no rows; its result code (SQLITE_DONE on success).
    int run();

    int columnCount() const;
    QString columnName(int column) const;
    // A column of the current row: null for NULL, otherwise its text (numbers as the engine writes them).
    QVariant value(int column) const;
    QString text(int column) const { return value(column).toString(); }
    qint64 integer(int column) const;
    // Whether the statement only reads.
    bool readsOnly() const;

    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt = nullptr;
    int m_rc = 0;
};

// One connection to a database file; closed when it goes. Extended result codes are on.
class Database {
public:
    enum class Access {
        ReadOnly,  // never writes, never creates
        ReadWrite, // writes an existing file, never creates one
        Create,    // writes, creating the file when it is missing
    };

    Database() = default;
    Database(Database &&other) noexcept;
    Database &operator=(Database &&other) noexcept;
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;
    ~Database();

    // SQLITE_OK, or the result code of the failure (the connection is then closed).
    int open(const QString &path, Access access, int busyTimeoutMs = 3000);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    Statement prepare(const QString &text) const { return Statement(m_db, text); }
    // Runs one or more statements that return no rows; SQLITE_OK or the failure's result code.
    int exec(const QString &text);
    // The first column of every row of a query, as text; SQLITE_OK or the failure's result code.
    int column(const QString &query, QStringList *values) const;

    // Puts the file into a rollback journal synced on every commit, so that a saved record is
    // on disk and the file stands alone (no write-ahead log beside it); checks that the engine
    // took both settings. SQLITE_OK, or a failure's result code when it did not (SQLITE_BUSY when
    // another program keeps the file in write-ahead-log mode).
    int makeDurable();
    void setBusyTimeout(int milliseconds);

    int errorCode() const;   // extended result code of the last call that failed
    int systemErrno() const; // the operating system's error behind it, 0 if none
    qint64 lastInsertId() const;
    int changes() const;
    bool isReadOnly() const;
    // Whether the file was deleted, renamed or replaced since it was opened.
    bool hasMoved() const;

private:
    sqlite3 *m_db = nullptr;
    int m_error = 0; // of open() and exec()
    int m_errno = 0; // behind a failed open()
};

} // namespace sql
