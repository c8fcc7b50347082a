#pragma once
#include "core/logbook/Contact.h"

#include <QString>
#include <vector>

namespace logbook {

// One line of a record block: its text, then (for a value line) the column's value.
struct PrintLine {
    QString text;
    const char *column = nullptr; // nullptr: the line is printed as it stands
};

struct PrintLayout {
    const char *documentName; // names the print job and a fallback PDF file
    const char *fontName;
    float fontSize;            // the text "12" read as a single-precision number
    bool fontBeforeEveryBlock; // else once, before the leading empty lines
    int leadingEmptyLines;
    std::vector<PrintLine> block;
};

// The listing of one logbook: its value lines are the contact's printed words at their lines
// of that logbook's block, a line no column takes stays empty.
const PrintLayout &printLayout(Book book);

// The local logbook: Arial 12, four empty lines, then 14 lines per contact ("Skip\t: ...").
extern const PrintLayout kLocalLayout;
// The DX logbook: Tahoma 12 set before every block, 12 value lines ("Skip: ...") and the
// separator, no empty lines.
extern const PrintLayout kDxLayout;

} // namespace logbook
