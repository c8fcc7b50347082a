#pragma once
#include "core/data/Query.h"
#include "core/logbook/Contact.h"

#include <QString>

// The order of a logbook's list, and the index that serves it.
namespace logbook {

// The local logbook by skip in German order, the DX logbook by the date each contact names.
// Rows with the same key follow by the columns the search looks into, so that one index of the
// file holds both the order and every searched column: a search reads that index once, in
// order, and never the table.
data::Query::Order listOrder(Book book);

// The key of a date column holding dd.MM.yyyy: yyyyMMdd, in built-in functions only. A text that
// is no such date (empty, other forms) sorts after every date, by its own text.
QString dateKeySql(const QString &column);

// Creates the index of listOrder() and the one over the ids that counting uses where they are
// missing, and drops the narrower one of earlier versions: the statements to run on a logbook
// file that can be written.
QString indexSql(Book book);

} // namespace logbook
