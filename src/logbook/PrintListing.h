#pragma once
#include "core/logbook/Listing.h"

#include <QMessageBox>
#include <QString>

class QWidget;

namespace logbook {

// Told when the logbook holds no contact; nothing is printed then.
inline const QString kNothingToPrint = QStringLiteral("Das Logbuch enthält keine Kontakte. Es gibt nichts zu drucken.");

// Prints the listing of every record the walk hands over in the given layout on the system's
// printer (the one from seams::printer) and tells the user what became of it: nothing on success,
// a German message when there was nothing to print, when the listing went into a PDF file instead,
// or when it could not be printed at all, or the user cancelled. Blocks until the job has been
// handed over; a listing of the given number of records that takes more than a moment shows its
// progress with "Abbrechen".
PrintOutcome printListing(QWidget *window, const PrintLayout &layout, const RecordWalk &walk, qint64 records);

// The message for an outcome; empty text when there is nothing to tell.
struct OutcomeMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
};
OutcomeMessage outcomeMessage(const PrintOutcome &outcome);

} // namespace logbook
