#include "logbook/PrintListing.h"
#include "support/WindowDriver.h"
#include "ui/Progress.h"
#include "ui/SystemPrinter.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>

using logbook::PrintOutcome;
using testsupport::Fixture;

namespace {
using Record = QHash<QString, QString>; // a missing column reads as NULL (empty text)
using Result = PrintOutcome::Result;

const logbook::PrintLayout *const kLayouts[] = {&logbook::kLocalLayout, &logbook::kDxLayout};

// Hands the records over in order; reading "fails" after failAfter records.
logbook::RecordWalk walkOver(const QList<Record> &records, int failAfter = -1)
{
    return [records, failAfter](const logbook::RecordVisitor &visit) {
        for (int i = 0; i < records.size(); ++i) {
            if (i == failAfter)
                return false;
            const Record &r = records.at(i);
            if (!visit([&r](const QString &column) { return r.value(column); }))
                break;
        }
        return true;
    };
}

// Keeps every call in order: each line as printed, the others in brackets ("<font Arial>", "<end>").
class RecordingPrinter : public logbook::LinePrinter {
public:
    explicit RecordingPrinter(QStringList *calls) : m_calls(calls) {}
    void setFontName(const QString &name) override { *m_calls << "<font " + name + ">"; }
    void setFontSize(float points) override { *m_calls << "<size " + QString::number(points) + ">"; }
    void printLine(const QString &line) override { *m_calls << line; }
    PrintOutcome endDocument() override
    {
        *m_calls << "<end>";
        return {Result::Printed, {}, {}, {}};
    }
    void abortDocument() override { *m_calls << "<abort>"; }

private:
    QStringList *m_calls;
};

Record contact(const QString &skip, const QString &land = "Deutschland")
{
    return {{"skip", skip},       {"vorname", "Hans"},   {"ort", "Köln"},
            {"land", land},       {"callsign", "DC1AB"}, {"datum", "30.06.2006"},
            {"uhrzeit", "21:45"}, {"lanal", "12"},       {"frequenz", "27,105"},
            {"band", "FM"},       {"rwert", "5"},        {"swert", "9+30"},
            {"name", "Privat"},   {"strasse", "Privat"}, {"bemerkung", "nicht drucken"}};
}

// The specified blocks, written out as a reader of the listing would check them.
QStringList localBlock(const Record &r)
{
    return {"       Skip\t: " + r.value("skip"),
            "       Operator\t: " + r.value("vorname"),
            "       QTH\t: " + r.value("ort"),
            "       Land\t: " + r.value("land"),
            "",
            "       Kanal\t: " + r.value("lanal"),
            "       Frequenz\t: " + r.value("frequenz"),
            "       Mod\t: " + r.value("band"),
            "",
            "       R-Wert\t: " + r.value("rwert"),
            "       S-Wert\t: " + r.value("swert"),
            "",
            "       **********************************************************",
            ""};
}

QStringList dxBlock(const Record &r)
{
    return {"       Datum: " + r.value("datum"),
            "       Uhrzeit: " + r.value("uhrzeit"),
            "       CallSign: " + r.value("callsign"),
            "       Skip: " + r.value("skip"),
            "       Operator: " + r.value("vorname"),
            "       QTH: " + r.value("ort"),
            "       Land: " + r.value("land"),
            "       Kanal: " + r.value("lanal"),
            "       Frequenz: " + r.value("frequenz"),
            "       Mod: " + r.value("band"),
            "       R-Wert: " + r.value("rwert"),
            "       S-Wert: " + r.value("swert"),
            "       **********************************************************"};
}

QStringList localLines(const QList<Record> &records)
{
    QStringList lines{"", "", "", ""};
    for (const Record &r : records)
        lines << localBlock(r);
    return lines;
}

// A PDF's words as pdftotext places them, grouped into lines (page, then top to bottom).
struct Word {
    double xMin, yMin, xMax, yMax;
    QString text;
    int page;
};
struct PdfText {
    QList<QSizeF> pages;
    QList<QList<Word>> lines;
};

PdfText readPdf(const QString &file)
{
    PdfText pdf;
    QProcess p;
    p.start("pdftotext", {"-bbox", file, "-"});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        qWarning("pdftotext failed on %s", qPrintable(file));
        return pdf;
    }
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression pageRe(R"re(<page width="([\d.]+)" height="([\d.]+)">(.*?)</page>)re",
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression wordRe(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto page = pageRe.globalMatch(html); page.hasNext();) {
        const auto pm = page.next();
        pdf.pages << QSizeF(pm.captured(1).toDouble(), pm.captured(2).toDouble());
        std::map<long, QList<Word>> rows; // by baseline region, in 0.5 pt steps
        for (auto word = wordRe.globalMatch(pm.captured(3)); word.hasNext();) {
            const auto wm = word.next();
            const Word w{wm.captured(1).toDouble(),
                         wm.captured(2).toDouble(),
                         wm.captured(3).toDouble(),
                         wm.captured(4).toDouble(),
                         wm.captured(5).replace("&amp;", "&"),
                         int(pdf.pages.size()) - 1};
            rows[std::lround(w.yMax * 2)] << w;
        }
        for (auto &[y, words] : rows) {
            std::sort(words.begin(), words.end(), [](const Word &a, const Word &b) { return a.xMin < b.xMin; });
            pdf.lines << words;
        }
    }
    return pdf;
}

QString withoutBlanks(QString text) { return text.remove(QRegularExpression(R"(\s)")); }

QString pdfCharacters(const PdfText &pdf)
{
    QString all;
    for (const auto &line : pdf.lines)
        for (const Word &w : line)
            all += w.text;
    return all;
}

std::unique_ptr<QPrinter> pdfPrinter(const QString &file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    if (!file.isEmpty())
        printer->setOutputFileName(file);
    return printer;
}

constexpr double kMm = 72 / 25.4;

// Notes every step it is told and cancels at the first that reaches cancelAt (never when -1).
class CancellingProgress : public ui::Progress {
public:
    CancellingProgress(qint64 cancelAt, QList<QPair<qint64, qint64>> *steps) : m_cancelAt(cancelAt), m_steps(steps)
    {
    }
    bool step(qint64 done, qint64 total) override
    {
        *m_steps << qMakePair(done, total);
        return m_cancelAt < 0 || done < m_cancelAt;
    }

private:
    qint64 m_cancelAt;
    QList<QPair<qint64, qint64>> *m_steps;
};
} // namespace

