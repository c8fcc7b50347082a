#include "core/exchange/AdifText.h"
#include "core/exchange/ContactMapping.h"
#include "core/exchange/Frequency.h"
#include "core/exchange/LocalClock.h"

#include <algorithm>
#include <cstring>

// The standard ADIF fields of a contact, and the way back. Each column's way there and back
// stand side by side, so that the two stay each other's inverse.
namespace exchange::standard {
namespace {

using logbook::Book;

const QString kCrLf = QStringLiteral("\r\n");
const QByteArray kQsoDate = QByteArrayLiteral("QSO_DATE"), kTimeOn = QByteArrayLiteral("TIME_ON");

class Writer {
public:
    Writer(Format format, std::vector<AdifField> *out) : m_adx(format == Format::Adx), m_out(out) {}

    // A String field: ASCII only in ADX.
    void plain(const char *name, const QString &value) { carried(name, m_adx ? withoutXmlForbidden(value) : value); }
    // A field that has an _INTL twin for text beyond ASCII, which ADX uses.
    void international(const char *name, const char *intlName, const QString &value)
    {
        if (!m_adx || isAscii(value))
            return plain(name, value);
        const QString text = withoutXmlForbidden(value);
        carried(name, text);
        if (!text.isEmpty())
            m_out->push_back({QByteArray::fromRawData(intlName, qsizetype(qstrlen(intlName))), text});
    }

private:
    // A text XML can carry (or any in ADI); the name refers to the literal: no copy.
    void carried(const char *name, const QString &value)
    {
        if (!value.isEmpty())
            m_out->push_back({QByteArray::fromRawData(name, qsizetype(qstrlen(name))), m_adx ? asciiOf(value) : value});
    }

    bool m_adx;
    std::vector<AdifField> *m_out;
};

// Two texts without the blanks around them, those that are not empty joined by the separator.
QString joined(const QString &first, const QString &second, QStringView separator)
{
    const QStringView a = QStringView(first).trimmed(), b = QStringView(second).trimmed();
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() ? second.trimmed() : first.trimmed();
    QString text(a.size() + separator.size() + b.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (QStringView part : {a, separator, b}) {
        std::copy(part.begin(), part.end(), out);
        out += part.size();
    }
    return text;
}

QString qslOf(const Value &v)
{
    if (v == QLatin1String("1"))
        return QStringLiteral("Y");
    if (v == QLatin1String("0"))
        return QStringLiteral("N");
    return {};
}

// Numbers with leading zeros, one after the other (QString::arg and QDate::toString with a format
// are slow for a million contacts).
QString digits(std::initializer_list<std::pair<int, int>> numbers) // value, width
{
    char16_t text[32];
    int size = 0;
    for (const auto &[value, width] : numbers) {
        if (value < 0 || value >= 100000)
            return QString(); // no such date or time
        const int start = size;
        for (int rest = value; rest > 0 || size - start < width; rest /= 10)
            text[size++] = char16_t(u'0' + rest % 10);
        std::reverse(text + start, text + size);
    }
    return QString(reinterpret_cast<const QChar *>(text), size);
}

QString adifDate(QDate d) { return digits({{d.year(), 4}, {d.month(), 2}, {d.day(), 2}}); }

void writeDateTime(const Contact &c, LocalClock &clock, std::vector<AdifField> *out)
{
    const auto date = logDate(c[size_t(columns().datum)].value_or(QString()));
    const auto time = logTime(c[size_t(columns().uhrzeit)].value_or(QString()));
    if (!date)
        return;
    if (!time) { // no time to convert with: the date as typed
        out->push_back({kQsoDate, adifDate(*date)});
        return;
    }
    const WallTime utc = clock.utcOf(*date, *time);
    out->push_back({kQsoDate, adifDate(utc.date)});
    const QTime &t = utc.time;
    out->push_back({kTimeOn, time->second() ? digits({{t.hour(), 2}, {t.minute(), 2}, {t.second(), 2}})
                                              : digits({{t.hour(), 2}, {t.minute(), 2}})});
}

} // namespace

void write(const Contact &c, Book book, Format format, LocalClock &clock, std::vector<AdifField> *out)
{
    const Columns &k = columns();
    static const QString none;
    auto text = [&c](int column) -> const QString & { return c[size_t(column)] ? *c[size_t(column)] : none; };
    Writer w(format, out);
    w.plain("CALL", text(k.callsign));
    writeDateTime(c, clock, out);
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
    w.international("NAME", "NAME_INTL", joined(text(k.vorname), text(k.name), u" "));
    w.international("QTH", "QTH_INTL", text(k.ort));
    w.international("COUNTRY", "COUNTRY_INTL", text(k.land));
    if (!text(k.strasse).trimmed().isEmpty() || !text(k.plz).trimmed().isEmpty())
        w.international("ADDRESS", "ADDRESS_INTL",
                        joined(text(k.strasse), joined(text(k.plz), text(k.ort), u" "), kCrLf));
    w.plain("EMAIL", text(k.email));
    w.plain("WEB", text(k.web));
    const QString &remarks = text(k.bemerkung);
    if (remarks.contains(u'\n') || remarks.contains(u'\r'))
        w.international("NOTES", "NOTES_INTL", QString(remarks).replace(u'\n', kCrLf));
    else
        w.international("COMMENT", "COMMENT_INTL", remarks);
    if (book == Book::Dx) {
        w.plain("QSL_SENT", qslOf(c[size_t(k.qslverschickt)]));
        w.plain("QSL_RCVD", qslOf(c[size_t(k.qslbekommen)]));
    }
}

namespace {

class Fields {
public:
    Fields(std::span<const AdifField> fields, Read *read, bool noteUsed)
        : m_fields(fields), m_read(read), m_noteUsed(noteUsed)
    {
    }

