#include "data/RecordSource.h"

#include "data/SqlLike.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace data {
namespace {
// Rows kept from the first pass: the first page of an unfiltered result, or every row of a
// filtered one up to this many. Rows past them are read in windows when first asked for.
constexpr int kFirstPage = 100;
constexpr int kFilteredRows = 5000;
constexpr int kChunk = 256;

QVariant columnValue(sqlite3_stmt *stmt, int col)
{
    if (sqlite3_column_type(stmt, col) == SQLITE_NULL)
        return QVariant();
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, col));
}
} // namespace

RecordSource::RecordSource(QObject *parent) : QObject(parent) {}

RecordSource::~RecordSource() { close(); }

bool RecordSource::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool RecordSource::open(const QString &fileName, Mode mode)
{
    close();
    m_fileName = fileName;
    if (!QFileInfo(fileName).isFile())
        return fail(QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(fileName));
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE)
        | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(fileName).constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return fail(QStringLiteral("Die Datei %1 kann nicht geöffnet werden.").arg(fileName));
    }
    // A file that is not a database opens fine and fails at its first statement.
    if (sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return fail(QStringLiteral("Die Datei %1 ist keine lesbare Datenbank.").arg(fileName));
    }
    sqlite3_busy_timeout(db, 15000);
    registerLike(db);
    m_db = db;
    m_error.clear();
    return true;
}

void RecordSource::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_rows.clear();
    m_window.clear();
    m_resultSql.clear();
    m_columns.clear();
    m_columnIndex.clear();
    m_count = 0;
    m_current = -1;
    m_adding = false;
    m_pending.clear();
}

bool RecordSource::refresh()
{
    if (!m_db)
        return fail(m_error.isEmpty() ? QStringLiteral("Die Datenbank ist nicht geöffnet.") : m_error);
    m_adding = false;
    m_pending.clear();

    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = m_sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK || !stmt) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(stmt);
        return fail(message.isEmpty() ? QStringLiteral("Leere Abfrage") : message);
    }
    const int columnCount = sqlite3_column_count(stmt);
    QStringList columns;
    QHash<QString, int> index;
    for (int c = 0; c < columnCount; ++c) 
        columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
    // The first of two equal names wins.
    for (int c = columnCount - 1; c >= 0; --c)
        index.insert(columns.at(c).toCaseFolded(), c);

    // Exact count and first page. Without a filter SQLite counts far faster than it steps
    // (count(*) reads the smallest index); with one, every row has to be tested anyway, so one
    // pass counts and keeps the first page.
    std::vector<Row> rows;
    int count = 0;
    auto readRow = [&] {
        Row row(static_cast<size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c)
            row[size_t(c)] = columnValue(stmt, c);
        rows.push_back(std::move(row));
    };
    auto stepError = [&] {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(stmt);
        return fail(message);
    };
    static const QRegularExpression filtered(QStringLiteral("\\bwhere\\b"), QRegularExpression::CaseInsensitiveOption);
    const std::optional<int> fastCount = filtered.match(m_sql).hasMatch() ? std::nullopt : countRows();
    if (fastCount) {
        count = *fastCount;
        while (int(rows.size()) < std::min(count, kFirstPage)) {
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_DONE)
                break;
            if (rc != SQLITE_ROW)
                return stepError();
            readRow();
        }
    } else {
        for (;;) {
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_DONE)
                break;
            if (rc != SQLITE_ROW)
                return stepError();
            if (count < kFilteredRows)
                readRow();
            ++count;
        }
    }
    sqlite3_finalize(stmt);

    m_columns = columns;
    m_columnIndex = index;
    m_rows = std::move(rows);
    m_window.clear();
    m_resultSql = m_sql;
    m_count = count;
    m_current = 0;
    m_error.clear();
    emit refreshed();
    emit currentChanged(m_current);
    return true;
}

