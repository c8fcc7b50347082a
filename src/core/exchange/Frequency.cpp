#include "core/exchange/Frequency.h"

#include "core/finder/ChannelTable.h"

#include <QList>
#include <array>

namespace exchange {
namespace {

constexpr qint64 kHz = 1000;
constexpr qint64 kMHz = 1000 * kHz;

struct Band {
    const char *name;
    qint64 low, high; // Hz, both included
};

// The bands of ADIF 3.1 (its Band enumeration).
constexpr std::array<Band, 33> kBands{{
    {"2190m", 135700, 137800},
    {"630m", 472 * kHz, 479 * kHz},
    {"560m", 501 * kHz, 504 * kHz},
    {"160m", 1800 * kHz, 2000 * kHz},
    {"80m", 3500 * kHz, 4000 * kHz},
    {"60m", 5060 * kHz, 5450 * kHz},
    {"40m", 7000 * kHz, 7300 * kHz},
    {"30m", 10100 * kHz, 10150 * kHz},
    {"20m", 14000 * kHz, 14350 * kHz},
    {"17m", 18068 * kHz, 18168 * kHz},
    {"15m", 21000 * kHz, 21450 * kHz},
    {"12m", 24890 * kHz, 24990 * kHz},
    {"10m", 28000 * kHz, 29700 * kHz},
    {"8m", 40 * kMHz, 45 * kMHz},
    {"6m", 50 * kMHz, 54 * kMHz},
    {"5m", 54 * kMHz + 1, 69900 * kHz},
    {"4m", 70 * kMHz, 71 * kMHz},
    {"2m", 144 * kMHz, 148 * kMHz},
    {"1.25m", 222 * kMHz, 225 * kMHz},
    {"70cm", 420 * kMHz, 450 * kMHz},
    {"33cm", 902 * kMHz, 928 * kMHz},
    {"23cm", 1240 * kMHz, 1300 * kMHz},
    {"13cm", 2300 * kMHz, 2450 * kMHz},
    {"9cm", 3300 * kMHz, 3500 * kMHz},
    {"6cm", 5650 * kMHz, 5925 * kMHz},
    {"3cm", 10000 * kMHz, 10500 * kMHz},
    {"1.25cm", 24000 * kMHz, 24250 * kMHz},
    {"6mm", 47000 * kMHz, 47200 * kMHz},
    {"4mm", 75500 * kMHz, 81000 * kMHz},
    {"2.5mm", 119980 * kMHz, 123000 * kMHz},
    {"2mm", 134000 * kMHz, 149000 * kMHz},
    {"1mm", 241000 * kMHz, 250000 * kMHz},
    {"submm", 300000 * kMHz, 7500000 * kMHz},
}};

// What the CB radios of the finder can be set to, 11 m and the export bands around it.
constexpr qint64 kCbLow = 25 * kMHz, kCbHigh = 30200 * kHz;

bool onABand(qint64 hz);

// The digits of a number as typed, read without a copy of the text.
struct Digits {
    qint64 whole = 0;      // the digits before the decimal separator, groups joined
    qsizetype wholeDigits = 0;
    QStringView fraction;  // the digits after it
    bool hasSeparator = false;
};

bool allDigits(QStringView s)
{
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// Adds the digits to a whole number; false when there are too many for one.
bool addDigits(Digits *d, QStringView digits, qsizetype most)
{
    if (d->wholeDigits + digits.size() > most)
        return false;
    for (QChar c : digits)
        d->whole = d->whole * 10 + (c.unicode() - u'0');
    d->wholeDigits += digits.size();
    return true;
}

// "27,005", "27.005", "27005", "26.965.000" (periods grouping digits), "1.296,5".
std::optional<Digits> splitDigits(QStringView s)
{
    const qsizetype commas = s.count(u','), points = s.count(u'.');
    Digits d;
    if (s.isEmpty() || commas > 1)
        return std::nullopt;
    qsizetype decimal = -1;
    if (commas == 1)
        decimal = s.indexOf(u',');
    else if (points == 1)
        decimal = s.indexOf(u'.');
    QStringView whole = decimal < 0 ? s : s.left(decimal);
    const QStringView fraction = decimal < 0 ? QStringView() : s.mid(decimal + 1);
    for (bool first = true;; first = false) {
        const qsizetype point = whole.indexOf(u'.');
        const QStringView group = point < 0 ? whole : whole.left(point);
        if (group.isEmpty() || !allDigits(group) || (!first && group.size() != 3) || !addDigits(&d, group, 12))
            return std::nullopt;
        if (point < 0)
            break;
        whole = whole.mid(point + 1);
    }
    if (decimal >= 0 && (fraction.isEmpty() || !allDigits(fraction)))
        return std::nullopt;
    d.fraction = fraction;
    d.hasSeparator = decimal >= 0;
    return d;
}

// The value in hertz when the digits count in `unit` hertz; rounded to whole hertz.
qint64 inHertz(const Digits &d, qint64 unit)
{
    qint64 hz = d.whole * unit;
    qint64 scale = unit;
    for (qsizetype i = 0; i < d.fraction.size() && scale > 1; ++i) {
        scale /= 10;
        hz += (d.fraction[i].unicode() - u'0') * scale;
        if (scale == 1 && i + 1 < d.fraction.size() && d.fraction[i + 1] >= u'5')
            ++hz;
    }
    return hz;
}

const Band *bandOf(qint64 hz)
{
    for (const Band &b : kBands)
        if (hz >= b.low && hz <= b.high)
            return &b;
    return nullptr;
}

bool onABand(qint64 hz) { return (hz >= kCbLow && hz <= kCbHigh) || bandOf(hz); }


} // namespace

std::optional<qint64> frequencyHz(QStringView text)
{
    QStringView t = text.trimmed();
    qint64 unit = 0;
    for (const auto &[suffix, hz] : {std::pair{"mhz", kMHz}, std::pair{"khz", kHz}, std::pair{"hz", qint64(1)}}) {
        if (t.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
            t = t.chopped(qsizetype(qstrlen(suffix))).trimmed();
            unit = hz;
            break;
        }
    }
    const auto digits = splitDigits(t);
    if (!digits)
        return std::nullopt;
    if (unit)
        return inHertz(*digits, unit);
    for (qint64 candidate : {kMHz, kHz, qint64(1)}) {
        const qint64 hz = inHertz(*digits, candidate);
        if (onABand(hz))
            return hz;
    }
    // Off every band: a number with decimals or below 1000 is most likely megahertz.
    if (digits->hasSeparator || digits->wholeDigits <= 3)
        return inHertz(*digits, kMHz);
    return std::nullopt;
}

std::optional<qint64> adifFrequencyHz(QStringView text)
{
    const QStringView t = text.trimmed();
    const qsizetype separator = t.indexOf(u'.') >= 0 ? t.indexOf(u'.') : t.indexOf(u',');
    Digits d;
    const QStringView whole = separator < 0 ? t : t.left(separator);
    d.fraction = separator < 0 ? QStringView() : t.mid(separator + 1);
    if ((whole.isEmpty() && d.fraction.isEmpty()) || !allDigits(whole) || !allDigits(d.fraction)
        || !addDigits(&d, whole, 9))
        return std::nullopt;
    return inHertz(d, kMHz);
}

QString mhzText(qint64 hz, QChar decimalSeparator)
{
    if (hz < 0)
        return QString::number(hz);
    // Written from the end: the six digits of the millionths, the separator, the megahertz.
    QChar text[32];
    qsizetype at = std::size(text);
    qint64 rest = hz;
    for (int i = 0; i < 6; ++i, rest /= 10)
        text[--at] = QChar(u'0' + int(rest % 10));
    text[--at] = decimalSeparator;
    do {
        text[--at] = QChar(u'0' + int(rest % 10));
        rest /= 10;
    } while (rest > 0);
    qsizetype end = std::size(text);
    while (end - at > 0 && text[end - 1] == u'0' && text[end - 4] != decimalSeparator) // three decimals at least
        --end;
    return QString(text + at, end - at);
}

QString adifBand(qint64 hz)
{
    static const QStringList names = [] {
        QStringList n;
        for (const Band &b : kBands)
            n << QString::fromLatin1(b.name);
        return n;
    }();
    const Band *band = bandOf(hz);
    return band ? names[band - kBands.data()] : QString();
}

std::optional<qint64> channelHz(QStringView channel)
{
    static const finder::ChannelTable plan = finder::makeChannelTable(u'D', u'C', finder::GapStyle::Dashes);
    const QStringView t = channel.trimmed();
    if (t.isEmpty() || t.size() > 2 || !allDigits(t))
        return std::nullopt;
    const int n = t.toInt();
    if (n < 1 || n > 80)
        return std::nullopt;
    return frequencyHz(plan[size_t(n - 1)].frequency);
}

} // namespace exchange
