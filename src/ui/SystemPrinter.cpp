#include "ui/SystemPrinter.h"

#include "core/text/GermanText.h"
#include "ui/Seams.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryFile>
#include <cups/cups.h>
#include <malloc.h>

namespace ui {
namespace {

// Qt's PDF painting takes a buffer for every page and gives it back at the page's end. The C
// library would hand that memory to the system each time and have it faulted in and cleared
// again for the next page, which costs a third of the painting; it keeps up to 64 MB for reuse
// instead (the process stays some 40 MB).
void keepPageBuffersForReuse()
{
#ifdef __GLIBC__
    static const bool kept = mallopt(M_TRIM_THRESHOLD, 64 << 20) && mallopt(M_MMAP_THRESHOLD, 32 << 20);
    (void)kept;
#endif
}

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
    keepPageBuffersForReuse();
    const PaintResult painted = paintDocument(printer, lines, progress);
    outcome.pages = painted.pages;
    // A printer that writes into a file leaves what it had written when the job is dropped.
    const QString file = printer.outputFileName();
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

// Paints for a printer that writes no file of its own (a print queue): into a temporary file,
// which the queue gets only when it is whole. Qt's queue printers would hand a cancelled or
// failed job to the queue all the same, half as it is.
bool printThroughFile(QPrinter &printer, Spool &lines, const logbook::PrintProgress &progress,
                      const QString &documentName, logbook::PrintOutcome &outcome)
{
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("kanalwerk-druck-XXXXXX")));
    if (!file.open()) {
        outcome.reason = logbook::PrintOutcome::Reason::SpoolFailed;
        return false;
    }
    file.close();
    printer.setOutputFileName(file.fileName()); // no .pdf: the printer stays the queue's
    if (!paintOnto(printer, lines, progress, outcome))
        return false;
    if (!seams::printQueue(printer, file.fileName(), documentName)) {
        // The listing is whole: it becomes the PDF file in the home folder, without painting again.
        outcome.reason = logbook::PrintOutcome::Reason::JobFailed;
        const QString kept = reservePdfFile(QDir::homePath(), documentName);
        if (!kept.isEmpty() && QFile::remove(kept) && file.rename(kept)) {
            file.setAutoRemove(false);
            outcome.pdfFile = kept;
            outcome.result = logbook::PrintOutcome::Result::SavedAsPdf;
        }
        return false;
    }
    return true;
}

} // namespace

bool submitToQueue(const QPrinter &printer, const QString &file, const QString &title)
{
    // The queue's name without an instance ("PDF/a4" is the queue "PDF").
    const QByteArray queue = printer.printerName().section(u'/', 0, 0).toLocal8Bit();
    if (queue.isEmpty())
        return false;
    QByteArray media = printer.pageLayout().pageSize().key().toLocal8Bit();
    QByteArray sides = printer.duplex() == QPrinter::DuplexNone        ? "one-sided"
                       : printer.duplex() == QPrinter::DuplexShortSide ? "two-sided-short-edge"
                                                                       : "two-sided-long-edge";
    QByteArray mediaName = "media", sidesName = "sides";
    cups_option_t options[] = {{mediaName.data(), media.data()}, {sidesName.data(), sides.data()}};
    return cupsPrintFile(queue.constData(), QFile::encodeName(file).constData(), title.toUtf8().constData(), 2,
                         options)
           > 0;
}

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
        const bool printed = printer->outputFileName().isEmpty()
                                 ? printThroughFile(*printer, m_spool, m_progress, m_documentName, outcome)
                                 : paintOnto(*printer, m_spool, m_progress, outcome);
        if (printed) {
            outcome.result = logbook::PrintOutcome::Result::Printed;
            outcome.reason = logbook::PrintOutcome::Reason::None;
            return outcome;
        }
        if (outcome.result == logbook::PrintOutcome::Result::Cancelled
            || outcome.result == logbook::PrintOutcome::Result::SavedAsPdf)
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