std::optional<int> RecordSource::countRows() const
{
    // The sort order does not change the count, and SQLite flattens the subquery only without it.
    static const QRegularExpression orderBy(QStringLiteral("\\s+order\\s+by\\s+[^()']*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString unsorted = m_sql;
    unsorted.remove(orderBy);
    const QByteArray sql = QStringLiteral("select count(*) from (%1)").arg(unsorted).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    std::optional<int> count;
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        count = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return count;
}

bool RecordSource::readRows(int offset, int limit, std::vector<Row> *rows) const
{
    const QByteArray sql = QStringLiteral("%1 limit %2 offset %3").arg(m_resultSql.trimmed()).arg(limit).arg(offset).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return false;
    }
    const int columnCount = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        Row values(static_cast<size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c)
            values[size_t(c)] = columnValue(stmt, c);
        rows->push_back(std::move(values));
    }
    sqlite3_finalize(stmt);
    return true;
}

const RecordSource::Row *RecordSource::row(int index) const
{
    if (index < 0 || index >= m_count)
        return nullptr;
    if (index < int(m_rows.size()))
        return &m_rows[size_t(index)];
    if (index >= m_windowStart && index < m_windowStart + int(m_window.size()))
        return &m_window[size_t(index - m_windowStart)];
    // A window around the row, a little of it above, so scrolling either way stays in it.
    const int start = std::max(int(m_rows.size()), index - kChunk / 4);
    std::vector<Row> window;
    if (!m_db || !readRows(start, kChunk, &window))
        return nullptr;
    m_windowStart = start;
    m_window = std::move(window);
    if (index - m_windowStart < int(m_window.size()))
        return &m_window[size_t(index - m_windowStart)];
    return nullptr;
}

int RecordSource::columnIndex(const QString &name) const
{
    return m_columnIndex.value(name.toCaseFolded(), -1);
}

void RecordSource::setCurrentRow(int row)
{
    if (m_adding || !m_pending.isEmpty()) {
        m_adding = false;
        m_pending.clear();
    }
    m_current = std::clamp(row, -1, m_count);
    emit currentChanged(m_current);
}

void RecordSource::move(int rows) { setCurrentRow(m_current + rows); }

QVariant RecordSource::value(int row, int column) const
{
    const Row *values = column >= 0 && column < int(m_columns.size()) ? this->row(row) : nullptr;
    return values ? (*values)[size_t(column)] : QVariant();
}

QVariant RecordSource::field(const QString &name) const
{
    const int column = columnIndex(name);
    if (column < 0)
        return QVariant();
    if (m_pending.contains(column))
        return m_pending.value(column);
    if (m_adding)
        return QVariant();
    return value(m_current, column);
}

int RecordSource::positionOfId(const QVariant &id) const
{
    const int idColumn = columnIndex(QStringLiteral("id"));
    if (idColumn < 0)
        return -1;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i][size_t(idColumn)] == id)
            return int(i);
    if (int(m_rows.size()) >= m_count)
        return -1;
    // Past the rows in memory: walk the result reading the id alone.
    const QByteArray sql = m_resultSql.toUtf8();
    const QByteArray wanted = id.toString().toUtf8();
    sqlite3_stmt *stmt = nullptr;
    int position = -1;
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) == SQLITE_OK) {
        for (int i = 0; sqlite3_step(stmt) == SQLITE_ROW; ++i) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, idColumn));
            if (text && wanted == text) {
                position = i;
                break;
            }
        }
    }
    sqlite3_finalize(stmt);
    return position;
}

QString RecordSource::tableName() const
{
    static const QRegularExpression re(QStringLiteral(R"(\bfrom\s*\[?([A-Za-z_][A-Za-z0-9_]*)\]?)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto match = re.match(m_resultSql);
    return match.hasMatch() ? match.captured(1) : QString();
}

bool RecordSource::execWrite(const QString &sql, const QVariantList &binds, QString *error)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(stmt);
        return false;
    }
    for (int i = 0; i < binds.size(); ++i) {
        const QVariant &v = binds.at(i);
        if (v.isNull()) {
            sqlite3_bind_null(stmt, i + 1);
        } else if (v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::Int
                   || v.typeId() == QMetaType::LongLong) {
            sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
        } else {
            const QByteArray s = v.toString().toUtf8();
            sqlite3_bind_text(stmt, i + 1, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        }
    }
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        *error = QString::fromUtf8(sqlite3_errmsg(m_db));
        return false;
    }
    return true;
}

