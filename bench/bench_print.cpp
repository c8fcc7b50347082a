// Printing a large local logbook from the real window: DRUCKEN reads every contact from the file
// and paints the listing, by default into a PDF file (the same painter a printer gets). Time, the
// painting's share, pages against the count expected from the lines per page, and the peak memory
// of the process.
//   bench_print [contacts ...] [--default-printer | --pdf FILE]   default: 10000 100000, a temporary PDF
// With --default-printer the listing goes to the system's default printer instead, with --pdf
// into FILE (kept).
#include "core/data/Files.h"
#include "core/logbook/PrintLayout.h"
#include "logbook/PrintListing.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "support/CoreSupport.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"
#include "ui/SystemPrinter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// The local logbook file with this many contacts, saved in an order unrelated to skip's.
void generate(const QString &file, int contacts)
{
    QFile::remove(file);
    QFile::copy(QStringLiteral(KW_DATA_DIR "/Frequenzen1.quorvel"), file);
    QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
    const QString n = QString::number(contacts);
    testsupport::execSql(file, "with recursive c(i) as (select 1 union all select i+1 from c where i < " + n
                                   + ") insert into Kontakt (skip, vorname, ort, land, lanal, frequenz, band, rwert,"
                                     " swert, bemerkung) select printf('Skip%06d', (i * 7919) % "
                                   + n
                                   + "), 'Hans', 'München ' || (abs(random()) % 100), 'Deutschland',"
                                     " 1 + abs(random()) % 40, '27,105', case when i % 2 then 'FM' else 'AM' end,"
                                     " '5', '9+30', 'Gute Verbindung' from c");
}

long peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    return -1;
}

// The real printer, with its end of document timed.
class TimedPrinter : public logbook::LinePrinter {
public:
    TimedPrinter(const QString &name, double *ms) : m_printer(name), m_ms(ms) {}
    void setFontName(const QString &name) override { m_printer.setFontName(name); }
    void setFontSize(float points) override { m_printer.setFontSize(points); }
    void printLine(const QString &line) override { m_printer.printLine(line); }
    void abortDocument() override { m_printer.abortDocument(); }
    logbook::PrintOutcome endDocument() override
    {
        QElapsedTimer t;
        t.start();
        auto outcome = m_printer.endDocument();
        *m_ms = t.nsecsElapsed() / 1e6;
        return outcome;
    }

private:
    ui::SystemPrinter m_printer;
    double *m_ms;
};

std::unique_ptr<QPrinter> pdfPrinter(const QString &file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

// Lines per page of the local layout, worked out apart from the painter: printable height over
// the line spacing of its font.
int linesPerPage()
{
    QTemporaryDir dir;
    auto printer = pdfPrinter(dir.filePath("probe.pdf"));
    printer->setPageMargins(QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter);
    QFont font(QString::fromUtf8(logbook::kLocalLayout.fontName));
    font.setPointSizeF(logbook::kLocalLayout.fontSize);
    const QFontMetricsF fm(font, printer.get());
    std::printf("font: %s %g pt resolves to %s\n", logbook::kLocalLayout.fontName, logbook::kLocalLayout.fontSize,
                qPrintable(QFontInfo(font).family()));
    return int(std::floor(printer->pageRect(QPrinter::DevicePixel).height() / fm.lineSpacing()));
}

int pdfPages(const QString &file)
{
    QProcess p;
    p.start("pdfinfo", {file});
    if (!p.waitForFinished(600000))
        return -1;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> sizes;
    bool toDefaultPrinter = false;
    QTemporaryDir dir;
    QString file = dir.filePath("liste.pdf");
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == "--default-printer")
            toDefaultPrinter = true;
        else if (args.at(i) == "--pdf" && i + 1 < args.size())
            file = QFileInfo(args.at(++i)).absoluteFilePath();
        else
            sizes.push_back(std::max(1, args.at(i).toInt()));
    }
    if (sizes.empty())
        sizes = {10000, 100000};
    seams::Overrides stage;
    stage.replace(seams::messageBox,
                  [](QWidget *, const seams::MessageRecord &m) { std::printf("message: %s\n", qPrintable(m.text)); });
    if (!toDefaultPrinter)
        stage.replace(seams::defaultPrinter, [file] { return pdfPrinter(file); });
    QDir::setCurrent(dir.path());
    shell::MainWindow frame;
    auto &registry = shell::WindowRegistry::instance();
    const QString window = QStringLiteral("frm_kontaktverwaltung");
    const int perPage = linesPerPage();

    for (const int contacts : sizes) {
        generate(dir.filePath(data::kLogbookFile), contacts);
        const int lines = 4 + 14 * contacts;
        std::printf("\n%d contacts, %d lines, %d lines per page: %d pages expected\n", contacts, lines, perPage,
                    (lines + perPage - 1) / perPage);
        double paintMs = 0;
        const auto timed =
            seams::printer.replace([&paintMs](const QString &name) -> std::unique_ptr<logbook::LinePrinter> {
                return std::make_unique<TimedPrinter>(name, &paintMs);
            });
        QWidget *logbook = registry.show(window);
        QElapsedTimer t;
        t.start();
        logbook->findChild<QPushButton *>(QStringLiteral("cmd_drucken"))->click();
        const double total = t.nsecsElapsed() / 1e6;
        registry.close(window);
        std::printf("DRUCKEN: %.0f ms in all (reading and laying out the lines: %.0f ms), %.0f ms painting\n", total,
                    total - paintMs, paintMs);
        if (!toDefaultPrinter)
            std::printf("PDF: %d pages by pdfinfo, %.1f MB\n", pdfPages(file), QFileInfo(file).size() / 1e6);
        std::printf("peak memory of the process so far: %ld MB\n", peakMemoryMb());
    }
    return 0;
}
