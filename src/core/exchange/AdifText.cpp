#include "core/exchange/AdifText.h"

#include <QList>
#include <array>

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
    QString ascii;
    ascii.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            ascii += c;
        } else if (c.isHighSurrogate() && i + 1 < text.size()) {
            ascii += u'?';
            ++i;
        } else {
            ascii += transliterated(c);
        }
    }
    return ascii;
}

bool xmlCarries(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 && c != 0x9 && c != 0xA && c != 0xD)
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
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
    const QString m = modulation.trimmed().toUpper();
    if (m.isEmpty())
        return std::nullopt;
    for (const char *mode : kModes)
        if (m == QLatin1String(mode))
            return AdifMode{m, {}};
    for (const Submode &s : kSubmodes)
        if (m == QLatin1String(s.submode))
            return AdifMode{QString::fromLatin1(s.mode), m};
    return std::nullopt;
}

} // namespace exchange
