#pragma once
#include "core/logbook/LinePrinter.h"
#include "core/logbook/PrintLayout.h"

#include <QString>
#include <functional>
#include <memory>

namespace data {
class RecordSource;
}

namespace logbook {

// A record's column read as text by name; empty text for NULL.
using FieldReader = std::function<QString(const QString &column)>;
// Called once per record, in order; returning false ends the walk there.
using RecordVisitor = std::function<bool(const FieldReader &field)>;
// Walks every record of the listing through visit; false when reading failed on the way (not
// when the visitor ended it).
using RecordWalk = std::function<bool(const RecordVisitor &visit)>;
// Opens the printer for a document of this name.
using PrinterOpener = std::function<std::unique_ptr<LinePrinter>(const QString &documentName)>;

// Writes the listing of every record the walk hands over in the given layout. The printer is
// opened at the first record, so an empty logbook opens none (NothingToPrint). When reading
// fails on the way the document is dropped and nothing reaches the printer (ReadFailed);
// otherwise the outcome is what ending the document says.
//
// With a progress, the walk of the listing's records (their number given) is the first twentieth of
// the work and sending the document the rest. When the user cancels, the document is dropped and
// nothing reaches the printer (Cancelled).
PrintOutcome writeListing(const PrintLayout &layout, const RecordWalk &walk, const PrinterOpener &openPrinter,
                          const PrintProgress &progress = {}, qint64 records = 0);

// Every row of the data control's current result, in its order, each column read as text.
RecordWalk rowsOf(data::RecordSource &source);

} // namespace logbook
