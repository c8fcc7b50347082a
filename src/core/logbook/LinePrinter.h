#pragma once
#include <QString>
#include <functional>
#include <memory>

namespace logbook {

// What became of a printed listing; the message the user gets is made from it.
struct PrintOutcome {
    enum class Result {
        Printed,        // handed to the printer
        SavedAsPdf,     // no printer, or the printer failed: the listing is in pdfFile
        Failed,         // neither printed nor saved
        NothingToPrint, // the logbook holds no contact
        ReadFailed,     // the logbook could not be read to its end; nothing was sent
        Cancelled,      // the user stopped it; nothing was sent
    };
    enum class Reason {
        None,
        NoPrinter,     // the system has no default printer
        JobNotStarted, // the printer refused to start the job
        JobFailed,     // the printer failed while the listing was painted or sent
        SpoolFailed,   // the listing could not be kept until it was whole (no room for it)
    };
    Result result = Result::Failed;
    Reason reason = Reason::None;
    QString printer; // the printer's name, when there was one
    QString pdfFile; // the fallback file (or the one that could not be written)
    int pages = 0;
};

// How far printing is: done of total steps. Returning false cancels it; nothing is printed then.
using PrintProgress = std::function<bool(qint64 done, qint64 total)>;

// The system's printer used as a line printer: a font, then whole lines one after the other.
// The printer starts a new page itself when one is full.
class LinePrinter {
public:
    virtual ~LinePrinter() = default;
    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(float points) = 0;
    virtual void printLine(const QString &line) = 0;
    // Sends the document to the printer (or wherever it ends up) and says what happened.
    virtual PrintOutcome endDocument() = 0;
    // Drops the document: nothing of it reaches the printer.
    virtual void abortDocument() = 0;
    // Told how far sending the document goes while endDocument() works; a printer that hands it
    // over at once need not tell.
    virtual void setProgress(const PrintProgress &progress) { (void)progress; }
};

} // namespace logbook
