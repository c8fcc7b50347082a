#include "logbook/LogbookVariant.h"

#include "core/logbook/ListOrder.h"

namespace logbook {

const LogbookVariant kLocalLogbook{
    .name = "frm_kontaktverwaltung",
    .caption = QStringLiteral("-*local Verwaltung*-"),
    .book = Book::Local,
    .gridColumns = {{QStringLiteral("SKIP"), QStringLiteral("skip")},
                    {QStringLiteral("Vorname"), QStringLiteral("vorname")},
                    {QStringLiteral("QTH"), QStringLiteral("ort")},
                    {QStringLiteral("Kanal"), QStringLiteral("lanal")},
                    {QStringLiteral("Frequenz"), QStringLiteral("frequenz")},
                    {QStringLiteral("S-Wert"), QStringLiteral("swert")}},
    .searchOptions = {{"opt_skip", QStringLiteral("SKIP"), QStringLiteral("skip")},
                      {"opt_vorname", QStringLiteral("Vorname"), QStringLiteral("vorname")},
                      {"opt_qth", QStringLiteral("QTH"), QStringLiteral("ort")},
                      {"opt_kanal", QStringLiteral("Kanal"), QStringLiteral("lanal")},
                      {"opt_frequenz", QStringLiteral("Frequenz"), QStringLiteral("frequenz")},
                      {"opt_land", QStringLiteral("Land"), QStringLiteral("land")}},
    .remarksEnabledWithFields = true,
    .printQuery = data::Query(tableOf(Book::Local), data::Query::From::Tight).orderBy(listOrder(Book::Local)),
};

const LogbookVariant kDxLogbook{
    .name = "frm_kontaktverwaltungdx",
    .caption = QStringLiteral("-*DX Verwaltung*-"),
    .book = Book::Dx,
    .gridColumns = {{QStringLiteral("Datum"), QStringLiteral("datum")},
                    {QStringLiteral("CallSign"), QStringLiteral("callsign")},
                    {QStringLiteral("Vorname"), QStringLiteral("vorname")},
                    {QStringLiteral("Land"), QStringLiteral("land")},
                    {QStringLiteral("MOD"), QStringLiteral("band")},
                    {QStringLiteral("Frequenz"), QStringLiteral("frequenz")},
                    {QStringLiteral("S-Wert"), QStringLiteral("swert")}},
    // opt_skip searches the call sign in this window.
    .searchOptions = {{"opt_skip", QStringLiteral("CallSign"), QStringLiteral("callsign")},
                      {"opt_datum", QStringLiteral("Datum"), QStringLiteral("datum")},
                      {"opt_vorname", QStringLiteral("Vorname"), QStringLiteral("vorname")},
                      {"opt_qth", QStringLiteral("Ort"), QStringLiteral("ort")},
                      {"opt_kanal", QStringLiteral("Kanal"), QStringLiteral("lanal")},
                      {"opt_frequenz", QStringLiteral("Frequenz"), QStringLiteral("frequenz")},
                      {"opt_land", QStringLiteral("Land"), QStringLiteral("land")}},
    .remarksEnabledWithFields = false,
    .printQuery = data::Query(tableOf(Book::Dx), data::Query::From::Tight), // table order, no sort
};

} // namespace logbook
