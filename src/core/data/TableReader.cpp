#include "core/data/TableReader.h"

#include "core/sql/Sqlite.h"

#include <QHash>
#include <algorithm>
#include <sqlite3.h>

namespace data {

QString idList(const std::vector<qint64> &ids)
{
    QStringList list;
    list.reserve(qsizetype(ids.size()));
    for (const qint64 id : ids)
        list << QString::number(id);
    return list.join(QLatin1Char(','));
}

TableReader::TableReader(const sql::Database *db, Query query, QStringList columns)
    : m_db(db), m_query(std::move(query)), m_columns(std::move(columns))
{
}

bool TableReader::read(const QString &sql, bool bindPattern, std::vector<Row> *rows) const
{
    sql::Statement statement = m_db->prepare(sql);
    if (!statement.ok())
        return false;
    if (bindPattern && m_query.filter()) // bound, never spliced into the text
        statement.bind(1, m_query.filter()->pattern);
    const int columns = statement.columnCount();
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW) {
        Row row(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c)
            row[size_t(c)] = statement.value(c);
        rows->push_back(std::move(row));
    }
    return rc == SQLITE_DONE;
}

bool TableReader::readIds(const std::vector<qint64> &ids, std::vector<Row> *rows) const
{
    std::vector<Row> found;
    if (!read(
            QStringLiteral("select rowid, * from %1 where rowid in (%2)").arg(quotedName(m_query.table()), idList(ids)),
            false, &found))
        return false;
    QHash<qint64, size_t> at;
    for (size_t i = 0; i < found.size(); ++i)
        at.insert(found[i].front().toLongLong(), i);
    for (const qint64 id : ids) {
        const auto it = at.constFind(id);
        if (it == at.constEnd()) // gone from the file since the result was made
            return false;
        Row &row = found[*it];
        row.erase(row.begin()); // the rowid asked for
        rows->push_back(std::move(row));
    }
    return true;
}

bool TableReader::readWindow(int offset, int limit, bool reversed, const std::vector<qint64> &excluded,
                             std::vector<Row> *rows) const
{
    const QString exclusion = excluded.empty() ? QString() : QStringLiteral("rowid not in (%1)").arg(idList(excluded));
    const QString sql = m_query.engineSql({.condition = exclusion, .reversed = reversed})
                        + QStringLiteral(" limit %1 offset %2").arg(limit).arg(offset);
    if (!read(sql, true, rows))
        return false;
    if (reversed)
        std::reverse(rows->begin(), rows->end());
    return int(rows->size()) == limit;
}

} // namespace data
