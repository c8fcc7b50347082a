#include "core/data/RecordSource.h"
#include "core/logbook/ListOrder.h"
#include "core/lookup/Maidenhead.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTest>

using data::RecordSource;
using testsupport::Fixture;

namespace {
// The standard CB channels 1-40 in kHz, written out from the channel chart.
const int kStandard[40] = {26965, 26975, 26985, 27005, 27015, 27025, 27035, 27055, 27065, 27075,
                           27085, 27105, 27115, 27125, 27135, 27155, 27165, 27175, 27185, 27205,
                           27215, 27225, 27255, 27235, 27245, 27265, 27275, 27285, 27295, 27305,
                           27315, 27325, 27335, 27345, 27355, 27365, 27375, 27385, 27395, 27405};

// Runs a query on the working copy of the reference file.
bool query(RecordSource &source, const data::Query &query)
{
    if (!source.isOpen() && !source.open("Frequenzen.quorvel"))
        return false;
    source.setQuery(query);
    return source.refresh();
}

QStringList columnsOf(const QString &file, const QString &table)
{
    RecordSource source;
    if (!source.open(file))
        return {};
    source.setQuery(data::Query(table));
    return source.refresh() ? source.columns() : QStringList();
}
} // namespace

class TestReferenceData : public QObject {
    Q_OBJECT
private slots:
    void columnsInOrder_data();
    void columnsInOrder();
    void channelTables_data();
    void channelTables();
    void hamIsUmbauMinusFive();
    void prefixTable();
    void maidenheadKnownPoints_data();
    void maidenheadKnownPoints();
    void locatorsMatchTownCoordinates();
    void townSearch_data();
    void townSearch();
    void otherTablesHoldRows_data();
    void otherTablesHoldRows();
    void buildKeepsExistingLogbook();
    void filesStayPlainSqlite_data();
    void filesStayPlainSqlite();
};

// clang-format off
void TestReferenceData::columnsInOrder_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    const QString ref = "Frequenzen.quorvel", log = "Frequenzen1.quorvel";
    const QStringList umbau = {"Kanal", "A", "B", "C", "D", "E", "F", "G", "H", "I", "L"};
    const QStringList albrecht = {"Kanal", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
    QTest::newRow("umbau") << ref << "umbau" << umbau;
    QTest::newRow("Ham") << ref << "Ham" << umbau;
    QTest::newRow("albrecht") << ref << "albrecht" << albrecht;
    QTest::newRow("albrecht2") << ref << "albrecht2" << albrecht;
    QTest::newRow("albrechtallg") << ref << "albrechtallg" << albrecht;
    QTest::newRow("president") << ref << "president" << QStringList{"KANAL", "A", "B", "C", "D", "E", "F"};
    QTest::newRow("dxfreq") << ref << "dxfreq" << QStringList{"Frequenz", "Modulation", "Land-Organisation"};
    QTest::newRow("prefix") << ref << "prefix" << QStringList{"PREFIX", "LAND", "L"};
    QTest::newRow("locator") << ref << "locator" << QStringList{"Locator", "Distrikt", "Stadt", "Extra", "DXCC"};
    QTest::newRow("bos") << ref << "bos" << QStringList{"BL", "Ort", "Benutzer", "Rufname", "Kanal", "Freq"};
    QTest::newRow("flugfunk") << ref << "flugfunk" << QStringList{"Frquenz", "Ort"};
    const QStringList contact = {"id", "skip", "vorname", "ort", "land", "callsign", "datum", "uhrzeit",
                                 "lanal", "frequenz", "band", "rwert", "swert", "name", "strasse", "plz",
                                 "tel", "email", "web", "bemerkung"};
    QTest::newRow("Kontakt") << log << "Kontakt" << contact;
    QTest::newRow("Kontakt_dx") << log << "Kontakt_dx" << (contact + QStringList{"qslverschickt", "qslbekommen"});
}
// clang-format on

void TestReferenceData::columnsInOrder()
{
    QFETCH(QString, file);
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    Fixture fx;
    QCOMPARE(columnsOf(file, table), columns);
}

// clang-format off
void TestReferenceData::channelTables_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("bands");
    QTest::addColumn<QChar>("standard");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("umbau") << "umbau" << "ABCDEFGHIL" << QChar('D') << 25615 << 30105;
    QTest::newRow("president") << "president" << "ABCDEF" << QChar('D') << 25615 << 28305;
    QTest::newRow("albrecht") << "albrecht" << "ABCDEFGHIJ" << QChar('E') << 25165 << 29655;
    QTest::newRow("albrecht2") << "albrecht2" << "ABCDEFGHIJ" << QChar('E') << 25165 << 29655;
    QTest::newRow("albrechtallg") << "albrechtallg" << "ABCDEFGHIJ" << QChar('E') << 25165 << 29655;
}
// clang-format on

