#pragma once
#include "core/data/TableReader.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

namespace sql {
class Database;
}

namespace data {

// The edits of the current record that are not written yet: a new record, or new values for the
// record shown.
class EditBuffer {
public:
    enum class State {
        Browsing, // nothing pending
        Adding,   // a new record is pending
        Editing,  // changed values of the current record are pending
    };
    using Values = std::vector<std::pair<QString, QVariant>>;

    State state() const;
    bool isAdding() const { return m_adding; }
    bool isEmpty() const { return m_values.isEmpty(); }

    // A new, empty record; returnTo is the row shown again when it is dropped.
    void startAdding(int returnTo);
    int returnTo() const { return m_returnTo; }
    void set(const QString &column, const QVariant &value);
    // The pending value of a column (any letter case), if there is one.
    std::optional<QVariant> value(const QString &column) const;
    // Nothing pending any more.
    void clear();

    // The pending values in the order of these columns, the id column left out; false when a
    // pending column is not among them.
    bool inOrderOf(const QStringList &columns, int idColumn, Values *values) const;

private:
    bool m_adding = false;
    int m_returnTo = -1;
    QHash<QString, std::pair<QString, QVariant>> m_values; // folded name -> (name, value)
};

// Writes records of one table: insert, update and delete by row id, each a single statement that
// is on disk when it returns. Every failure comes back as a German sentence.
class TableWriter {
public:
    TableWriter(sql::Database *db, QString table, QString fileName);

    // Why nothing can be written into the open file now (read-only, replaced under us); empty
    // when it can.
    QString refusal() const;
    // Empty on success; the new row's id in *id.
    QString insert(const EditBuffer::Values &values, qint64 *id);
    QString update(qint64 id, const EditBuffer::Values &values);
    QString remove(qint64 id);
    // The row as the file holds it now, in these columns; false when it is not there.
    bool readBack(qint64 id, const QStringList &columns, Row *row) const;

private:
    QString run(const QString &sql, const EditBuffer::Values &values, std::optional<qint64> id, const QString &what);

    sql::Database *m_db;
    QString m_table;
    QString m_fileName;
};

} // namespace data
