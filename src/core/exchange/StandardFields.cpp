#include "core/exchange/AdifText.h"
#include "core/exchange/ContactMapping.h"
#include "core/exchange/Frequency.h"
#include "core/exchange/LocalClock.h"

// The standard ADIF fields of a contact, and the way back. Each column's way there and back
// stand side by side, so that the two stay each other's inverse.
namespace exchange::standard {
namespace {

using logbook::Book;

const QString kCrLf = QStringLiteral("\r\n");

class Writer {
public:
    Writer(Format format, std::vector<AdifField> *out) : m_adx(format == Format::Adx), m_out(out) {}

    // A String field: ASCII only in ADX.
    void plain(const char *name, const QString &value)
    {
        if (!value.isEmpty()) // the name refers to the literal: no copy
            m_out->push_back({QByteArray::fromRawData(name, qsizetype(qstrlen(name))),
                              m_adx ? asciiOf(withoutXmlForbidden(value)) : value});
    }
    // A field that has an _INTL twin for text beyond ASCII, which ADX uses.
    void international(const char *name, const QString &value)
    {
        if (!m_adx || isAscii(value))
            return plain(name, value);
        const QString carried = withoutXmlForbidden(value);
        plain(name, carried);
        if (!carried.isEmpty())
            m_out->push_back({QByteArray(name) + "_INTL", carried});
    }

private:
    bool m_adx;
    std::vector<AdifField> *m_out;
};

QString joined(const QStringList &parts, const QString &separator)
{
    QStringList kept;
    for (const QString &p : parts)
        if (!p.trimmed().isEmpty())
            kept << p.trimmed();
    return kept.join(separator);
}

QString qslOf(const Value &v)
{
    if (v == QLatin1String("1"))
        return QStringLiteral("Y");
    if (v == QLatin1String("0"))
        return QStringLiteral("N");
    return {};
}

// Digits with leading zeros; QDate::toString with a format is slow for a million contacts.
QString digits(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QChar(u'0')); }
QString adifDate(QDate d) { return digits(d.year(), 4) + digits(d.month(), 2) + digits(d.day(), 2); }

void writeDateTime(const Contact &c, LocalClock &clock, std::vector<AdifField> *out)
{
    const auto date = logDate(c[size_t(columns().datum)].value_or(QString()));
    const auto time = logTime(c[size_t(columns().uhrzeit)].value_or(QString()));
    if (!date)
        return;
    if (!time) { // no time to convert with: the date as typed
        out->push_back({"QSO_DATE", adifDate(*date)});
        return;
    }
    const WallTime utc = clock.utcOf(*date, *time);
    out->push_back({"QSO_DATE", adifDate(utc.date)});
    const QTime &t = utc.time;
    out->push_back({"TIME_ON", digits(t.hour(), 2) + digits(t.minute(), 2)
                                   + (time->second() ? digits(t.second(), 2) : QString())});
}

} // namespace

std::vector<AdifField> write(const Contact &c, Book book, Format format, LocalClock &clock)
{
    const Columns &k = columns();
    auto text = [&c](int column) { return c[size_t(column)].value_or(QString()); };
    std::vector<AdifField> out;
    out.reserve(24);
    Writer w(format, &out);
    w.plain("CALL", text(k.callsign));
    writeDateTime(c, clock, &out);
    // The frequency as typed, or where only the channel is known, that of the 80-channel plan.
    auto hz = frequencyHz(text(k.frequenz));
    if (!hz && text(k.frequenz).trimmed().isEmpty())
        hz = channelHz(text(k.lanal));
    if (hz) {
        w.plain("FREQ", mhzText(*hz, u'.'));
        w.plain("BAND", adifBand(*hz)); // none on 11 m
    }
    if (const auto mode = adifModeOf(text(k.band))) {
        w.plain("MODE", mode->mode);
        w.plain("SUBMODE", mode->submode);
    }
    w.plain("RST_SENT", text(k.rwert) + text(k.swert));
    w.international("NAME", joined({text(k.vorname), text(k.name)}, QStringLiteral(" ")));
    w.international("QTH", text(k.ort));
    w.international("COUNTRY", text(k.land));
    if (!text(k.strasse).trimmed().isEmpty() || !text(k.plz).trimmed().isEmpty())
        w.international("ADDRESS",
                        joined({text(k.strasse), joined({text(k.plz), text(k.ort)}, QStringLiteral(" "))}, kCrLf));
    w.plain("EMAIL", text(k.email));
    w.plain("WEB", text(k.web));
    const QString remarks = text(k.bemerkung);
    if (remarks.contains(u'\n') || remarks.contains(u'\r'))
        w.international("NOTES", QString(remarks).replace(u'\n', kCrLf));
    else
        w.international("COMMENT", remarks);
    if (book == Book::Dx) {
        w.plain("QSL_SENT", qslOf(c[size_t(k.qslverschickt)]));
        w.plain("QSL_RCVD", qslOf(c[size_t(k.qslbekommen)]));
    }
    return out;
}

namespace {

class Fields {
public:
    Fields(const std::vector<AdifField> &fields, Read *read) : m_fields(fields), m_read(read) {}

