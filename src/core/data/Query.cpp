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
    m_order = column;
    return *this;
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
    if (!m_order.isEmpty())
        sql += QStringLiteral(" order by %1 asc").arg(m_order);
    return sql;
}

QString Query::engineSql(const QString &extraCondition, bool reverse, const QString &select) const
{
    QString sql = QStringLiteral("select %1 from ").arg(select) + quotedName(m_table);
    QStringList conditions;
    if (m_filter)
        conditions << quotedName(m_filter->column) + QStringLiteral(" like ?1");
    if (!extraCondition.isEmpty())
        conditions << extraCondition;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    const QString direction = reverse ? QStringLiteral(" desc") : QString();
    if (m_order.isEmpty())
        sql += QStringLiteral(" order by rowid") + direction;
    else
        sql += QStringLiteral(" order by %1%3, %2%3, rowid%3").arg(sortKeySql(m_order), quotedName(m_order), direction);
    return sql;
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
