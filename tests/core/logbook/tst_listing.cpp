// The printed listing of a logbook, written to a line printer that records every call.
#include "core/data/RecordSource.h"
#include "core/logbook/Listing.h"
#include "support/CoreSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using logbook::Book;
using logbook::PrintOutcome;

namespace {
using Record = QHash<QString, QString>; // a missing column reads as NULL (empty text)
using Result = PrintOutcome::Result;

// Every call in order: each line as printed, the others in brackets ("<font Arial>", "<end>").
class RecordingPrinter : public logbook::LinePrinter {
public:
    RecordingPrinter(QStringList *calls, PrintOutcome ending) : m_calls(calls), m_ending(ending) {}
    void setFontName(const QString &name) override { *m_calls << "<font " + name + ">"; }
    void setFontSize(float points) override { *m_calls << "<size " + QString::number(points) + ">"; }
    void printLine(const QString &line) override { *m_calls << line; }
    PrintOutcome endDocument() override
    {
        *m_calls << "<end>";
        return m_ending;
    }
    void abortDocument() override { *m_calls << "<abort>"; }

private:
    QStringList *m_calls;
    PrintOutcome m_ending;
};

// Hands the records over in order; reading fails before record number failAt.
logbook::RecordWalk walkOver(const QList<Record> &records, int failAt = -1)
{
    return [records, failAt](const logbook::RecordVisitor &visit) {
        for (int i = 0; i < records.size(); ++i) {
            if (i == failAt)
                return false;
            if (!visit([&r = records.at(i)](const QString &column) { return r.value(column); }))
                break;
        }
        return true;
    };
}

// The listing of the records (reading fails before number failAt) on a recording printer whose
// document ends as ending says; every call lands in calls, the document opened as "<open name>".
PrintOutcome list(Book book, const QList<Record> &records, int failAt, QStringList *calls,
                  PrintOutcome ending = {Result::Printed})
{
    return logbook::writeListing(logbook::printLayout(book), walkOver(records, failAt), [=](const QString &document) {
        *calls << "<open " + document + ">";
        return std::make_unique<RecordingPrinter>(calls, ending);
    });
}

const Record kAdler{{"skip", "Adler"},       {"vorname", "Hans"},     {"ort", "Köln"},
                    {"land", "Deutschland"}, {"lanal", "12"},         {"frequenz", "27,105"},
                    {"band", "FM"},          {"rwert", "5"},          {"swert", "9+30"},
                    {"callsign", "DC1AB"},   {"datum", "30.06.2006"}, {"uhrzeit", "21:45"},
                    {"name", "Privat"},      {"tel", "Privat"},       {"bemerkung", "nicht drucken"}};

const QString kStars = QStringLiteral("       **********************************************************");

} // namespace

class TestListing : public QObject {
    Q_OBJECT
private slots:
    void listing_data();
    void listing();
    void outcomeOfThePrinter_data();
    void outcomeOfThePrinter();
    void rowsOfADataControl();
};

