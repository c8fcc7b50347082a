#pragma once
#include "core/exchange/AdifRecord.h"
#include "core/logbook/Contact.h"

#include <QString>
#include <optional>
#include <span>
#include <vector>

// A contact of the logbook and the fields of an ADIF record: the standard fields where a column
// has one, the program's own APP_KANALWERK_ fields for the exact texts.
namespace exchange {

class LocalClock;

using Value = std::optional<QString>; // nullopt: NULL in the logbook file
// One value per column of logbook::contactFields(), in that order.
using Contact = std::vector<Value>;

// The positions of the columns in logbook::contactFields().
struct Columns {
    int skip, vorname, ort, land, callsign, datum, uhrzeit, lanal, frequenz, band, rwert, swert, name, strasse, plz,
        tel, email, web, bemerkung, qslverschickt, qslbekommen;
};
const Columns &columns();

// The fields of the program's own: APP_KANALWERK_ followed by the column's adifApp name. A
// record with any of them was written by this program; its own fields win over the standard ones.
inline constexpr char kAppPrefix[] = "APP_KANALWERK_";
QByteArray appFieldOf(const char *name);
inline const QByteArray kBookField = appFieldOf("LOGBUCH"); // LOCAL or DX: the record's logbook
inline const QByteArray kNullField = appFieldOf("NULL");    // columns that are NULL, by app name

// The fields of one contact. Reading them back (contactOfRecord) gives every column of the book
// back as it was, character for character, NULL as NULL.
std::vector<AdifField> fieldsOfContact(const Contact &contact, logbook::Book book, Format format, LocalClock &clock);
// The same into fields, whose memory is used again.
void fieldsOfContact(const Contact &contact, logbook::Book book, Format format, LocalClock &clock,
                     std::vector<AdifField> *fields);

struct Taken {
    Contact contact;
    QString reject;                 // why the record cannot be taken, German; empty when it can
    std::vector<QByteArray> unused; // fields of the record that no column of the book takes
};
// The contact of a record, for the book given. A record of another program needs a call sign or
// a skip name and a date; one of this program's own is taken as it is.
Taken contactOfRecord(const AdifRecord &record, logbook::Book book, LocalClock &clock);

// The standard fields of a contact and the way back (StandardFields.cpp).
namespace standard {
// Adds the standard fields of the contact to out.
void write(const Contact &contact, logbook::Book book, Format format, LocalClock &clock, std::vector<AdifField> *out);
struct Read {
    Contact contact;
    std::vector<std::pair<int, QString>> errors; // column and what is wrong with its field
    std::vector<QByteArray> used;                // the fields read
};
// Without a clock the date and time are left out, and the fields read are not noted in used.
void read(std::span<const AdifField> fields, logbook::Book book, LocalClock *clock, Read *read);
} // namespace standard

} // namespace exchange
