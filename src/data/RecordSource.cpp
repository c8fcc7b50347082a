#include "data/RecordSource.h"

#include "data/SqlLike.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace data {
namespace {
// Rows read with the count pass; everything after them is read when it is first asked for.
constexpr int kFirstPage = 100;
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

void RecordSource::finalizeCursor()
{
    if (m_cursor) {
        sqlite3_finalize(m_cursor);
        m_cursor = nullptr;
    }
    m_cursorPos = 0;
}

void RecordSource::close()
{
    finalizeCursor();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_rows.clear();
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
    finalizeCursor();

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

    // One pass gives the exact count; only the first page is read into memory.
    std::vector<Row> rows;
    int count = 0;
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
            sqlite3_finalize(stmt);
            return fail(message);
        }
        if (count < kFirstPage) {
            Row row(static_cast<size_t>(columnCount));
            for (int c = 0; c < columnCount; ++c)
                row[size_t(c)] = columnValue(stmt, c);
            rows.push_back(std::move(row));
        }
        ++count;
    }
    sqlite3_reset(stmt);
    if (count > int(rows.size()))
        m_cursor = stmt;
    else
        sqlite3_finalize(stmt);

    m_columns = columns;
    m_columnIndex = index;
    m_rows = std::move(rows);
    m_count = count;
    m_current = 0;
    m_error.clear();
    emit refreshed();
    emit currentChanged(m_current);
    return true;
}

bool RecordSource::ensureLoaded(int row) const
{
    if (row < 0 || row >= m_count)
        return false;
    if (row < int(m_rows.size()))
        return true;
    if (!m_cursor)
        return false;
    const int columnCount = int(m_columns.size());
    while (m_cursorPos < int(m_rows.size())) {
        if (sqlite3_step(m_cursor) != SQLITE_ROW)
            return false;
        ++m_cursorPos;
    }
    const int target = std::min(m_count - 1, row + kChunk);
    while (int(m_rows.size()) <= target) {
        if (sqlite3_step(m_cursor) != SQLITE_ROW)
            break;
        Row values(static_cast<size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c)
            values[size_t(c)] = columnValue(m_cursor, c);
        m_rows.push_back(std::move(values));
        ++m_cursorPos;
    }
    return row < int(m_rows.size());
}

bool RecordSource::loadAll() const
{
    if (m_count > 0 && !ensureLoaded(m_count - 1))
        return false;
    const_cast<RecordSource *>(this)->finalizeCursor();
    return true;
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
    if (column < 0 || column >= int(m_columns.size()) || !ensureLoaded(row))
        return QVariant();
    return m_rows[size_t(row)][size_t(column)];
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

QString RecordSource::tableName() const
{
    static const QRegularExpression re(QStringLiteral(R"(\bfrom\s*\[?([A-Za-z_][A-Za-z0-9_]*)\]?)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto match = re.match(m_sql);
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
    if (!loadAll())
        return fail(QString::fromUtf8(sqlite3_errmsg(m_db)));

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
        // The new record joins the end of the result and becomes the current one.
        const qint64 id = sqlite3_last_insert_rowid(m_db);
        Row row(static_cast<size_t>(m_columns.size()));
        for (int c = 0; c < int(m_columns.size()); ++c)
            row[size_t(c)] = m_pending.value(c);
        if (idColumn >= 0)
            row[size_t(idColumn)] = QString::number(id);
        m_rows.push_back(std::move(row));
        ++m_count;
        m_adding = false;
        m_pending.clear();
        m_current = m_count - 1;
        emit refreshed();
        emit currentChanged(m_current);
        return true;
    }
    if (idColumn < 0)
        return fail(QStringLiteral("Der Datensatz hat keine Kennung und kann nicht gespeichert werden."));
    if (m_current < 0 || m_current >= m_count)
        return fail(QStringLiteral("Kein aktueller Datensatz."));
    QStringList sets;
    for (const QString &n : names)
        sets << n + QStringLiteral("=?");
    binds << m_rows[size_t(m_current)][size_t(idColumn)];
    if (!sets.isEmpty()
        && !execWrite(QStringLiteral("update \"%1\" set %2 where id=?").arg(table, sets.join(QLatin1Char(','))),
                      binds, &error))
        return fail(error);
    for (int column : pendingColumns)
        if (column != idColumn)
            m_rows[size_t(m_current)][size_t(column)] = m_pending.value(column);
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
    if (eof() || idColumn < 0)
        return fail(QStringLiteral("Kein Datensatz zum Löschen."));
    if (!loadAll())
        return fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    QString error;
    if (!execWrite(QStringLiteral("delete from \"%1\" where id=?").arg(tableName()),
                   {m_rows[size_t(m_current)][size_t(idColumn)]}, &error))
        return fail(error);
    m_rows.erase(m_rows.begin() + m_current);
    --m_count;
    m_pending.clear();
    m_adding = false;
    if (m_current >= m_count)
        m_current = m_count > 0 ? m_count - 1 : 0;
    emit refreshed();
    emit currentChanged(m_current);
    return true;
}

void RecordSource::cancel()
{
    m_adding = false;
    m_pending.clear();
    emit currentChanged(m_current);
}

} // namespace data
