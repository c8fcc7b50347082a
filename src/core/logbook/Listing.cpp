#include "core/logbook/Listing.h"

#include "core/data/RecordSource.h"

#include <algorithm>

namespace logbook {
namespace {

void printBlock(LinePrinter &printer, const PrintLayout &layout, const FieldReader &field)
{
    for (const PrintLine &line : layout.block)
        printer.printLine(line.column ? line.text + field(QString::fromLatin1(line.column)) : line.text);
}

void setFont(LinePrinter &printer, const PrintLayout &layout)
{
    printer.setFontName(QString::fromUtf8(layout.fontName));
    printer.setFontSize(layout.fontSize);
}

} // namespace

PrintOutcome writeListing(const PrintLayout &layout, const RecordWalk &walk, const PrinterOpener &openPrinter,
                          const PrintProgress &progress, qint64 records)
{
    // Painting takes some forty times as long as reading the records.
    const qint64 readSteps = std::max<qint64>(records, 1), total = 20 * readSteps;
    qint64 visited = 0;
    bool cancelled = false;
    std::unique_ptr<LinePrinter> printer;
    const bool read = walk([&](const FieldReader &field) {
        if (!printer) {
            printer = openPrinter(QString::fromUtf8(layout.documentName));
            if (!layout.fontBeforeEveryBlock)
                setFont(*printer, layout);
            for (int i = 0; i < layout.leadingEmptyLines; ++i)
                printer->printLine(QString());
        }
        if (layout.fontBeforeEveryBlock)
            setFont(*printer, layout);
        printBlock(*printer, layout, field);
        if (progress && ++visited % 100 == 0 && !progress(std::min(visited, readSteps), total))
            cancelled = true;
        return !cancelled;
    });

    PrintOutcome outcome;
    if (cancelled) {
        printer->abortDocument();
        outcome.result = PrintOutcome::Result::Cancelled;
    } else if (!read) {
        if (printer)
            printer->abortDocument();
        outcome.result = PrintOutcome::Result::ReadFailed;
    } else if (!printer) {
        outcome.result = PrintOutcome::Result::NothingToPrint;
    } else {
        if (progress)
            printer->setProgress([&](qint64 done, qint64 lines) {
                return progress(readSteps + (total - readSteps) * done / std::max<qint64>(lines, 1), total);
            });
        outcome = printer->endDocument();
    }
    return outcome;
}

RecordWalk rowsOf(data::RecordSource &source)
{
    return [&source](const RecordVisitor &visit) {
        return source.forEachRow([&visit](const data::RecordSource::RowReader &field) {
            return visit([&field](const QString &column) { return field(column).toString(); });
        });
    };
}

} // namespace logbook
