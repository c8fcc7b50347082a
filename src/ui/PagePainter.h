#pragma once
#include <QString>
#include <functional>

class QPrinter;

namespace ui {

// One line of a listing with the font it was printed in.
struct DocumentLine {
    QString fontName;
    float fontSize = 0;
    QString text;
};

// The lines of a document, one after the other.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual bool next(DocumentLine *line) = 0; // false at the end (or when it cannot be read)
    virtual qint64 size() const = 0;
};

// Told how many lines are painted of how many; false to cancel.
using PaintProgress = std::function<bool(qint64 done, qint64 total)>;

struct PaintResult {
    bool started = false;   // the printer accepted the job
    bool finished = false;  // every line painted and the job closed without error
    bool cancelled = false; // the user stopped it; the job was dropped
    int pages = 0;
};

// Tab stops every this many ems: wider than every label of the local listing, so that the
// values of a block line up at the first stop.
inline constexpr double kTabStopEms = 8.0;

// Paints the lines top to bottom on the printer's printable area: a new page when the next
// line does not fit, tabs expanded, a line wider than the page wrapped onto continuation lines
// (at a blank where there is one, indented to where the value after the first ": " starts,
// else to the last tab stop or the leading blanks), line breaks inside a
// line kept as continuation lines. A failing page feed, a line that cannot be read or a cancel
// aborts the job, so that nothing of it is printed.
PaintResult paintDocument(QPrinter &printer, LineSource &lines, const PaintProgress &progress = {});

} // namespace ui