void TestReferenceData::channelTables()
{
    QFETCH(QString, table);
    QFETCH(QString, bands);
    QFETCH(QChar, standard);
    QFETCH(int, first);
    QFETCH(int, last);
    Fixture fx;
    RecordSource source;
    QVERIFY(query(source, data::Query(table)));
    QCOMPARE(source.recordCount(), 40);
    QHash<QChar, QSet<QString>> seen;
    for (int n = 1; n <= 40; ++n, source.moveNext()) {
        // The unordered query comes back in channel order.
        QCOMPARE(source.fieldText("kanal"), QString::number(n));
        QCOMPARE(source.fieldText(QString(standard)).toInt(), kStandard[n - 1]);
        for (int b = 0; b < bands.size(); ++b) {
            const QString cell = source.fieldText(QString(bands[b]));
            QVERIFY2(cell.size() == 5 && cell.toInt() > 0, qPrintable(cell));
            QVERIFY2(!seen[bands[b]].contains(cell), qPrintable(table + " " + bands[b] + " " + cell));
            seen[bands[b]].insert(cell);
            // Neighbouring bands are 450 kHz apart.
            if (b > 0)
                QCOMPARE(cell.toInt() - source.fieldText(QString(bands[b - 1])).toInt(), 450);
        }
    }
    source.moveFirst();
    QCOMPARE(source.fieldText("A").toInt(), first);
    source.move(39);
    QCOMPARE(source.fieldText(QString(bands.back())).toInt(), last);
}

void TestReferenceData::hamIsUmbauMinusFive()
{
    Fixture fx;
    RecordSource umbau, ham;
    QVERIFY(query(umbau, data::Query("umbau")) && query(ham, data::Query("Ham")));
    QCOMPARE(ham.recordCount(), 40);
    for (int n = 0; n < 40; ++n, umbau.moveNext(), ham.moveNext()) {
        QCOMPARE(ham.fieldText("Kanal"), umbau.fieldText("Kanal"));
        for (const char *band : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "L"})
            QCOMPARE(ham.fieldText(band).toInt(), umbau.fieldText(band).toInt() - 5);
    }
}

void TestReferenceData::prefixTable()
{
    Fixture fx;
    RecordSource source;
    QVERIFY(query(source, data::Query("prefix")));
    QVERIFY2(source.recordCount() >= 300, "several hundred DXCC prefixes");
    QSet<QString> prefixes;
    for (; !source.eof(); source.moveNext()) {
        const QString p = source.fieldText("PREFIX");
        QVERIFY(!p.isEmpty() && !source.fieldText("LAND").isEmpty());
        QVERIFY2(!prefixes.contains(p.toUpper()), qPrintable(p));
        prefixes.insert(p.toUpper());
    }
    for (const char *p : {"DL", "F", "G", "I", "OE", "HB9", "W", "JA", "VK", "ZS", "R1FJ"})
        QVERIFY2(prefixes.contains(p), p);
    // Regions that count as a country only for the WAE award say which DXCC entity they belong to.
    for (const auto &[p, entity] : {std::pair{"IT9", "DXCC: Italien"}, std::pair{"TA1", "DXCC: Türkei"}}) {
        QVERIFY(query(source, data::Query("prefix").where("prefix", p)));
        QVERIFY2(source.fieldText("LAND").contains(QStringLiteral("WAE-Land")), p);
        QVERIFY2(source.fieldText("LAND").contains(QString::fromUtf8(entity)), p);
    }
    QVERIFY(query(source, data::Query("prefix").where("prefix", "DL").orderBy("prefix")));
    QCOMPARE(source.recordCount(), 1);
    QCOMPARE(source.fieldText("LAND"), QStringLiteral("Deutschland"));
}

// clang-format off
void TestReferenceData::maidenheadKnownPoints_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("locator");
    QTest::newRow("Berlin") << 52.5200 << 13.4050 << "JO62QM";
    QTest::newRow("Hamburg") << 53.5511 << 9.9937 << "JO43XN";
    QTest::newRow("München") << 48.1374 << 11.5755 << "JN58SD";
    QTest::newRow("Köln") << 50.9375 << 6.9603 << "JO30LW";
    QTest::newRow("grid origin") << -90.0 << -180.0 << "AA00AA";
    QTest::newRow("southern western") << -33.8688 << -70.6693 << "FF46PD";
}
// clang-format on