// clang-format off
void TestListing::listing_data()
{
    QTest::addColumn<int>("book");
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("calls");

    const QStringList adler{
        "       Skip\t: Adler", "       Operator\t: Hans", "       QTH\t: Köln", "       Land\t: Deutschland", "",
        "       Kanal\t: 12", "       Frequenz\t: 27,105", "       Mod\t: FM", "", "       R-Wert\t: 5",
        "       S-Wert\t: 9+30", "", kStars, ""};
    const QStringList dxAdler{
        "       Datum: 30.06.2006", "       Uhrzeit: 21:45", "       CallSign: DC1AB", "       Skip: Adler",
        "       Operator: Hans", "       QTH: Köln", "       Land: Deutschland", "       Kanal: 12",
        "       Frequenz: 27,105", "       Mod: FM", "       R-Wert: 5", "       S-Wert: 9+30", kStars};
    Record noLand = kAdler;
    noLand.remove("land");
    const int local = int(Book::Local), dx = int(Book::Dx);

    QTest::newRow("local: font once, four empty lines, 14 lines a contact")
        << local << QList<Record>{kAdler, noLand} << -1 << int(Result::Printed)
        << QStringList{"<open Logbuch LOCAL>", "<font Arial>", "<size 12>", "", "", "", ""} + adler
               + QStringList(adler).replaceInStrings("\t: Deutschland", "\t: ") + QStringList{"<end>"};
    QTest::newRow("dx: font before every block, 13 lines a contact, no empty line")
        << dx << QList<Record>{kAdler, Record{}} << -1 << int(Result::Printed)
        << QStringList{"<open Logbuch DX>", "<font Tahoma>", "<size 12>"} + dxAdler
               + QStringList{"<font Tahoma>", "<size 12>"} + QStringList(dxAdler).replaceInStrings(QRegularExpression(": .*"), ": ")
               + QStringList{"<end>"};
    QTest::newRow("no contact, no printer") << dx << QList<Record>{} << -1 << int(Result::NothingToPrint)
                                                << QStringList{};
    QTest::newRow("reading fails before the first contact") << local << QList<Record>{kAdler} << 0
                                                            << int(Result::ReadFailed) << QStringList{};
    QTest::newRow("reading fails after a contact: the document is dropped")
        << dx << QList<Record>{kAdler, kAdler} << 1 << int(Result::ReadFailed)
        << QStringList{"<open Logbuch DX>", "<font Tahoma>", "<size 12>"} + dxAdler + QStringList{"<abort>"};
}
// clang-format on

void TestListing::listing()
{
    QFETCH(int, book);
    QFETCH(QList<Record>, records);
    QFETCH(int, failAt);
    QFETCH(int, result);
    QFETCH(QStringList, calls);

    QStringList recorded;
    const PrintOutcome outcome = list(Book(book), records, failAt, &recorded);
    QCOMPARE(recorded, calls);
    QCOMPARE(int(outcome.result), result);
}

void TestListing::outcomeOfThePrinter_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("reason");
    QTest::newRow("printed") << int(Result::Printed) << int(PrintOutcome::Reason::None);
    QTest::newRow("saved as PDF") << int(Result::SavedAsPdf) << int(PrintOutcome::Reason::NoPrinter);
    QTest::newRow("failed") << int(Result::Failed) << int(PrintOutcome::Reason::JobFailed);
}

// What the printer says when the document ends is what the listing says: a failure is never
// turned into success.
void TestListing::outcomeOfThePrinter()
{
    QFETCH(int, result);
    QFETCH(int, reason);
    const PrintOutcome said{Result(result), PrintOutcome::Reason(reason), "Drucker", "liste.pdf", 3};
    QStringList calls;
    const PrintOutcome outcome = list(Book::Local, {kAdler}, -1, &calls, said);
    QCOMPARE(int(outcome.result), result);
    QCOMPARE(int(outcome.reason), reason);
    QCOMPARE(outcome.printer, QStringLiteral("Drucker"));
    QCOMPARE(outcome.pdfFile, QStringLiteral("liste.pdf"));
    QCOMPARE(outcome.pages, 3);
    QCOMPARE(calls.last(), QStringLiteral("<end>"));
}

// The rows of a data control's result, in its order; NULL reads as empty text, numbers as digits.
void TestListing::rowsOfADataControl()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Frequenzen1.quorvel");
    QVERIFY(testsupport::execSql(
        file, "create table Kontakt_dx (id integer primary key, skip text, land text, qslbekommen integer);"
              "insert into Kontakt_dx (skip, land, qslbekommen) values ('Zander', 'Irland', 1), ('Adler', null, 0)"));

    data::RecordSource source;
    QVERIFY(source.open(file));
    source.setQuery(data::Query("Kontakt_dx").orderBy("skip"));
    QVERIFY(source.refresh());
    QStringList seen;
    QVERIFY(logbook::rowsOf(source)([&seen](const logbook::FieldReader &field) {
        seen << field("skip") + "|" + field("land") + "|" + field("qslbekommen");
        return true;
    }));
    QCOMPARE(seen, (QStringList{"Adler||0", "Zander|Irland|1"}));
}

QTEST_GUILESS_MAIN(TestListing)
#include "tst_listing.moc"