    // A field's text without the blanks around it; an empty one counts as absent.
    std::optional<QString> get(QByteArrayView key, bool trim = true)
    {
        for (const AdifField &f : m_fields) {
            if (f.name.size() != key.size() || std::memcmp(f.name.constData(), key.data(), size_t(key.size())) != 0)
                continue;
            if (m_noteUsed)
                m_read->used.push_back(f.name);
            if (f.value.isEmpty())
                return std::nullopt;
            if (!trim || (!f.value.front().isSpace() && !f.value.back().isSpace()))
                return f.value;
            const QString v = f.value.trimmed();
            return v.isEmpty() ? std::nullopt : std::optional(v);
        }
        return std::nullopt;
    }
    // The _INTL twin wins over the plain field; both count as read.
    std::optional<QString> international(const char *name, const char *intlName, bool trim = true)
    {
        const auto intl = get(intlName, trim);
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
    std::span<const AdifField> m_fields;
    Read *m_read;
    bool m_noteUsed;
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

// The line ends of a text, CR LF or LF, as `lineEnd`.
std::optional<QString> withLineEnds(std::optional<QString> v, QStringView lineEnd)
{
    if (!v || (!v->contains(u'\n') || (lineEnd == u"\n" && !v->contains(u'\r'))))
        return v;
    QString text;
    text.reserve(v->size() + v->count(u'\n') * lineEnd.size());
    const QStringView from(*v);
    qsizetype start = 0;
    for (qsizetype i = 0; i < from.size(); ++i) {
        if (from[i] != u'\n')
            continue;
        const qsizetype end = i > start && from[i - 1] == u'\r' ? i - 1 : i;
        text.append(from.sliced(start, end - start)).append(lineEnd);
        start = i + 1;
    }
    return text.append(from.sliced(start));
}

std::optional<QString> fromCrLf(std::optional<QString> v) { return withLineEnds(std::move(v), u"\n"); }

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

void read(std::span<const AdifField> fields, Book book, LocalClock *clock, Read *read)
{
    const Columns &k = columns();
    Read &r = *read;
    r.contact.assign(logbook::contactFields().size(), std::nullopt);
    r.errors.clear();
    r.used.clear();
    Fields f(fields, &r, clock != nullptr);
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
    f.set(k.vorname, f.international("NAME", "NAME_INTL"));
    f.set(k.ort, f.international("QTH", "QTH_INTL"));
    f.set(k.land, f.international("COUNTRY", "COUNTRY_INTL"));
    f.set(k.strasse, withLineEnds(f.international("ADDRESS", "ADDRESS_INTL"), u", "));
    f.set(k.email, f.get("EMAIL"));
    f.set(k.web, f.get("WEB"));
    const auto comment = fromCrLf(f.international("COMMENT", "COMMENT_INTL", false));
    const auto notes = fromCrLf(f.international("NOTES", "NOTES_INTL", false));
    f.set(k.bemerkung, comment && notes ? *comment + u'\n' + *notes : comment ? comment : notes);
    if (book == Book::Dx) {
        if (const auto sent = f.get("QSL_SENT"))
            f.set(k.qslverschickt, sent->toUpper() == QLatin1String("Y") ? QStringLiteral("1") : QStringLiteral("0"));
        if (const auto rcvd = f.get("QSL_RCVD")) {
            const QString answer = rcvd->toUpper();
            f.set(k.qslbekommen, answer == QLatin1String("Y") || answer == QLatin1String("V") ? QStringLiteral("1")
                                                                                               : QStringLiteral("0"));
        }
    }
}

} // namespace exchange::standard