    // A field's text without the blanks around it; an empty one counts as absent.
    std::optional<QString> get(const char *name, bool trim = true)
    {
        const QByteArrayView key(name);
        for (const AdifField &f : m_fields) {
            if (f.name.size() == key.size() && f.name == key) {
                m_read->used.push_back(f.name);
                const QString v = trim ? f.value.trimmed() : f.value;
                return v.isEmpty() ? std::nullopt : std::optional(v);
            }
        }
        return std::nullopt;
    }
    // The _INTL twin wins over the plain field; both count as read.
    std::optional<QString> international(const char *name, bool trim = true)
    {
        const auto intl = get((QByteArray(name) + "_INTL").constData(), trim);
        const auto plainValue = get(name, trim);
        return intl ? intl : plainValue;
    }
    void set(int column, const std::optional<QString> &v)
    {
        if (v)
            m_read->contact[size_t(column)] = v;
    }
    void error(int column, const QString &text) { m_read->errors.push_back({column, text}); }

private:
    const std::vector<AdifField> &m_fields;
    Read *m_read;
};

// R and S of a report as the logbook splits it: "59", "59+30".
bool isReadabilityStrength(const QString &rst)
{
    if (rst.size() < 2 || rst[0] < u'1' || rst[0] > u'5' || rst[1] < u'1' || rst[1] > u'9')
        return false;
    if (rst.size() == 2)
        return true;
    if (rst[2] != u'+' || rst.size() == 3)
        return false;
    for (qsizetype i = 3; i < rst.size(); ++i)
        if (rst[i] < u'0' || rst[i] > u'9')
            return false;
    return true;
}

std::optional<QString> fromCrLf(std::optional<QString> v)
{
    if (v)
        v->replace(kCrLf, QStringLiteral("\n"));
    return v;
}

void readDateTime(Fields &f, LocalClock &clock)
{
    const Columns &k = columns();
    const auto dateText = f.get("QSO_DATE"), timeText = f.get("TIME_ON");
    if (!dateText)
        return;
    const QDate date = QDate::fromString(*dateText, QStringLiteral("yyyyMMdd"));
    if (dateText->size() != 8 || !date.isValid())
        return f.error(k.datum, QStringLiteral("QSO_DATE „%1“ ist kein gültiges Datum").arg(*dateText));
    if (!timeText)
        return f.set(k.datum, date.toString(QStringLiteral("dd.MM.yyyy")));
    const QString digits = QString(*timeText).remove(u':');
    const QTime time =
        QTime::fromString(digits, digits.size() == 6 ? QStringLiteral("HHmmss") : QStringLiteral("HHmm"));
    if ((digits.size() != 4 && digits.size() != 6) || !time.isValid())
        return f.error(k.uhrzeit, QStringLiteral("TIME_ON „%1“ ist keine gültige Uhrzeit").arg(*timeText));
    const WallTime local = clock.localOf(date, time);
    f.set(k.datum, local.date.toString(QStringLiteral("dd.MM.yyyy")));
    f.set(k.uhrzeit, local.time.toString(QStringLiteral("HH:mm")));
}

} // namespace

Read read(const std::vector<AdifField> &fields, Book book, LocalClock *clock)
{
    const Columns &k = columns();
    Read r;
    r.contact.resize(logbook::contactFields().size());
    Fields f(fields, &r);
    f.set(k.callsign, f.get("CALL"));
    if (clock)
        readDateTime(f, *clock);
    if (const auto freq = f.get("FREQ")) {
        if (const auto hz = adifFrequencyHz(*freq))
            f.set(k.frequenz, mhzText(*hz, u','));
        else
            f.error(k.frequenz, QStringLiteral("FREQ „%1“ ist keine gültige Frequenz").arg(*freq));
        f.get("BAND"); // follows from the frequency
    }
    const auto mode = f.get("MODE"), submode = f.get("SUBMODE");
    f.set(k.band, submode ? submode : mode);
    if (const auto rst = f.get("RST_SENT")) {
        const bool rs = isReadabilityStrength(*rst);
        f.set(k.rwert, rs ? std::optional(rst->left(1)) : std::nullopt);
        f.set(k.swert, rs ? rst->mid(1) : *rst);
    }
    f.set(k.vorname, f.international("NAME"));
    f.set(k.ort, f.international("QTH"));
    f.set(k.land, f.international("COUNTRY"));
    if (auto address = fromCrLf(f.international("ADDRESS")))
        f.set(k.strasse, address->split(u'\n').join(QStringLiteral(", ")));
    f.set(k.email, f.get("EMAIL"));
    f.set(k.web, f.get("WEB"));
    const auto comment = fromCrLf(f.international("COMMENT", false));
    const auto notes = fromCrLf(f.international("NOTES", false));
    f.set(k.bemerkung, comment && notes ? *comment + u'\n' + *notes : comment ? comment : notes);
    if (book == Book::Dx) {
        if (const auto sent = f.get("QSL_SENT"))
            f.set(k.qslverschickt, sent->toUpper() == QLatin1String("Y") ? QStringLiteral("1") : QStringLiteral("0"));
        if (const auto rcvd = f.get("QSL_RCVD")) {
            const QString r = rcvd->toUpper();
            f.set(k.qslbekommen,
                  r == QLatin1String("Y") || r == QLatin1String("V") ? QStringLiteral("1") : QStringLiteral("0"));
        }
    }
    return r;
}

} // namespace exchange::standard
