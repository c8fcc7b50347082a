#include "logbook/PrintListing.h"

#include "ui/MessageBox.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QCursor>

namespace logbook {
namespace {

void printBlock(LinePrinter &printer, const PrintLayout &layout, const FieldReader &field)
{
    const QString separator = QString::fromUtf8(layout.valueSeparator);
    for (const PrintLine &line : layout.block) {
        QString text = QString::fromUtf8(line.label);
        if (line.column)
            text += separator + field(QString::fromUtf8(line.column));
        printer.printLine(text);
    }
}

void setFont(LinePrinter &printer, const PrintLayout &layout)
{
    printer.setFontName(QString::fromUtf8(layout.fontName));
    printer.setFontSize(layout.fontSize);
}

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
    std::unique_ptr<LinePrinter> printer; // made at the first record: an empty logbook prints nothing
    const bool read = walk([&](const FieldReader &field) {
        if (!printer) {
            printer = seams::printer(QString::fromUtf8(layout.documentName));
            if (!layout.fontBeforeEveryBlock)
                setFont(*printer, layout);
            for (int i = 0; i < layout.leadingEmptyLines; ++i)
                printer->printLine(QString());
        }
        if (layout.fontBeforeEveryBlock)
            setFont(*printer, layout);
        printBlock(*printer, layout, field);
    });

    PrintOutcome outcome;
    if (!read) {
        if (printer)
            printer->abortDocument();
        outcome.result = PrintOutcome::Result::ReadFailed;
    } else if (!printer) {
        outcome.result = PrintOutcome::Result::NothingToPrint;
    } else {
        outcome = printer->endDocument();
    }
    QApplication::restoreOverrideCursor();

    const OutcomeMessage message = outcomeMessage(outcome);
    if (!message.text.isEmpty())
        ui::show(window, message.icon, message.text);
    return outcome;
}

} // namespace logbook
