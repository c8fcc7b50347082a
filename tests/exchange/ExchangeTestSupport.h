#pragma once
#include "core/exchange/AdifRecord.h"
#include "core/exchange/ContactMapping.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Helpers of the exchange tests, with Qt Core and SQLite alone.
namespace exchangetest {

// Puts the process into Berlin's time zone (summer and winter time), whatever the machine says.
void useBerlinTime();

// Every record of ADIF text, each as "L<line> NAME=value NAME=value" (field order kept), a
// rejected one as "L<line> ! reason"; a failure to read on as "FAIL reason" at the end.
QStringList readAll(exchange::Format format, const QByteArray &bytes);

// A contact from "column=value" pairs ("name=" gives an empty text, a column not named is NULL).
exchange::Contact contact(const QStringList &pairs);
// A contact as "column=value" pairs, NULL columns left out, "column=" for empty ones.
QStringList pairsOf(const exchange::Contact &contact, logbook::Book book);

// A fresh logbook file with both tables (and the sort indexes of the shipped one).
void createLogbook(const QString &file);
// Inserts contacts; false with a warning on failure.
bool insertContacts(const QString &file, logbook::Book book, const std::vector<exchange::Contact> &contacts);
// Every contact of a table, in the order of its ids.
std::vector<exchange::Contact> contactsIn(const QString &file, logbook::Book book);

// A seeded variety of contacts: umlauts and ß, other scripts, empty texts and NULLs, long
// multi-line remarks, CR LF, control characters, dates in summer and winter, CB channels only.
std::vector<exchange::Contact> variedContacts(int count, logbook::Book book, quint32 seed);

} // namespace exchangetest
