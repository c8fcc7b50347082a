#include "core/logbook/ListOrder.h"

#include <QStringList>

namespace logbook {
namespace {

// The columns the search options look into, after the column of the order.
QStringList searchedColumns(Book book)
{
    if (book == Book::Local)
        return {QStringLiteral("skip"),  QStringLiteral("vorname"),  QStringLiteral("ort"),
                QStringLiteral("lanal"), QStringLiteral("frequenz"), QStringLiteral("land")};
    return {QStringLiteral("datum"), QStringLiteral("callsign"), QStringLiteral("vorname"), QStringLiteral("ort"),
            QStringLiteral("lanal"), QStringLiteral("frequenz"), QStringLiteral("land")};
}

} // namespace

QString dateKeySql(const QString &column)
{
    const QString c = data::quotedName(column);
    return QStringLiteral("(case when %1 glob '[0-3][0-9].[01][0-9].[0-9][0-9][0-9][0-9]' then "
                          "substr(%1,7,4)||substr(%1,4,2)||substr(%1,1,2) else '~'||ifnull(%1,'') end)")
        .arg(c);
}

data::Query::Order listOrder(Book book)
{
    const QString table = tableOf(book);
    const QStringList columns = searchedColumns(book);
    const QString key = book == Book::Local ? data::sortKeySql(columns.first()) : dateKeySql(columns.first());
    return {key, columns, table + QStringLiteral("_liste")};
}

QString indexSql(Book book)
{
    const data::Query::Order order = listOrder(book);
    QStringList terms{order.key};
    for (const QString &column : order.columns)
        terms << data::quotedName(column);
    const QString table = tableOf(book);
    // The engine counts the rows of a table in its narrowest index: the one over the ids alone
    // is a fraction of the list's, which makes opening the full list of a large logbook quick.
    return QStringLiteral("drop index if exists %1; create index if not exists %2 on %3 (%4); "
                          "create index if not exists %5 on %3 (id);")
        .arg(data::quotedName(table + QStringLiteral("_sort_") + order.columns.first()), data::quotedName(order.index),
             data::quotedName(table), terms.join(QStringLiteral(", ")),
             data::quotedName(table + QStringLiteral("_anzahl")));
}

} // namespace logbook
