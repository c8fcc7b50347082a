#include "core/exchange/ContactMapping.h"

#include "core/exchange/AdifText.h"
#include "core/exchange/LocalClock.h"

#include <algorithm>

namespace exchange {
namespace {

using logbook::Book;
using logbook::ContactField;

int indexOf(const char *column)
{
    const ContactField *f = logbook::fieldOf(QLatin1String(column));
    return f ? int(f - logbook::contactFields().data()) : -1;
}

// In ADX a text XML cannot carry goes into its own field as Base64 of its UTF-8.
const QByteArray kBase64Suffix = "_BASE64";

bool inBook(const ContactField &f, Book book) { return book == Book::Dx || !f.dxOnly; }

} // namespace

const Columns &columns()
{
    static const Columns c{
        indexOf("skip"),        indexOf("vorname"), indexOf("ort"),   indexOf("land"),      indexOf("callsign"),
        indexOf("datum"),       indexOf("uhrzeit"), indexOf("lanal"), indexOf("frequenz"),  indexOf("band"),
        indexOf("rwert"),       indexOf("swert"),   indexOf("name"),  indexOf("strasse"),   indexOf("plz"),
        indexOf("tel"),         indexOf("email"),   indexOf("web"),   indexOf("bemerkung"), indexOf("qslverschickt"),
        indexOf("qslbekommen"),
    };
    return c;
}

QByteArray appFieldOf(const char *name) { return QByteArray(kAppPrefix) + name; }

namespace {
// The own field of every column, made once.
const std::vector<QByteArray> &appFields()
{
    static const std::vector<QByteArray> names = [] {
        std::vector<QByteArray> n;
        for (const ContactField &f : logbook::contactFields())
            n.push_back(appFieldOf(f.adifApp));
        return n;
    }();
    return names;
}
} // namespace

std::vector<AdifField> fieldsOfContact(const Contact &contact, Book book, Format format, LocalClock &clock)
{
    std::vector<AdifField> fields;
    fieldsOfContact(contact, book, format, clock, &fields);
    return fields;
}

void fieldsOfContact(const Contact &contact, Book book, Format format, LocalClock &clock,
                     std::vector<AdifField> *fields)
{
    static const QString local = QStringLiteral("LOCAL"), dx = QStringLiteral("DX");
    fields->clear();
    fields->push_back({kBookField, book == Book::Local ? local : dx});
    standard::write(contact, book, format, clock, fields);
    // What the standard fields alone would give back (date and time aside: those depend on the
    // time zone of the reader and always travel in the program's own fields too); its memory
    // is used again for the next contact of the thread.
    thread_local standard::Read back;
    standard::read(std::span(*fields).subspan(1), book, nullptr, &back);
    QString nulls;
    const auto all = logbook::contactFields();
    for (size_t i = 0; i < all.size(); ++i) {
        const ContactField &f = all[i];
        if (!inBook(f, book) || (!f.adifAlways && back.contact[i] == contact[i]))
            continue;
        if (!contact[i]) {
            if (back.contact[i])
                nulls += (nulls.isEmpty() ? QString() : QStringLiteral(",")) + QLatin1String(f.adifApp);
        } else if (format == Format::Adx && !xmlCarries(*contact[i])) {
            fields->push_back({appFields()[i] + kBase64Suffix, QString::fromLatin1(contact[i]->toUtf8().toBase64())});
        } else {
            fields->push_back({appFields()[i], *contact[i]});
        }
    }
    if (!nulls.isEmpty())
        fields->push_back({kNullField, nulls});
}

namespace {

bool isOwn(const AdifRecord &record)
{
    return std::any_of(record.fields.begin(), record.fields.end(),
                       [](const AdifField &f) { return f.name.startsWith(kAppPrefix); });
}

// The program's own fields of a record over the standard ones.
void applyOwnFields(const AdifRecord &record, Book book, Taken *taken, std::vector<bool> *overridden,
                    std::vector<QByteArray> *used)
{
    const auto all = logbook::contactFields();
    for (size_t i = 0; i < all.size(); ++i) {
        if (!inBook(all[i], book))
            continue;
        const QByteArray &name = appFields()[i];
        if (const QString *v = record.value(name.constData())) {
            taken->contact[i] = *v;
            (*overridden)[i] = true;
            used->push_back(name);
        } else if (const QString *b = record.value((name + kBase64Suffix).constData())) {
            const auto decoded = QByteArray::fromBase64Encoding(b->toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                taken->reject = QStringLiteral("Feld %1: kein gültiges Base64").arg(QString::fromLatin1(name));
            taken->contact[i] = QString::fromUtf8(*decoded);
            (*overridden)[i] = true;
            used->push_back(name + kBase64Suffix);
        }
    }
    if (const QString *nulls = record.value(kNullField.constData())) {
        used->push_back(kNullField);
        for (const QString &app : nulls->split(u',', Qt::SkipEmptyParts))
            for (size_t i = 0; i < all.size(); ++i)
                if (inBook(all[i], book) && app == QLatin1String(all[i].adifApp)) {
                    taken->contact[i].reset();
                    (*overridden)[i] = true;
                }
    }
    if (record.value(kBookField.constData()))
        used->push_back(kBookField);
}

} // namespace

Taken contactOfRecord(const AdifRecord &record, Book book, LocalClock &clock)
{
    Taken taken;
    standard::Read read;
    standard::read(record.fields, book, &clock, &read);
    taken.contact = std::move(read.contact);
    const Columns &k = columns();
    std::vector<bool> overridden(taken.contact.size(), false);
    std::vector<QByteArray> used = std::move(read.used);
    const bool own = isOwn(record);
    if (own)
        applyOwnFields(record, book, &taken, &overridden, &used);
    // Columns of the other logbook only (the QSL boxes in the local one) stay empty.
    const auto all = logbook::contactFields();
    for (size_t i = 0; i < all.size(); ++i)
        if (!inBook(all[i], book))
            taken.contact[i].reset();
    for (const auto &[column, text] : read.errors)
        if (!overridden[size_t(column)] && taken.reject.isEmpty())
            taken.reject = text;
    auto blank = [&](int column) { return taken.contact[size_t(column)].value_or(QString()).trimmed().isEmpty(); };
    if (!own && taken.reject.isEmpty()) {
        if (blank(k.callsign) && blank(k.skip))
            taken.reject = QStringLiteral("weder Rufzeichen (CALL) noch Skip-Name");
        else if (blank(k.datum))
            taken.reject = QStringLiteral("kein Datum (QSO_DATE fehlt)");
    }
    if (!record.error.isEmpty())
        taken.reject = record.error;
    for (const AdifField &f : record.fields)
        if (std::find(used.begin(), used.end(), f.name) == used.end())
            taken.unused.push_back(f.name);
    return taken;
}

} // namespace exchange
