#pragma once
#include "core/data/Query.h"

#include <QStringList>
#include <QVariant>
#include <vector>

namespace sql {
class Database;
}

namespace data {

// One row of a result: a value per column, null for NULL.
using Row = std::vector<QVariant>;

// Reads the rows of one query's table from the file: the rows of given ids, or a window of the
// query's order. No statement stays open between calls, so the file is never
// held locked while a window shows the rows.
class TableReader {
public:
    TableReader(const sql::Database *db, Query query, QStringList columns);

    const Query &query() const { return m_query; }
    const QStringList &columns() const { return m_columns; }

    // The rows of these ids, in this order; false when one of them is no longer in the file.
    bool readIds(const std::vector<qint64> &ids, std::vector<Row> *rows) const;
    // limit rows of the query's order from offset, leaving out the rows whose ids are excluded;
    // reversed: counted from the end, read backwards and handed back in the query's order.
    bool readWindow(int offset, int limit, bool reversed, const std::vector<qint64> &excluded,
                    std::vector<Row> *rows) const;

private:
    bool read(const QString &sql, bool bindPattern, std::vector<Row> *rows) const;

    const sql::Database *m_db;
    Query m_query;
    QStringList m_columns;
};

// A list of ids for an SQL text: "1,2,3".
QString idList(const std::vector<qint64> &ids);

} // namespace data
