#include "core/data/EditBuffer.h"

#include "core/data/Query.h"
#include "core/sql/Sqlite.h"

#include <sqlite3.h>

namespace data {

EditBuffer::State EditBuffer::state() const
{
    if (m_adding)
        return State::Adding;
    return m_values.isEmpty() ? State::Browsing : State::Editing;
}

void EditBuffer::startAdding(int returnTo)
{
    if (!m_adding)
        m_returnTo = returnTo;
    m_adding = true;
    m_values.clear();
}

void EditBuffer::set(const QString &column, const QVariant &value)
{
    m_values.insert(column.toCaseFolded(), {column, value});
}

std::optional<QVariant> EditBuffer::value(const QString &column) const
{
    const auto it = m_values.constFind(column.toCaseFolded());
    if (it == m_values.constEnd())
        return std::nullopt;
    return it->second;
}

void EditBuffer::clear()
{
    m_adding = false;
    m_values.clear();
}

bool EditBuffer::inOrderOf(const QStringList &columns, int idColumn, Values *values) const
{
    int known = 0;
    for (int c = 0; c < int(columns.size()); ++c) {
        const auto it = m_values.constFind(columns.at(c).toCaseFolded());
        if (it == m_values.constEnd())
            continue;
        ++known;
        if (c != idColumn) // the id is the engine's
            values->push_back({columns.at(c), it->second});
    }
    return known == int(m_values.size());
}

TableWriter::TableWriter(sql::Database *db, QString table, QString fileName)
    : m_db(db), m_table(std::move(table)), m_fileName(std::move(fileName))
{
}

QString TableWriter::refusal() const
{
    if (m_db->isReadOnly())
        return sql::engineMessage(SQLITE_READONLY);
    // A file deleted, renamed or replaced under the open connection would take the write into a
    // file nobody sees again.
    if (m_db->hasMoved())
        return QStringLiteral("Die Datei %1 wurde gelöscht, umbenannt oder ersetzt, während das Fenster offen war.")
            .arg(m_fileName);
    return {};
}

QString TableWriter::run(const QString &sql, const EditBuffer::Values &values, std::optional<qint64> id,
                         const QString &what)
{
    sql::Statement statement = m_db->prepare(sql);
    int index = 1;
    for (const auto &value : values)
        statement.bind(index++, value.second);
    if (id)
        statement.bind(index, *id);
    const int rc = statement.ok() ? statement.run() : statement.resultCode();
    if (rc != SQLITE_DONE)
        return what + QLatin1Char(' ') + sql::engineMessage(rc, m_db->systemErrno());
    return {};
}

QString TableWriter::insert(const EditBuffer::Values &values, qint64 *id)
{
    QStringList names, marks;
    for (const auto &value : values) {
        names << quotedName(value.first);
        marks << QStringLiteral("?");
    }
    const QString sql = names.isEmpty() ? QStringLiteral("insert into %1 default values").arg(quotedName(m_table))
                                        : QStringLiteral("insert into %1 (%2) values (%3)")
                                              .arg(quotedName(m_table), names.join(','), marks.join(','));
    const QString error = run(sql, values, std::nullopt, QStringLiteral("Der Datensatz wurde nicht gespeichert."));
    if (error.isEmpty())
        *id = m_db->lastInsertId();
    return error;
}

QString TableWriter::update(qint64 id, const EditBuffer::Values &values)
{
    QStringList sets;
    for (const auto &value : values)
        sets << quotedName(value.first) + QStringLiteral("=?");
    const QString sql = QStringLiteral("update %1 set %2 where rowid=?").arg(quotedName(m_table), sets.join(','));
    const QString error = run(sql, values, id, QStringLiteral("Der Datensatz wurde nicht gespeichert."));
    if (error.isEmpty() && m_db->changes() != 1)
        return QStringLiteral("Der Datensatz wurde nicht gespeichert. Er ist nicht mehr in der Datei vorhanden.");
    return error;
}

QString TableWriter::remove(qint64 id)
{
    return run(QStringLiteral("delete from %1 where rowid=?").arg(quotedName(m_table)), {}, id,
               QStringLiteral("Der Datensatz wurde nicht gelöscht."));
}

bool TableWriter::readBack(qint64 id, const QStringList &columns, Row *row) const
{
    QStringList names;
    for (const QString &c : columns)
        names << quotedName(c);
    sql::Statement statement =
        m_db->prepare(QStringLiteral("select %1 from %2 where rowid=?").arg(names.join(','), quotedName(m_table)));
    statement.bind(1, id);
    if (!statement.next())
        return false;
    row->assign(size_t(columns.size()), QVariant());
    for (int c = 0; c < int(columns.size()); ++c)
        (*row)[size_t(c)] = statement.value(c);
    return true;
}

} // namespace data
