#include "logbook/PrintListing.h"

#include "ui/MessageBox.h"
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
    case PrintOutcome::Result::ReadFailed:
        return {QMessageBox::Critical,
                QStringLiteral("Das Logbuch konnte nicht vollständig gelesen werden. Es wurde nichts gedruckt.")};
    case PrintOutcome::Result::SavedAsPdf:
        return {QMessageBox::Warning, printerTrouble(outcome)
                                          + QStringLiteral("\nDie Liste wurde stattdessen als PDF-Datei gespeichert:\n")
                                          + outcome.pdfFile};
    case PrintOutcome::Result::Failed:
        break;
    }
    return {QMessageBox::Critical, printerTrouble(outcome)
                                       + QStringLiteral("\nDie Liste konnte auch nicht als PDF-Datei gespeichert "
                                                        "werden:\n")
                                       + outcome.pdfFile + QStringLiteral("\nEs wurde nichts gedruckt.")};
}

PrintOutcome printListing(QWidget *window, const PrintLayout &layout, const RecordWalk &walk)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const PrintOutcome outcome =
        writeListing(layout, walk, [](const QString &document) { return seams::printer(document); });
    QApplication::restoreOverrideCursor();

    const OutcomeMessage message = outcomeMessage(outcome);
    if (!message.text.isEmpty())
        ui::show(window, message.icon, message.text);
    return outcome;
}

} // namespace logbook