void TestReferenceData::maidenheadKnownPoints()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QString, locator);
    QCOMPARE(QString::fromStdString(maidenheadLocator(lat, lon)), locator);
}

void TestReferenceData::locatorsMatchTownCoordinates()
{
    Fixture fx;
    QFile towns(QStringLiteral(KW_SOURCE_DIR "/db/towns.tsv"));
    QVERIFY(towns.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList header = QString::fromUtf8(towns.readLine()).trimmed().split('\t');
    const int stadt = header.indexOf("Stadt"), distrikt = header.indexOf("Distrikt"), lat = header.indexOf("Lat"),
              lon = header.indexOf("Lon"), extra = header.indexOf("Extra");
    QList<QStringList> expected; // Locator, Distrikt, Stadt, Extra in the file's order
    while (!towns.atEnd()) {
        QString line = QString::fromUtf8(towns.readLine());
        if (line.endsWith('\n'))
            line.chop(1);
        const QStringList f = line.split('\t'); // the last fields may be empty
        QCOMPARE(f.size(), header.size());
        expected.append({QString::fromStdString(maidenheadLocator(f[lat].toDouble(), f[lon].toDouble())), f[distrikt],
                         f[stadt], f[extra]});
    }
    QVERIFY2(expected.size() >= 5000, "every German place of at least 1,000 inhabitants");
    RecordSource source;
    QVERIFY(query(source, data::Query("locator")));
    QCOMPARE(source.recordCount(), int(expected.size()));
    QSet<QString> names;
    for (const QStringList &row : expected) {
        // The search has no order by: the table keeps the file's order.
        const QStringList got = {source.fieldText("Locator"), source.fieldText("Distrikt"), source.fieldText("Stadt"),
                                 source.fieldText("Extra")};
        QCOMPARE(got, row);
        // Germany lies in the fields JN and JO.
        QVERIFY2(row[0].startsWith("JN") || row[0].startsWith("JO"), qPrintable(row[0]));
        QCOMPARE(source.fieldText("DXCC"), QStringLiteral("DL"));
        // Places of one name are told apart by their district.
        QVERIFY2(!row[1].isEmpty() && !row[3].isEmpty(), qPrintable(row[2]));
        QVERIFY2(!names.contains(row[2] + '|' + row[3]), qPrintable(row[2] + " twice in " + row[3]));
        names.insert(row[2] + '|' + row[3]);
        source.moveNext();
    }
}

// clang-format off
void TestReferenceData::townSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("first"); // Locator, Distrikt, Stadt, Extra of the first row found
    QTest::addColumn<int>("rows");          // rows found; 0: not checked
    const auto row = [](const char *text, const QStringList &first, int rows) {
        QTest::newRow(text) << QString::fromUtf8(text) << first << rows;
    };
    // The town comes before the places named after it, the larger namesake first.
    row("Berlin", {"JO62QM", "Berlin", "Berlin", "kreisfrei"}, 0);
    row("frankfurt", {"JO40IC", "Hessen", "Frankfurt am Main", "kreisfrei"}, 0);
    // German and official names, not the short forms of the source.
    row("München", {"JN58SD", "Bayern", "München", "kreisfrei"}, 0);
    row("Weinstraße", {"JN49BI", "Rheinland-Pfalz", "Neustadt an der Weinstraße", "kreisfrei"}, 0);
    // Districts as they are written, and as they are today.
    row("Dietzenbach", {"JO40JA", "Hessen", "Dietzenbach", "Kreis Offenbach"}, 1);
    row("Windischeschenbach", {"JN69BT", "Bayern", "Windischeschenbach", "Landkreis Neustadt an der Waldnaab"}, 1);
    row("Eisenach", {"JO50DX", "Thüringen", "Eisenach", "Wartburgkreis"}, 0);
    // A village of a kreisfreie Stadt names the town.
    row("Porz", {"JO30MV", "Nordrhein-Westfalen", "Porz am Rhein", "Stadt Köln"}, 1);
    // Listed once, not once more as its centre.
    row("Garbsen", {"JO42TJ", "Niedersachsen", "Garbsen", "Region Hannover"}, 1);
    // A municipality the source lists as no populated place of its own.
    row("Weyhe", {"JO42KX", "Niedersachsen", "Weyhe", "Landkreis Diepholz"}, 1);
}
// clang-format on

void TestReferenceData::townSearch()
{
    QFETCH(QString, text);
    QFETCH(QStringList, first);
    QFETCH(int, rows);
    Fixture fx;
    RecordSource source;
    QVERIFY(query(source, data::Query("locator").whereContains("Stadt", text)));
    QVERIFY(source.recordCount() > 0);
    QCOMPARE((QStringList{source.fieldText("Locator"), source.fieldText("Distrikt"), source.fieldText("Stadt"),
                          source.fieldText("Extra")}),
             first);
    if (rows)
        QCOMPARE(source.recordCount(), rows);
}