bool RecordSource::addNew()
{
    if (!m_db)
        return fail(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    if (m_columns.isEmpty())
        return fail(QStringLiteral("Keine Abfrage geladen."));
    m_pending.clear();
    m_adding = true;
    emit currentChanged(m_current);
    return true;
}

void RecordSource::setField(const QString &name, const QVariant &value)
{
    const int column = columnIndex(name);
    if (column >= 0)
        m_pending.insert(column, value);
}

bool RecordSource::update()
{
    if (!m_db)
        return fail(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    if (!m_adding && m_pending.isEmpty())
        return true;
    const QString table = tableName();
    const int idColumn = columnIndex(QStringLiteral("id"));
    if (table.isEmpty())
        return fail(QStringLiteral("Die Tabelle der Abfrage ist unbekannt."));

    QStringList names;
    QVariantList binds;
    QList<int> pendingColumns = m_pending.keys();
    std::sort(pendingColumns.begin(), pendingColumns.end());
    for (int column : pendingColumns) {
        if (column == idColumn)
            continue;
        names << QLatin1Char('"') + m_columns.at(column) + QLatin1Char('"');
        binds << m_pending.value(column);
    }
    QString error;
    if (m_adding) {
        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("insert into \"%1\" default values").arg(table);
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("insert into \"%1\" (%2) values (%3)")
                      .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        }
        if (!execWrite(sql, binds, &error))
            return fail(error);
        // The result is read again; the new record becomes the current one.
        const QString id = QString::number(sqlite3_last_insert_rowid(m_db));
        if (!refresh())
            return false;
        const int position = positionOfId(id);
        setCurrentRow(position >= 0 ? position : m_count - 1);
        return true;
    }
    if (idColumn < 0)
        return fail(QStringLiteral("Der Datensatz hat keine Kennung und kann nicht gespeichert werden."));
    if (m_current < 0 || m_current >= m_count)
        return fail(QStringLiteral("Kein aktueller Datensatz."));
    const Row *current = row(m_current);
    if (!current)
        return fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    QStringList sets;
    for (const QString &n : names)
        sets << n + QStringLiteral("=?");
    binds << (*current)[size_t(idColumn)];
    if (!sets.isEmpty()
        && !execWrite(QStringLiteral("update \"%1\" set %2 where id=?").arg(table, sets.join(QLatin1Char(','))),
                      binds, &error))
        return fail(error);
    // The row keeps its place in the result, as it does until the next refresh.
    Row *cached = const_cast<Row *>(current);
    for (int column : pendingColumns)
        if (column != idColumn)
            (*cached)[size_t(column)] = m_pending.value(column);
    m_pending.clear();
    emit rowChanged(m_current);
    emit currentChanged(m_current);
    return true;
}

bool RecordSource::deleteCurrent()
{
    if (!m_db)
        return fail(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    const int idColumn = columnIndex(QStringLiteral("id"));
    const Row *current = row(m_current);
    if (eof() || idColumn < 0 || !current)
        return fail(QStringLiteral("Kein Datensatz zum Löschen."));
    QString error;
    if (!execWrite(QStringLiteral("delete from \"%1\" where id=?").arg(tableName()), {(*current)[size_t(idColumn)]},
                   &error))
        return fail(error);
    const int position = m_current;
    if (!refresh())
        return false;
    setCurrentRow(std::min(position, std::max(0, m_count - 1)));
    return true;
}

void RecordSource::cancel()
{
    m_adding = false;
    m_pending.clear();
    emit currentChanged(m_current);
}

} // namespace data