class TestPrint : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_fx = std::make_unique<Fixture>(QSize(1280, 1024), false);
        m_calls.clear();
        m_fx->replace(seams::printer, [this](const QString &document) -> std::unique_ptr<logbook::LinePrinter> {
            m_calls << "<open " + document + ">";
            return std::make_unique<RecordingPrinter>(&m_calls);
        });
        QDir(m_fx->dir()).mkdir("home");
        m_oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(m_fx->path("home")));
    }
    void cleanup()
    {
        m_oldHome.isEmpty() ? void(qunsetenv("HOME")) : void(qputenv("HOME", m_oldHome));
        m_fx.reset();
    }

    void recordedListing_data();
    void recordedListing();
    void paintedListing();
    void fallback_data();
    void fallback();
    void fromTheWindow_data();
    void fromTheWindow();
    void cancelled_data();
    void cancelled();

private:
    std::unique_ptr<Fixture> m_fx;
    QByteArray m_oldHome;
    QStringList m_calls;
};

// clang-format off
void TestPrint::recordedListing_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<int>("failAfter");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("messages");

    const Record noLand = contact("Eisbär", QString());
    Record empty; // every printed column NULL
    const QStringList none;

    QStringList local{"<open Logbuch LOCAL>", "<font Arial>", "<size 12>"}; // then 4 + 3 x 14 lines
    local << localLines({contact("Adler"), noLand, empty}) << "<end>";
    QTest::newRow("local: three contacts, an empty land, an empty record")
        << 0 << QList<Record>{contact("Adler"), noLand, empty} << -1 << local << none;

    QStringList dx{"<open Logbuch DX>"}; // 2 x 13 lines
    for (const Record &r : {contact("Zulu"), empty})
        dx << "<font Tahoma>"
           << "<size 12>" << dxBlock(r);
    dx << "<end>";
    QTest::newRow("dx: two contacts in the order handed over, font before each block")
        << 1 << QList<Record>{contact("Zulu"), empty} << -1 << dx << none;

    for (int layout : {0, 1})
        QTest::addRow("%s: empty logbook", layout ? "dx" : "local")
            << layout << QList<Record>{} << -1 << none << QStringList{logbook::kNothingToPrint};

    QStringList broken{"<open Logbuch LOCAL>", "<font Arial>", "<size 12>"};
    broken << localLines({contact("Adler")}) << "<abort>";
    QTest::newRow("reading fails after the first contact: nothing sent")
        << 0 << QList<Record>{contact("Adler"), contact("Bär")} << 1 << broken
        << QStringList{"Das Logbuch konnte nicht vollständig gelesen werden. Es wurde nichts gedruckt."};
}
// clang-format on

