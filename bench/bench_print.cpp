// Printing a large local logbook: generated contacts through the local layout into the real
// painting path, by default a PDF file (the same painter a printer gets). Painting time and
// page count against the count expected from the lines per page.
//   bench_print [contacts] [--default-printer | --pdf FILE]     default: 10000 contacts, a temporary PDF
// With --default-printer the listing goes to the system's default printer instead, with --pdf
// into FILE (kept).
#include "logbook/PrintListing.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"
#include "ui/SystemPrinter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
constexpr int kRuns = 3;

const char *const kTowns[] = {"Berlin",  "Hamburg",  "München", "Köln",   "Frankfurt", "Stuttgart", "Düsseldorf",
                              "Leipzig", "Dortmund", "Essen",   "Bremen", "Dresden",   "Hannover",  "Nürnberg"};

using Record = QHash<QString, QString>;

std::vector<Record> generate(int contacts)
{
    std::vector<Record> records;
    records.reserve(contacts);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < contacts; ++i)
        records.push_back({{"skip", QStringLiteral("Skip%1").arg(i, 6, 10, QChar('0'))},
                           {"vorname", "Hans"},
                           {"ort", QString::fromUtf8(kTowns[next() % 14]) + ' ' + QString::number(next() % 100)},
                           {"land", "Deutschland"},
                           {"lanal", QString::number(1 + next() % 40)},
                           {"frequenz", "27,105"},
                           {"band", next() % 2 ? "FM" : "AM"},
                           {"rwert", "5"},
                           {"swert", "9+30"}});
    return records;
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

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int contacts = 10000;
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
            contacts = std::max(1, args.at(i).toInt());
    }
    seams::Overrides stage;
    stage.replace(seams::messageBox,
                  [](QWidget *, const seams::MessageRecord &m) { std::printf("message: %s\n", qPrintable(m.text)); });

    const std::vector<Record> records = generate(contacts);
    const logbook::RecordWalk walk = [&records](const logbook::RecordVisitor &visit) {
        for (const Record &r : records)
            visit([&r](const QString &column) { return r.value(column); });
        return true;
    };
    if (!toDefaultPrinter)
        stage.replace(seams::defaultPrinter, [file] { return pdfPrinter(file); });

    const int lines = 4 + 14 * contacts;
    const int perPage = linesPerPage();
    const int expected = (lines + perPage - 1) / perPage;
    std::printf("%d contacts, %d lines, %d lines per page: %d pages expected\n", contacts, lines, perPage, expected);

    std::vector<double> totals, paints;
    for (int run = 0; run < (toDefaultPrinter ? 1 : kRuns); ++run) {
        double paintMs = 0;
        const auto timed =
            seams::printer.replace([&paintMs](const QString &name) -> std::unique_ptr<logbook::LinePrinter> {
                return std::make_unique<TimedPrinter>(name, &paintMs);
            });
        QElapsedTimer t;
        t.start();
        const logbook::PrintOutcome outcome = logbook::printListing(nullptr, logbook::kLocalLayout, walk);
        totals.push_back(t.nsecsElapsed() / 1e6);
        paints.push_back(paintMs);
        std::printf("run %d: %.0f ms in all, %.0f ms painting, %d pages painted, printer \"%s\"%s%s\n", run + 1,
                    totals.back(), paintMs, outcome.pages, qPrintable(outcome.printer),
                    outcome.pdfFile.isEmpty() ? "" : ", PDF ", qPrintable(outcome.pdfFile));
    }
    std::printf("median: %.0f ms in all (reading and laying out the lines: %.0f ms), %.0f ms painting\n",
                median(totals), median(totals) - median(paints), median(paints));
    if (!toDefaultPrinter)
        std::printf("PDF: %d pages by pdfinfo, %.1f MB\n", pdfPages(file), QFileInfo(file).size() / 1e6);
    return 0;
}
