#pragma once
#include "core/logbook/LinePrinter.h"
#include "core/logbook/PrintLayout.h"

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace logbook {

// A record's column read as text by name; empty text for NULL.
using FieldReader = std::function<QString(const QString &column)>;
// Called once per record, in order.
using RecordVisitor = std::function<void(const FieldReader &field)>;
// Walks every record of the listing through visit; false when reading failed on the way.
using RecordWalk = std::function<bool(const RecordVisitor &visit)>;

// Told when the logbook holds no contact; nothing is printed then.
inline const QString kNothingToPrint = QStringLiteral("Das Logbuch enthält keine Kontakte. Es gibt nichts zu drucken.");

// Prints the listing of every record the walk hands over in the given layout on the system's
// printer (the one from seams::printer) and tells the user what became of it: nothing on success,
// a German message when there was nothing to print, when the listing went into a PDF file instead,
// or when it could not be printed at all. Blocks until the job has been handed over.
PrintOutcome printListing(QWidget *window, const PrintLayout &layout, const RecordWalk &walk);

// The message for an outcome; empty text when there is nothing to tell.
struct OutcomeMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
};
OutcomeMessage outcomeMessage(const PrintOutcome &outcome);

} // namespace logbook