void TestPrint::recordedListing()
{
    QFETCH(int, layout);
    QFETCH(QList<Record>, records);
    QFETCH(int, failAfter);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, messages);

    const PrintOutcome outcome = logbook::printListing(nullptr, *kLayouts[layout], walkOver(records, failAfter), records.size());
    QCOMPARE(m_calls, calls);
    QCOMPARE(m_fx->messageTexts(), messages);
    const Result expected = failAfter >= 0      ? Result::ReadFailed
                            : records.isEmpty() ? Result::NothingToPrint
                                                : Result::Printed;
    QCOMPARE(outcome.result, expected);
}

// The real painting path into a PDF: every character comes back once, in order, over several
// pages; values line up at the tab stop; long values are wrapped inside the margins, not cut.
void TestPrint::paintedListing()
{
    const QString file = m_fx->path("druck.pdf");
    const auto realPrinter = seams::printer.replace({});
    const auto intoFile = seams::defaultPrinter.replace([file] { return pdfPrinter(file); });

    QList<Record> records;
    for (int i = 1; i <= 60; ++i)
        records << contact(QStringLiteral("Skip%1").arg(i, 2, 10, QChar('0')));
    QStringList words;
    for (int i = 1; i <= 40; ++i)
        words << QStringLiteral("Wort%1").arg(i);
    records[6]["ort"] = words.join(' ');
    records[7]["land"] = QString("0123456789").repeated(25); // no blank to break at
    records[8]["vorname"] = "Jürgen Öztürk-Weiß";

    const PrintOutcome outcome = logbook::printListing(nullptr, logbook::kLocalLayout, walkOver(records), records.size());
    QCOMPARE(outcome.result, Result::Printed);
    QVERIFY(m_fx->messages.isEmpty());

    const PdfText pdf = readPdf(file);
    QCOMPARE(pdf.pages.size(), outcome.pages);
    QVERIFY2(pdf.pages.size() >= 10, qPrintable(QString::number(pdf.pages.size())));
    QCOMPARE(pdfCharacters(pdf), withoutBlanks(localLines(records).join("")));

    double colon = -1, valueX = -1;
    int wrappedWords = 0, wrappedDigits = 0;
    for (qsizetype i = 0; i < pdf.lines.size(); ++i) {
        const auto &line = pdf.lines.at(i);
        const QSizeF page = pdf.pages.at(line.at(0).page);
        for (const Word &w : line) {
            QVERIFY2(w.xMin >= 20 * kMm - 1 && w.xMax <= page.width() - 15 * kMm + 1, qPrintable(w.text));
            QVERIFY2(w.yMin >= 15 * kMm - 1 && w.yMax <= page.height() - 15 * kMm + 1, qPrintable(w.text));
        }
        if (line.size() >= 2 && line.at(1).text == ":") {
            if (colon < 0)
                colon = line.at(1).xMin;
            QVERIFY2(qAbs(line.at(1).xMin - colon) < 0.5, qPrintable(line.at(0).text));
            if (line.size() >= 3)
                valueX = line.at(2).xMin;
        }
        const QString first = line.at(0).text;
        if (first.startsWith("Wort") || first.at(0).isDigit()) { // a continuation starts under the value
            QVERIFY2(qAbs(line.at(0).xMin - valueX) < 0.5, qPrintable(first));
            ++(first.startsWith("Wort") ? wrappedWords : wrappedDigits);
        }
    }
    QVERIFY(colon > 0);
    QVERIFY(wrappedWords >= 1);
    QVERIFY(wrappedDigits >= 1);
}

// clang-format off
void TestPrint::fallback_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("printer"); // "none", "refusing"
    QTest::addColumn<bool>("earlierFile");
    QTest::addColumn<bool>("homeMissing");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");

    const QString saved = "\nDie Liste wurde stattdessen als PDF-Datei gespeichert:\n";
    QTest::newRow("no default printer") << 0 << "none" << false << false << int(Result::SavedAsPdf)
                                        << "Logbuch LOCAL 07.12.2026.pdf"
                                        << "Es ist kein Standarddrucker eingerichtet." + saved;
    QTest::newRow("dx, earlier file of the day kept")
        << 1 << "none" << true << false << int(Result::SavedAsPdf) << "Logbuch DX 07.12.2026 (2).pdf"
        << "Es ist kein Standarddrucker eingerichtet." + saved;
    QTest::newRow("printer refuses the job")
        << 0 << "refusing" << false << false << int(Result::SavedAsPdf) << "Logbuch LOCAL 07.12.2026.pdf"
        << "Der Drucker konnte den Druckauftrag nicht beginnen." + saved;
    QTest::newRow("home folder takes no file")
        << 0 << "none" << false << true << int(Result::Failed) << "Logbuch LOCAL 07.12.2026.pdf"
        << "Es ist kein Standarddrucker eingerichtet.\nDie Liste konnte auch nicht als PDF-Datei gespeichert "
           "werden:\n";
}
// clang-format on

