#include "core/exchange/AdifText.h"

#include <QList>
#include <algorithm>
#include <array>
#include <vector>
#include <cstring>

namespace exchange {
namespace {

// ADIF 3.1's Mode enumeration.
constexpr std::array kModes{
    "AM",   "ARDOP", "ATV",   "CHIP",   "CLO",   "CONTESTI", "CW",     "DIGITALVOICE", "DOMINO", "DYNAMIC",
    "FAX",  "FM",    "FSK",   "FSK441", "FT8",   "HELL",     "ISCAT",  "JT4",          "JT44",   "JT65",
    "JT6M", "JT9",   "MFSK",  "MSK144", "MT63",  "OFDM",     "OLIVIA", "OPERA",        "PAC",    "PAX",
    "PKT",  "PSK",   "PSK2K", "Q15",    "QRA64", "ROS",      "RTTY",   "RTTYM",        "SSB",    "SSTV",
    "T10",  "THOR",  "THRB",  "TOR",    "V4",    "VOI",      "WINMOR", "WSPR",
};

struct Submode {
    const char *submode, *mode;
};

// The submodes a radio operator writes as his mode.
constexpr std::array<Submode, 22> kSubmodes{{
    {"USB", "SSB"},
    {"LSB", "SSB"},
    {"FT4", "MFSK"},
    {"JS8", "MFSK"},
    {"Q65", "MFSK"},
    {"FST4", "MFSK"},
    {"PSK31", "PSK"},
    {"PSK63", "PSK"},
    {"PSK125", "PSK"},
    {"BPSK31", "PSK"},
    {"QPSK31", "PSK"},
    {"DMR", "DIGITALVOICE"},
    {"DSTAR", "DIGITALVOICE"},
    {"C4FM", "DIGITALVOICE"},
    {"FREEDV", "DIGITALVOICE"},
    {"M17", "DIGITALVOICE"},
    {"PACTOR", "PAC"},
    {"PACTOR2", "PAC"},
    {"PACTOR3", "PAC"},
    {"OLIVIA 8/500", "OLIVIA"},
    {"ASCI", "RTTY"},
    {"AMTORFEC", "TOR"},
}};

QString transliterated(QChar c)
{
    switch (c.unicode()) {
    case u'ä':
        return QStringLiteral("ae");
    case u'ö':
        return QStringLiteral("oe");
    case u'ü':
        return QStringLiteral("ue");
    case u'Ä':
        return QStringLiteral("Ae");
    case u'Ö':
        return QStringLiteral("Oe");
    case u'Ü':
        return QStringLiteral("Ue");
    case u'ß':
        return QStringLiteral("ss");
    default:
        break;
    }
    // The base letter of a letter with an accent.
    QString base;
    for (QChar d : QString(c).normalized(QString::NormalizationForm_D))
        if (d.unicode() < 0x80)
            base += d;
    return base.isEmpty() ? QStringLiteral("?") : base;
}

bool xmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

bool isAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

QString asciiOf(const QString &text)
{
    if (isAscii(text))
        return text;
    // Written straight into the result, with room for every German letter as two.
    QString ascii(2 * text.size() + 8, Qt::Uninitialized);
    qsizetype size = 0;
    auto put = [&](QStringView part) {
        if (size + part.size() > ascii.size())
            ascii.resize(2 * (size + part.size()));
        std::copy(part.begin(), part.end(), ascii.data() + size);
        size += part.size();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80 && size < ascii.size()) {
            ascii.data()[size++] = c;
        } else if (c.isHighSurrogate() && i + 1 < text.size()) {
            put(u"?");
            ++i;
        } else {
            put(c.unicode() < 0x80 ? QStringView(&text.constData()[i], 1) : QStringView(transliterated(c)));
        }
    }
    ascii.resize(size);
    return ascii;
}

bool xmlCarries(QStringView text)
{
    const char16_t *c = text.utf16(), *end = c + text.size();
    for (; c != end; ++c) {
        if (*c >= 0x20 && *c < 0xD800)
            continue;
        if (*c < 0x20 && *c != 0x9 && *c != 0xA && *c != 0xD)
            return false;
        if (QChar::isHighSurrogate(*c)) {
            if (c + 1 == end || !QChar::isLowSurrogate(c[1]))
                return false;
            ++c;
        } else if (QChar::isLowSurrogate(*c) || *c == 0xFFFE || *c == 0xFFFF) {
            return false;
        }
    }
    return true;
}

QString withoutXmlForbidden(const QString &text)
{
    if (xmlCarries(text))
        return text;
    QString kept;
    for (char32_t c : text.toUcs4())
        if (xmlCharacter(c))
            kept += QString::fromUcs4(&c, 1);
    return kept;
}

std::optional<AdifMode> adifModeOf(const QString &modulation)
{
    struct Name {
        const char *name;
        AdifMode mode;
    };
    static const std::vector<Name> names = [] { // the modes and submodes, in the order of strcmp
        std::vector<Name> n;
        for (const char *mode : kModes)
            n.push_back({mode, {QString::fromLatin1(mode), {}}});
        for (const Submode &s : kSubmodes)
            n.push_back({s.submode, {QString::fromLatin1(s.mode), QString::fromLatin1(s.submode)}});
        std::sort(n.begin(), n.end(), [](const Name &a, const Name &b) { return std::strcmp(a.name, b.name) < 0; });
        return n;
    }();
    // In capitals; letters beyond ASCII may turn into ASCII ones there.
    QStringView m = QStringView(modulation).trimmed();
    QString folded;
    if (!isAscii(m)) {
        folded = m.toString().toUpper();
        m = folded;
    }
    char upper[16];
    if (m.isEmpty() || m.size() >= qsizetype(sizeof upper) || !isAscii(m))
        return std::nullopt;
    for (qsizetype i = 0; i < m.size(); ++i)
        upper[i] = char(QChar::toUpper(m[i].unicode()));
    upper[m.size()] = 0;
    const auto found = std::lower_bound(names.begin(), names.end(), upper,
                                        [](const Name &n, const char *key) { return std::strcmp(n.name, key) < 0; });
    if (found == names.end() || std::strcmp(found->name, upper) != 0)
        return std::nullopt;
    return found->mode;
}

} // namespace exchange
