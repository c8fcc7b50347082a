#include "ui/SystemPrinter.h"

#include "core/text/GermanText.h"
#include "ui/Seams.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPrinter>

namespace ui {
namespace {

void prepare(QPrinter &printer, const QString &documentName)
{
    printer.setDocName(documentName);
    printer.setCreator(QStringLiteral("WELLENKLADDE 2006"));
    printer.setFullPage(false);
    // A printer whose hardware margins are wider keeps its own.
    printer.setPageMargins(QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter);
}

// A PDF counts as written only when it is complete on disk.
bool completePdf(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 32)
        return false;
    if (!f.read(5).startsWith("%PDF-"))
        return false;
    f.seek(std::max<qint64>(0, f.size() - 1024));
    return f.readAll().contains("%%EOF");
}

// False when the listing did not get onto the printer whole; outcome says why (Cancelled when
// the user stopped it).
bool paintOnto(QPrinter &printer, Spool &lines, const logbook::PrintProgress &progress,
               logbook::PrintOutcome &outcome)
{
    if (!lines.rewind()) {
        outcome.reason = logbook::PrintOutcome::Reason::SpoolFailed;
        return false;
    }
    const PaintResult painted = paintDocument(printer, lines, progress);
    outcome.pages = painted.pages;
    // A printer that writes into a file leaves what it had written when the job is dropped.
    const QString file = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    if (painted.cancelled) {
        if (!file.isEmpty())
            QFile::remove(file);
        outcome.result = logbook::PrintOutcome::Result::Cancelled;
        return false;
    }
    if (!painted.started) {
        outcome.reason = logbook::PrintOutcome::Reason::JobNotStarted;
        return false;
    }
    bool done = painted.finished;
    if (done && !file.isEmpty())
        done = completePdf(file);
    if (!done)
        outcome.reason = logbook::PrintOutcome::Reason::JobFailed;
    return done;
}

} // namespace

QString reservePdfFile(const QString &folder, const QString &documentName)
{
    const QString stem = documentName + u' ' + german::dateText(seams::today());
    const QDir dir(folder);
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? stem + QStringLiteral(".pdf") : QStringLiteral("%1 (%2).pdf").arg(stem).arg(n);
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            return {}; // not a name clash: the folder takes no file
    }
    return {};
}

SystemPrinter::SystemPrinter(QString documentName) : m_documentName(std::move(documentName)) {}

logbook::PrintOutcome SystemPrinter::endDocument()
{
    logbook::PrintOutcome outcome;
    if (!m_spool.ok()) { // the listing is not whole: nothing of it may be printed
        outcome.reason = logbook::PrintOutcome::Reason::SpoolFailed;
        return outcome;
    }
    if (std::unique_ptr<QPrinter> printer = seams::defaultPrinter()) {
        outcome.printer = printer->printerName();
        prepare(*printer, m_documentName);
        if (paintOnto(*printer, m_spool, m_progress, outcome)) {
            outcome.result = logbook::PrintOutcome::Result::Printed;
            outcome.reason = logbook::PrintOutcome::Reason::None;
            return outcome;
        }
        if (outcome.result == logbook::PrintOutcome::Result::Cancelled)
            return outcome;
    } else {
        outcome.reason = logbook::PrintOutcome::Reason::NoPrinter;
    }

    const QString home = QDir::homePath();
    outcome.pdfFile = reservePdfFile(home, m_documentName);
    if (outcome.pdfFile.isEmpty()) {
        outcome.pdfFile = QDir(home).filePath(m_documentName + u' ' + german::dateText(seams::today()) + ".pdf");
        outcome.result = logbook::PrintOutcome::Result::Failed;
        return outcome;
    }
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(outcome.pdfFile);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    prepare(pdf, m_documentName);
    logbook::PrintOutcome saved = outcome; // keeps why the printer was not used
    if (paintOnto(pdf, m_spool, m_progress, saved)) {
        outcome.pages = saved.pages;
        outcome.result = logbook::PrintOutcome::Result::SavedAsPdf;
    } else {
        QFile::remove(outcome.pdfFile); // a broken file must not pass for the listing
        outcome.result = saved.result == logbook::PrintOutcome::Result::Cancelled
                             ? logbook::PrintOutcome::Result::Cancelled
                             : logbook::PrintOutcome::Result::Failed;
    }
    return outcome;
}

} // namespace ui
