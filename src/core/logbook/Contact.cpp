#include "core/logbook/Contact.h"

#include <algorithm>
#include <array>

namespace logbook {
namespace {

// clang-format off
constexpr std::array<ContactField, 21> kFields{{
//   column           type                 dx     control              label             sample                        place             tab lock  print        local dx  adif       app               always
    {"skip",          "TEXT",              false, "txt_skip",          "Skip",           "Funkfreund",                 Place::Contact,    1,  2, "Skip",      1,  4, "",         "SKIP",           true},
    {"vorname",       "TEXT",              false, "txt_vorname",       "Vorname",        "Hans",                       Place::Contact,    3, 11, "Operator",  2,  5, "NAME",     "VORNAME",        true},
    {"ort",           "TEXT",              false, "txt_ort",           "QTH",            "München",                    Place::Contact,    4, 10, "QTH",       3,  6, "QTH",      "QTH",            false},
    {"land",          "TEXT",              false, "txt_land",          "Land",           "Deutschland",                Place::Contact,    5, 15, "Land",      4,  7, "COUNTRY",  "LAND",           false},
    {"callsign",      "TEXT",              false, "txt_callsign",      "CallSign",       "DL1ABC",                     Place::Contact,    2,  1, "CallSign",  0,  3, "CALL",     "CALL",           false},
    {"datum",         "TEXT",              false, "txt_datum",         "Datum",          "30.06.2006",                 Place::Contact,    6,  5, "Datum",     0,  1, "QSO_DATE", "DATUM",          true},
    {"uhrzeit",       "TEXT",              false, "txt_uhrzeit",       "Uhrzeit",        "21:45",                      Place::Contact,    7,  6, "Uhrzeit",   0,  2, "TIME_ON",  "UHRZEIT",        true},
    {"lanal",         "TEXT",              false, "txt_kanal",         "Kanal",          "12",                         Place::Contact,    8,  7, "Kanal",     6,  8, "",         "KANAL",          true},
    {"frequenz",      "TEXT",              false, "txt_frequenz",      "Frequenz",       "27,005",                     Place::Contact,    9,  8, "Frequenz",  7,  9, "FREQ",     "FREQUENZ",       false},
    {"band",          "TEXT",              false, "txt_band",          "Modulation",     "FM",                         Place::Contact,   10,  9, "Mod",       8, 10, "MODE",     "MODULATION",     false},
    {"rwert",         "TEXT",              false, "txt_rwert",         "R-Wert",         "5",                          Place::Contact,   12,  4, "R-Wert",   10, 11, "RST_SENT", "RWERT",          false},
    {"swert",         "TEXT",              false, "txt_swert",         "S-Wert",         "9+30",                       Place::Contact,   11,  3, "S-Wert",   11, 12, "RST_SENT", "SWERT",          false},
    {"name",          "TEXT",              false, "txt_name",          "Nachname",       "Mustermann",                 Place::Personal,  13, 12, nullptr,     0,  0, "NAME",     "NACHNAME",       true},
    {"strasse",       "TEXT",              false, "txt_strasse",       "Straße",         "Hauptstraße 1",              Place::Personal,  14, 13, nullptr,     0,  0, "ADDRESS",  "STRASSE",        true},
    {"plz",           "TEXT",              false, "txt_plz",           "PLZ",            "80331",                      Place::Personal,  15, 14, nullptr,     0,  0, "ADDRESS",  "PLZ",            true},
    {"tel",           "TEXT",              false, "txt_tel",           "Tel.",           "089 1234567",                Place::Personal,  16, 16, nullptr,     0,  0, "",         "TEL",            true},
    {"email",         "TEXT",              false, "txt_email",         "email",          "hans@example.org",           Place::Personal,  17, 17, nullptr,     0,  0, "EMAIL",    "EMAIL",          false},
    {"web",           "TEXT",              false, "txt_web",           "web",            "www.example.org",            Place::Personal,  18, 18, nullptr,     0,  0, "WEB",      "WEB",            false},
    {"bemerkung",     "TEXT",              false, "RichTextBox1",      "",               "Bemerkungen zur Verbindung", Place::Remarks,   19,  0, nullptr,     0,  0, "COMMENT",  "BEMERKUNG",      false},
    {"qslverschickt", "INTEGER DEFAULT 0", true,  "chk_qslverschickt", "QSL verschickt", "",                           Place::Qsl,       20,  0, nullptr,     0,  0, "QSL_SENT", "QSL_VERSCHICKT", false},
    {"qslbekommen",   "INTEGER DEFAULT 0", true,  "chk_qslbekommen",   "QSL bekommen",   "",                           Place::Qsl,       21,  0, nullptr,     0,  0, "QSL_RCVD", "QSL_BEKOMMEN",   false},
}};
// clang-format on

bool inBook(const ContactField &f, Book book) { return book == Book::Dx || !f.dxOnly; }

std::vector<const ContactField *> sortedBy(std::vector<const ContactField *> fields, int ContactField::*key)
{
    std::stable_sort(fields.begin(), fields.end(),
                     [key](const ContactField *a, const ContactField *b) { return a->*key < b->*key; });
    return fields;
}

} // namespace

std::span<const ContactField> contactFields() { return kFields; }

std::vector<const ContactField *> fieldsOf(Book book)
{
    std::vector<const ContactField *> fields;
    for (const ContactField &f : kFields)
        if (inBook(f, book))
            fields.push_back(&f);
    return fields;
}

std::vector<const ContactField *> fieldsInTabOrder(Book book)
{
    return sortedBy(fieldsOf(book), &ContactField::tabOrder);
}

std::vector<const ContactField *> fieldsInLockOrder()
{
    std::vector<const ContactField *> fields;
    for (const ContactField &f : kFields)
        if (f.lockOrder > 0)
            fields.push_back(&f);
    return sortedBy(fields, &ContactField::lockOrder);
}

const ContactField *fieldOf(const QString &column)
{
    for (const ContactField &f : kFields)
        if (column.compare(QLatin1String(f.column), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString tableOf(Book book) { return book == Book::Local ? QStringLiteral("Kontakt") : QStringLiteral("Kontakt_dx"); }

QStringList columnsOf(Book book)
{
    QStringList columns;
    for (const ContactField *f : fieldsOf(book))
        columns << QString::fromLatin1(f->column);
    return columns;
}

QString createTableSql(Book book)
{
    QStringList columns{QStringLiteral("id INTEGER PRIMARY KEY")};
    for (const ContactField *f : fieldsOf(book))
        columns << QStringLiteral("%1 %2").arg(QString::fromLatin1(f->column), QString::fromLatin1(f->sqlType));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(tableOf(book), columns.join(QStringLiteral(", ")));
}

} // namespace logbook
