#include "logbook/PrintListing.h"

#include "ui/MessageBox.h"
#include "ui/Progress.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QCursor>

namespace logbook {
namespace {

QString printerTrouble(const PrintOutcome &outcome)
{
    const QString printer = outcome.printer.isEmpty() ? QStringLiteral("Der Drucker")
                                                      : QStringLiteral("Der Drucker „%1“").arg(outcome.printer);
    switch (outcome.reason) {
    case PrintOutcome::Reason::NoPrinter:
        return QStringLiteral("Es ist kein Standarddrucker eingerichtet.");
    case PrintOutcome::Reason::JobNotStarted:
        return printer + QStringLiteral(" konnte den Druckauftrag nicht beginnen.");
    case PrintOutcome::Reason::JobFailed:
        return printer + QStringLiteral(" hat den Druckauftrag nicht vollständig angenommen.");
    case PrintOutcome::Reason::SpoolFailed:
    case PrintOutcome::Reason::None:
        break;
    }
    return QStringLiteral("Die Liste konnte nicht gedruckt werden.");
}

} // namespace

OutcomeMessage outcomeMessage(const PrintOutcome &outcome)
{
    switch (outcome.result) {
    case PrintOutcome::Result::Printed:
        return {};
    case PrintOutcome::Result::NothingToPrint:
        return {QMessageBox::NoIcon, kNothingToPrint};
    case PrintOutcome::Result::Cancelled:
        return {QMessageBox::Information,
                QStringLiteral("Der Druck wurde abgebrochen. Es wurde nichts an den Drucker geschickt.")};
    case PrintOutcome::Result::ReadFailed:
        return {QMessageBox::Critical,
                QStringLiteral("Das Logbuch konnte nicht vollständig gelesen werden. Es wurde nichts gedruckt.")};
    case PrintOutcome::Result::SavedAsPdf:
        return {QMessageBox::Warning, printerTrouble(outcome)
                                          + QStringLiteral("\nDie Liste wurde stattdessen als PDF-Datei gespeichert:\n")
                                          + outcome.pdfFile};
    case PrintOutcome::Result::Failed:
        if (outcome.reason == PrintOutcome::Reason::SpoolFailed)
            return {QMessageBox::Critical,
                    QStringLiteral("Die Liste konnte nicht zwischengespeichert werden: im Ordner für temporäre "
                                   "Dateien ist nicht genug Platz. Es wurde nichts gedruckt.")};
        break;
    }
    return {QMessageBox::Critical, printerTrouble(outcome)
                                       + QStringLiteral("\nDie Liste konnte auch nicht als PDF-Datei gespeichert "
                                                        "werden:\n")
                                       + outcome.pdfFile + QStringLiteral("\nEs wurde nichts gedruckt.")};
}

PrintOutcome printListing(QWidget *window, const PrintLayout &layout, const RecordWalk &walk, qint64 records)
{
    // Busy, but the progress window's "Abbrechen" can still be clicked.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const std::unique_ptr<ui::Progress> progress =
        seams::progress(window, QStringLiteral("Die Liste wird gedruckt ..."));
    const PrintOutcome outcome = writeListing(
        layout, walk, [](const QString &document) { return seams::printer(document); },
        [&progress](qint64 done, qint64 total) { return progress->step(done, total); }, records);
    QApplication::restoreOverrideCursor();

    const OutcomeMessage message = outcomeMessage(outcome);
    if (!message.text.isEmpty())
        ui::show(window, message.icon, message.text);
    return outcome;
}

} // namespace logbook
