#pragma once
#include <span>

namespace logbook {

// One line of a record block: the label, then (for a value line) the separator and the column's
// value. A line without a column is printed as its label stands.
struct PrintLine {
    const char *label;
    const char *column = nullptr;
};

struct PrintLayout {
    const char *documentName; // names the print job and a fallback PDF file
    const char *fontName;
    float fontSize;            // the text "12" read as a single-precision number
    bool fontBeforeEveryBlock; // else once, before the leading empty lines
    int leadingEmptyLines;
    const char *valueSeparator; // between label and value
    std::span<const PrintLine> block;
};

// The local logbook: Arial 12, four empty lines, then 14 lines per contact.
inline constexpr PrintLine kLocalBlock[] = {
    {"       Skip", "skip"},
    {"       Operator", "vorname"},
    {"       QTH", "ort"},
    {"       Land", "land"},
    {""},
    {"       Kanal", "lanal"},
    {"       Frequenz", "frequenz"},
    {"       Mod", "band"},
    {""},
    {"       R-Wert", "rwert"},
    {"       S-Wert", "swert"},
    {""},
    {"       **********************************************************"},
    {""},
};
inline constexpr PrintLayout kLocalLayout{"Logbuch LOCAL", "Arial", 12.0f, false, 4, "\t: ", kLocalBlock};

// The DX logbook: Tahoma 12 set before every block, 12 value lines with the colon in the label,
// the separator, no empty lines.
inline constexpr PrintLine kDxBlock[] = {
    {"       Datum: ", "datum"},
    {"       Uhrzeit: ", "uhrzeit"},
    {"       CallSign: ", "callsign"},
    {"       Skip: ", "skip"},
    {"       Operator: ", "vorname"},
    {"       QTH: ", "ort"},
    {"       Land: ", "land"},
    {"       Kanal: ", "lanal"},
    {"       Frequenz: ", "frequenz"},
    {"       Mod: ", "band"},
    {"       R-Wert: ", "rwert"},
    {"       S-Wert: ", "swert"},
    {"       **********************************************************"},
};
inline constexpr PrintLayout kDxLayout{"Logbuch DX", "Tahoma", 12.0f, true, 0, "", kDxBlock};

} // namespace logbook