// clang-format off
void TestReferenceData::otherTablesHoldRows_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("minimum");
    QTest::newRow("dxfreq") << "dxfreq" << 50;
    QTest::newRow("bos") << "bos" << 50;
    QTest::newRow("flugfunk") << "flugfunk" << 50;
}
// clang-format on

void TestReferenceData::otherTablesHoldRows()
{
    QFETCH(QString, table);
    QFETCH(int, minimum);
    Fixture fx;
    RecordSource source;
    QVERIFY(query(source, data::Query(table)));
    QVERIFY(source.recordCount() >= minimum);
}

void TestReferenceData::buildKeepsExistingLogbook()
{
    // The built logbook file next to the program is the user's: a build leaves it alone.
    // Here: the builder's rule, run against a logbook holding a contact.
    Fixture fx;
    RecordSource source;
    QVERIFY(source.open("Frequenzen1.quorvel", RecordSource::Mode::ReadWrite));
    source.setEditTable("Kontakt");
    source.setQuery(data::Query("Kontakt"));
    QVERIFY(source.refresh());
    QVERIFY(source.addNew());
    source.setField("skip", "Bleibt");
    QVERIFY(source.update());
    source.close();
    const QString builder = QStringLiteral(KW_DATA_DIR "/../tools/kw_dbbuild");
    QCOMPARE(QProcess::execute(builder, {"logbook", fx.path("Frequenzen1.quorvel"), KW_SOURCE_DIR "/db"}), 0);
    QVERIFY(source.open("Frequenzen1.quorvel"));
    QVERIFY(source.refresh());
    QCOMPARE(source.recordCount(), 1);
    QCOMPARE(source.fieldText("skip"), QStringLiteral("Bleibt"));
}

// clang-format off
void TestReferenceData::filesStayPlainSqlite_data()
{
    QTest::addColumn<bool>("dx");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("values"); // saved in this order
    QTest::addColumn<QStringList>("ordered");
    QTest::newRow("local logbook") << false << "skip" << QStringList{"Übel", "ober", "Apfel"}
                                   << QStringList{"Apfel", "ober", "Übel"};
    QTest::newRow("dx logbook") << true << "datum" << QStringList{"02.01.2025", "31.12.2024", "kein Datum"}
                                << QStringList{"31.12.2024", "02.01.2025", "kein Datum"};
}
// clang-format on

void TestReferenceData::filesStayPlainSqlite()
{
    // Any SQLite tool, without this program's functions, can write and check the files, and the
    // lists' order is served by an index of the logbook file, not by sorting every row.
    QFETCH(bool, dx);
    QFETCH(QString, column);
    QFETCH(QStringList, values);
    QFETCH(QStringList, ordered);
    Fixture fx;
    const logbook::Book book = dx ? logbook::Book::Dx : logbook::Book::Local;
    const QString table = logbook::tableOf(book);
    auto rows = [](const QString &sql) { return testsupport::sqlColumn("Frequenzen1.quorvel", sql, -1); };
    QVERIFY(testsupport::execSql("Frequenzen1.quorvel", logbook::indexSql(book)));
    for (const QString &v : values)
        QVERIFY(testsupport::execSql("Frequenzen1.quorvel",
                                     QStringLiteral("insert into %1 (%2) values ('%3')").arg(table, column, v)));
    QCOMPARE(rows("pragma integrity_check"), QStringList{"ok"});
    const data::Query list = data::Query(table).orderBy(logbook::listOrder(book));
    const QString plan = rows("explain query plan " + list.engineSql()).join(' ');
    QVERIFY2(plan.contains(table + "_liste") && !plan.contains("TEMP B-TREE"), qPrintable(plan));
    // A search reads only that index, never the table.
    const data::Query search = data::Query(table).whereContains("ort", "x").orderBy(logbook::listOrder(book));
    const QString searchPlan = rows("explain query plan " + search.engineSql({.columns = "rowid"})).join(' ');
    QVERIFY2(searchPlan.contains("COVERING INDEX " + table + "_liste") && !searchPlan.contains("TEMP B-TREE"),
             qPrintable(searchPlan));
    QCOMPARE(rows(list.engineSql({.columns = column})), ordered);
    QCOMPARE(rows("pragma integrity_check"), QStringList{"ok"});
}

QTEST_MAIN(TestReferenceData)
#include "tst_reference_data.moc"