void TestPrint::fallback()
{
    QFETCH(int, layout);
    QFETCH(QString, printer);
    QFETCH(bool, earlierFile);
    QFETCH(bool, homeMissing);
    QFETCH(int, result);
    QFETCH(QString, file);
    QFETCH(QString, message);

    const auto realPrinter = seams::printer.replace({});
    const QString home = m_fx->path(homeMissing ? "fehlt" : "home");
    qputenv("HOME", QFile::encodeName(home));
    const QString refused = m_fx->path("fehlt/drucker.pdf");
    const auto lookup =
        seams::defaultPrinter.replace([printer, refused] { return printer == "none" ? nullptr : pdfPrinter(refused); });
    const QString earlier = QDir(home).filePath(file).replace(" (2)", "");
    if (earlierFile) {
        QFile f(earlier);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("frühere Liste") > 0);
    }

    const PrintOutcome outcome =
        logbook::printListing(nullptr, *kLayouts[layout], walkOver({contact("Adler"), contact("Bär")}), 2);
    const QString path = QDir(home).filePath(file);
    QCOMPARE(int(outcome.result), result);
    QCOMPARE(outcome.pdfFile, path);
    QCOMPARE(m_fx->messages.size(), 1);
    QCOMPARE(m_fx->messages.at(0).text, message + path + (homeMissing ? "\nEs wurde nichts gedruckt." : ""));
    QCOMPARE(m_fx->messages.at(0).icon, homeMissing ? QMessageBox::Critical : QMessageBox::Warning);
    QVERIFY(!QFile::exists(refused));

    if (homeMissing) {
        QVERIFY(!QFile::exists(path));
        return;
    }
    const QString text = withoutBlanks(pdfCharacters(readPdf(path)));
    QVERIFY2(text.contains("Adler") && text.contains("Bär"), qPrintable(text.left(200)));
    if (earlierFile) {
        QFile f(earlier);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), QString("frühere Liste"));
    }
}

// clang-format off
void TestPrint::fromTheWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("local") << "frm_kontaktverwaltung";
    QTest::newRow("dx") << "frm_kontaktverwaltungdx";
}
// clang-format on

