#pragma once
#include <QString>
#include <optional>

// Text rules of ADIF that do not depend on the file's syntax.
namespace exchange {

// Whether every character is ASCII (what ADIF's plain String fields may hold).
bool isAscii(QStringView text);

// The nearest ASCII text, for the plain field beside an _INTL field: ä → ae, ß → ss, é → e;
// what has no ASCII form becomes "?".
QString asciiOf(const QString &text);

// Whether XML 1.0 can carry the character at all (not even as a reference: most control
// characters, lone surrogates and U+FFFE/U+FFFF cannot).
bool xmlCarries(QStringView text);
QString withoutXmlForbidden(const QString &text);

// The ADIF mode and submode of the logbook's "Modulation" ("USB" → SSB/USB, "FM" → FM); nullopt
// for a text that names neither a mode nor a submode of ADIF.
struct AdifMode {
    QString mode, submode;
};
std::optional<AdifMode> adifModeOf(const QString &modulation);

} // namespace exchange
