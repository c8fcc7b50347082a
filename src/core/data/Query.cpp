#include "core/data/Query.h"

#include "core/data/SqlLike.h"

#include <QStringList>

namespace data {

Query::Query(QString table, From from) : m_table(std::move(table)), m_from(from) {}

Query &Query::where(const QString &column, const QString &pattern, const QString &keyword)
{
    m_filter = Filter{column, pattern, keyword};
    return *this;
}

Query &Query::whereContains(const QString &column, const QString &text, const QString &keyword)
{
    return where(column, QLatin1Char('%') + text + QLatin1Char('%'), keyword);
}

Query &Query::orderBy(const QString &column)
{
    m_order = column.isEmpty() ? Order{} : Order{sortKeySql(column), {column}, {}};
    return *this;
}

Query &Query::orderBy(Order order)
{
    m_order = std::move(order);
    return *this;
}

Query Query::withoutIndex() const
{
    Query query = *this;
    query.m_order.index.clear();
    return query;
}

QString Query::text() const
{
    QString sql = QStringLiteral("select * from");
    switch (m_from) {
    case From::Bare:
        sql += QLatin1Char(' ') + m_table;
        break;
    case From::Bracketed:
        sql += QStringLiteral(" [") + m_table + QLatin1Char(']');
        break;
    case From::Tight:
        sql += QLatin1Char('[') + m_table + QLatin1Char(']');
        break;
    }
    if (m_filter)
        sql += QStringLiteral(" where %1 %2 ").arg(m_filter->column, m_filter->keyword) + sqlText(m_filter->pattern);
    if (!m_order.columns.isEmpty())
        sql += QStringLiteral(" order by %1 asc").arg(m_order.columns.first());
    return sql;
}

QString Query::engineSql() const { return engineSql(Select{}); }

QString Query::engineSql(const Select &select) const
{
    QString sql = QStringLiteral("select %1 from %2").arg(select.columns, quotedName(m_table));
    if (select.byIndex && !m_order.index.isEmpty())
        sql += QStringLiteral(" indexed by ") + quotedName(m_order.index);
    QStringList conditions;
    if (m_filter)
        conditions << quotedName(m_filter->column) + QStringLiteral(" like ?1");
    if (!select.condition.isEmpty())
        conditions << select.condition;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    const QString direction = select.reversed ? QStringLiteral(" desc") : QString();
    QStringList terms;
    if (!m_order.key.isEmpty())
        terms << m_order.key + direction;
    for (const QString &column : m_order.columns)
        terms << quotedName(column) + direction;
    terms << QStringLiteral("rowid") + direction;
    return sql + QStringLiteral(" order by ") + terms.join(QStringLiteral(", "));
}

QString quotedName(const QString &name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString sortKeySql(const QString &column)
{
    // lower() of SQLite folds ASCII letters only, so the German letters are mapped first.
    QString key = quotedName(column);
    for (const auto &[from, to] : {std::pair{"Ä", "a"}, std::pair{"ä", "a"}, std::pair{"Ö", "o"}, std::pair{"ö", "o"},
                                   std::pair{"Ü", "u"}, std::pair{"ü", "u"}, std::pair{"ß", "ss"}})
        key = QStringLiteral("replace(%1,'%2','%3')").arg(key, QString::fromUtf8(from), QString::fromUtf8(to));
    return QStringLiteral("lower(%1)").arg(key);
}

} // namespace data