void TestPrint::fromTheWindow()
{
    // DRUCKEN in the real window: every contact of the table, whatever search is shown, then the
    // full list in the grid; the count label keeps what the search showed.
    QFETCH(QString, window);
    const bool dx = window.endsWith("dx");
    const QString table = dx ? "Kontakt_dx" : "Kontakt";
    QVERIFY(QFile::copy(Fixture::builtFile("Frequenzen1.quorvel"), "Frequenzen1.quorvel"));
    QFile::setPermissions("Frequenzen1.quorvel", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // In table order; skip order adler, Möwe, Ödland, Zander (umlauts with their base letters, case not
    // deciding); date order Zander, adler, Möwe, Ödland.
    const QList<Record> stored = {contact("Möwe"), contact("Zander", ""), contact("adler"), contact("Ödland")};
    const QStringList dates = {"03.01.2020", "01.01.2020", "02.01.2020", "04.01.2020"};
    for (int i = 0; i < stored.size(); ++i) {
        const Record &r = stored[i];
        QVERIFY(testsupport::execSql(
            "Frequenzen1.quorvel",
            QStringLiteral("insert into %1 (skip, vorname, ort, land, callsign, datum, uhrzeit, lanal, frequenz, band, "
                           "rwert, swert, name, strasse, bemerkung) values ('%2','Hans','Köln',%3,'DC1AB','%4','21:45',"
                           "'12','27,105','FM','5','9+30','Privat','Privat','nicht drucken')")
                .arg(table, r.value("skip"), r.value("land").isEmpty() ? "NULL" : "'" + r.value("land") + "'",
                     dates[i])));
    }
    const testsupport::Window w = m_fx->open(window);
    w.get("txt_suchbegriff")->setText(dx ? "nothing matches" : "Adl");
    w.click("cmd_suchen");
    m_fx->clearMessages();
    const QString label = w.text("lbl_treffer");
    w.click("cmd_drucken");

    QStringList expected{"<open " + QString(dx ? "Logbuch DX" : "Logbuch LOCAL") + ">"};
    QList<Record> printed = stored;
    if (dx) {
        for (int i = 0; i < printed.size(); ++i)
            printed[i].insert("datum", dates[i]);
        for (const Record &r : printed)
            expected << "<font Tahoma>"
                     << "<size 12>" << dxBlock(r);
    } else {
        printed = {stored[2], stored[0], stored[3], stored[1]};
        expected << "<font Arial>"
                 << "<size 12>" << localLines(printed);
    }
    expected << "<end>";
    QCOMPARE(m_calls, expected);
    QVERIFY(m_fx->messages.isEmpty());
    // The grid shows the whole list: the DX one in table order.
    QCOMPARE(dx ? w.column("Datum") : w.column("SKIP"),
             dx ? dates : QStringList({"adler", "Möwe", "Ödland", "Zander"}));
    QCOMPARE(w.text("lbl_treffer"), label);
}

// Cancelling sends nothing anywhere, whether the records are still read or the pages painted for
// a printer that writes a file, for a print queue (which gets a listing only when it is whole) or
// for the PDF file that stands in for a missing printer. Without a cancel the progress goes
// forward through both and ends at the whole; a queue that refuses the job leaves the PDF file.
void TestPrint::cancelled_data()
{
    QTest::addColumn<QString>("printer");
    QTest::addColumn<int>("cancelAt");
    QTest::addColumn<bool>("queueTakes");
    constexpr int records = 300; // reading is steps 1 to 300 of 6000, painting the rest
    for (const char *printer : {"file", "queue", "none"}) {
        QTest::addRow("%s: cancel while reading", printer) << printer << 1 << true;
        QTest::addRow("%s: cancel while painting", printer) << printer << records + 1 << true;
        QTest::addRow("%s: no cancel", printer) << printer << -1 << true;
    }
    QTest::addRow("queue refuses the job") << "queue" << -1 << false;
}

void TestPrint::cancelled()
{
    QFETCH(QString, printer);
    QFETCH(int, cancelAt);
    QFETCH(bool, queueTakes);
    const QString file = m_fx->path("druck.pdf");
    const auto realPrinter = seams::printer.replace({});
    const auto lookup = seams::defaultPrinter.replace([=]() -> std::unique_ptr<QPrinter> {
        if (printer == "none")
            return nullptr;
        return pdfPrinter(printer == "file" ? file : QString()); // without a file: as a queue's
    });
    QStringList queued; // what the queue got, each job as its text
    m_fx->replace(seams::printQueue, [&](const QPrinter &, const QString &job, const QString &title) {
        queued << (QFile::copy(job, file) ? "" : "not readable: ") + title;
        return queueTakes;
    });
    QList<QPair<qint64, qint64>> steps;
    m_fx->replace(seams::progress, [&](QWidget *, const QString &) -> std::unique_ptr<ui::Progress> {
        return std::make_unique<CancellingProgress>(cancelAt, &steps);
    });
    QList<Record> records;
    for (int i = 0; i < 300; ++i)
        records << contact(QStringLiteral("Skip%1").arg(i));

    const PrintOutcome outcome = logbook::printListing(nullptr, logbook::kLocalLayout, walkOver(records), 300);
    const QStringList pdfs = QDir(m_fx->path("home")).entryList({"*.pdf"});
    QCOMPARE(QDir::temp().entryList({"kanalwerk-druck-*"}), QStringList()); // no job left behind
    QVERIFY(!steps.isEmpty());
    for (qsizetype i = 1; i < steps.size(); ++i)
        QVERIFY(steps[i].first >= steps[i - 1].first && steps[i].second == 6000);
    if (cancelAt < 0) {
        const bool printed = printer == "file" || (printer == "queue" && queueTakes);
        QCOMPARE(outcome.result, printed ? Result::Printed : Result::SavedAsPdf);
        QVERIFY(steps.first().first <= 300 && steps.last().first > 5700);
        QCOMPARE(pdfs.size(), printed ? 0 : 1);
        QCOMPARE(queued, printer == "queue" ? QStringList{"Logbuch LOCAL"} : QStringList());
        if (printer == "queue") // the queue got the whole listing
            QCOMPARE(readPdf(file).pages.size(), outcome.pages);
        return;
    }
    QCOMPARE(outcome.result, Result::Cancelled);
    QCOMPARE(steps.last().first >= 300, cancelAt > 300); // stopped where it was told to
    QCOMPARE(m_fx->messageTexts(),
             QStringList{"Der Druck wurde abgebrochen. Es wurde nichts an den Drucker geschickt."});
    QVERIFY(!QFile::exists(file));
    QCOMPARE(pdfs, QStringList());
    QCOMPARE(queued, QStringList());
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
