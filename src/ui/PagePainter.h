#pragma once
#include <QList>
#include <QString>

class QPrinter;

namespace ui {

// One line of a listing with the font it was printed in.
struct DocumentLine {
    QString fontName;
    float fontSize = 0;
    QString text;
};

struct PaintResult {
    bool started = false;  // the printer accepted the job
    bool finished = false; // every line painted and the job closed without error
    int pages = 0;
};

// Tab stops every this many ems: wider than every label of the local listing, so that the
// values of a block line up at the first stop.
inline constexpr double kTabStopEms = 8.0;

// Paints the lines top to bottom on the printer's printable area: a new page when the next
// line does not fit, tabs expanded, a line wider than the page wrapped onto continuation lines
// (at a blank where there is one, indented to where the value after the first ": " starts,
// else to the last tab stop or the leading blanks), line breaks inside a
// line kept as continuation lines. A failing page feed aborts the job.
PaintResult paintDocument(QPrinter &printer, const QList<DocumentLine> &lines);

} // namespace ui
