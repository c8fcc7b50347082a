// Whole logbooks to ADIF files and back: order, safety of the target, the round trip, duplicates,
// all or nothing, and files written in the styles of other programs.
#include "ExchangeTestSupport.h"
#include "core/exchange/LogbookExchange.h"
#include "core/sql/Sqlite.h"
#include "support/CoreSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using exchange::Format;
using logbook::Book;
using namespace exchangetest;
using testsupport::fileBytes;
using testsupport::writeFile;

Q_DECLARE_METATYPE(logbook::Book)

namespace {

QStringList sorted(const std::vector<exchange::Contact> &contacts, Book book)
{
    QStringList all;
    for (const auto &c : contacts)
        all << pairsOf(c, book).join(QChar(0x1e));
    all.sort();
    return all;
}

// The skip names of an ADI file's records, in the file's order.
QStringList skipsIn(const QString &file)
{
    QStringList skips;
    for (const QString &r : readAll(Format::Adi, fileBytes(file)))
        skips << r.section(QStringLiteral("APP_KANALWERK_SKIP="), 1);
    return skips;
}

QString counts(const exchange::ImportResult &r)
{
    return QStringLiteral("%1 read, %2 imported, %3 duplicates, %4 rejected")
        .arg(r.read)
        .arg(r.imported)
        .arg(r.duplicates)
        .arg(r.rejected);
}

} // namespace

class TestAdifLogbook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useBerlinTime(); }
    void init();
    void exportFollowsTheListOrder();
    void exportOrderOverManyChunks();
    void exportNeverOverwritesUnasked();
    void exportCancelledLeavesNothing();
    void roundTrip_data();
    void roundTrip();
    void duplicatesAreSkipped();
    void allOrNothing_data();
    void allOrNothing();
    void programStyles_data();
    void programStyles();

private:
    exchange::ExportResult exportTo(Book book, const QString &target, bool overwrite = false,
                                    const exchange::Progress &progress = {});
    exchange::ImportResult importFrom(Book book, const QString &source, const exchange::Progress &progress = {});
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_logbook;
};

void TestAdifLogbook::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_logbook = m_dir->filePath(QStringLiteral("Frequenzen1.quorvel"));
    createLogbook(m_logbook);
}

exchange::ExportResult TestAdifLogbook::exportTo(Book book, const QString &target, bool overwrite,
                                                 const exchange::Progress &progress)
{
    exchange::ExportRequest request;
    request.logbookFile = m_logbook;
    request.book = book;
    request.target = target;
    request.overwrite = overwrite;
    request.header.programVersion = QStringLiteral("test");
    request.header.created = QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
    return exchange::exportLogbook(request, progress);
}

exchange::ImportResult TestAdifLogbook::importFrom(Book book, const QString &source, const exchange::Progress &progress)
{
    return exchange::importIntoLogbook({m_logbook, book, source}, progress);
}

void TestAdifLogbook::exportFollowsTheListOrder()
{
    QVERIFY(insertContacts(
        m_logbook, Book::Local,
        {contact({"skip=Zora"}), contact({"skip=Ärger"}), contact({"skip=anton"}), contact({"skip=Bernd"})}));
    QVERIFY(
        insertContacts(m_logbook, Book::Dx,
                       {contact({"datum=15.01.2007"}), contact({"datum=01.02.2006"}), contact({"datum=30.06.2006"})}));
    const QString local = m_dir->filePath("local.adi"), dx = m_dir->filePath("dx.adx");
    QCOMPARE(exportTo(Book::Local, local).written, 4);
    QCOMPARE(exportTo(Book::Dx, dx).written, 3);
    QCOMPARE(skipsIn(local), (QStringList{"anton", "Ärger", "Bernd", "Zora"}));
    const QStringList dxRecords = readAll(Format::Adx, fileBytes(dx));
    QCOMPARE(dxRecords.size(), 3);
    QVERIFY(dxRecords[0].contains("APP_KANALWERK_DATUM=01.02.2006"));
    QVERIFY(dxRecords[1].contains("APP_KANALWERK_DATUM=30.06.2006")); // by date, not by text
    QVERIFY(dxRecords[2].contains("APP_KANALWERK_DATUM=15.01.2007"));
    QVERIFY(fileBytes(local).startsWith("Kanalwerk: ADIF-Export des Logbuchs LOCAL\n<ADIF_VER:5>3.1.4 \n"
                                        "<PROGRAMID:9>KANALWERK \n<PROGRAMVERSION:4>test \n"
                                        "<CREATED_TIMESTAMP:15>20261207 090000 \n<EOH>\n"));
    QVERIFY(fileBytes(dx).startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ADX>\n<HEADER>\n"));
}

// A logbook of some thousand contacts, stored in an order unrelated to the list's: the export is
// read in chunks by more than one thread and still writes every contact once, in list order.
void TestAdifLogbook::exportOrderOverManyChunks()
{
    constexpr int kCount = 2345;
    std::vector<exchange::Contact> contacts;
    for (int i = 0; i < kCount; ++i)
        contacts.push_back(contact({QStringLiteral("skip=Skip %1").arg((i * 7919) % kCount, 4, 10, QChar(u'0'))}));
    QVERIFY(insertContacts(m_logbook, Book::Local, contacts));
    const QString file = m_dir->filePath("viele.adi");
    QCOMPARE(exportTo(Book::Local, file).written, kCount);
    QStringList expected;
    for (int i = 0; i < kCount; ++i)
        expected << QStringLiteral("Skip %1").arg(i, 4, 10, QChar(u'0'));
    QCOMPARE(skipsIn(file), expected);
}

void TestAdifLogbook::exportNeverOverwritesUnasked()
{
    QVERIFY(insertContacts(m_logbook, Book::Local, {contact({"skip=Hans"})}));
    const QString target = m_dir->filePath("da.adi");
    writeFile(target, "alt");
    const auto refused = exportTo(Book::Local, target);
    QCOMPARE(refused.error, QStringLiteral("Die Datei „%1“ gibt es bereits. Sie wird nicht überschrieben; bitte einen "
                                           "anderen Namen wählen oder die Datei mit „...“ auswählen und das Ersetzen "
                                           "bestätigen.")
                                .arg(QDir::toNativeSeparators(target)));
    QCOMPARE(fileBytes(target), QByteArray("alt"));
    QVERIFY(exportTo(Book::Local, target, true).ok());
    QCOMPARE(readAll(Format::Adi, fileBytes(target)).size(), 1);
    QCOMPARE(exportTo(Book::Local, m_dir->filePath("x.txt")).error,
             QStringLiteral("Bitte einen Dateinamen mit der Endung .adi oder .adx wählen."));
}

void TestAdifLogbook::exportCancelledLeavesNothing()
{
    QVERIFY(insertContacts(m_logbook, Book::Local, variedContacts(5000, Book::Local, 3)));
    const QString target = m_dir->filePath("abbruch.adi");
    writeFile(target, "alt");
    qint64 seen = 0;
    const auto r = exportTo(Book::Local, target, true, [&](qint64 done, qint64 total) {
        seen = done;
        return total == 5000 && done < 4000;
    });
    QVERIFY(r.cancelled);
    QCOMPARE(seen, 4000);
    QCOMPARE(r.error, QStringLiteral("Der Export wurde abgebrochen. Es wurde keine Datei geschrieben."));
    QCOMPARE(fileBytes(target), QByteArray("alt"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 2); // the logbook and the old file
}

void TestAdifLogbook::roundTrip_data()
{
    QTest::addColumn<Book>("book");
    QTest::addColumn<QString>("file");
    QTest::newRow("local, ADI") << Book::Local << "log.adi";
    QTest::newRow("local, ADX") << Book::Local << "log.adx";
    QTest::newRow("DX, ADI") << Book::Dx << "log.adi";
    QTest::newRow("DX, ADX") << Book::Dx << "log.adx";
}

// A few thousand varied contacts, exported and imported into an empty logbook, come back exactly.
void TestAdifLogbook::roundTrip()
{
    QFETCH(Book, book);
    QFETCH(QString, file);
    const auto contacts = variedContacts(3000, book, 11);
    QVERIFY(insertContacts(m_logbook, book, contacts));
    const QString target = m_dir->filePath(file);
    QCOMPARE(exportTo(book, target).written, 3000);
    createLogbook(m_logbook);
    std::vector<qint64> progress;
    const auto r = importFrom(book, target, [&](qint64 done, qint64) {
        progress.push_back(done);
        return true;
    });
    QCOMPARE(r.error, QString());
    QCOMPARE(counts(r), QStringLiteral("3000 read, 3000 imported, 0 duplicates, 0 rejected"));
    QVERIFY(r.unused.isEmpty());
    QVERIFY(std::is_sorted(progress.begin(), progress.end()) && progress.size() >= 5);
    QCOMPARE(sorted(contactsIn(m_logbook, book), book), sorted(contacts, book));
    // Once more: all of them are there already.
    QCOMPARE(counts(importFrom(book, target)), QStringLiteral("3000 read, 0 imported, 3000 duplicates, 0 rejected"));
    // And into the other logbook, where the QSL boxes have no place.
    const Book other = book == Book::Local ? Book::Dx : Book::Local;
    const auto across = importFrom(other, target);
    QCOMPARE(across.imported, 3000);
    QCOMPARE(contactsIn(m_logbook, other).size(), size_t(3000));
}

void TestAdifLogbook::duplicatesAreSkipped()
{
    QVERIFY(insertContacts(m_logbook, Book::Local,
                           {contact({"callsign=DL1ABC", "datum=30.06.2006", "uhrzeit=21:45", "frequenz=27,005"}),
                            contact({"skip=Jörg", "datum=1.7.2006", "uhrzeit=2145", "lanal=4"})}));
    const QString file = m_dir->filePath("in.adi");
    writeFile(file, "<EOH>\n"
                    "<CALL:6>dl1abc <QSO_DATE:8>20060630 <TIME_ON:6>194500 <FREQ:6>27.005 <EOR>\n" // the same
                    "<CALL:6>DL1ABC <QSO_DATE:8>20060630 <TIME_ON:4>1946 <FREQ:6>27.005 <EOR>\n"   // a minute on
                    "<APP_KANALWERK_SKIP:5>Jörg <APP_KANALWERK_DATUM:10>01.07.2006 <APP_KANALWERK_UHRZEIT:5>21:45 "
                    "<FREQ:6>27.005 <EOR>\n"                                                       // channel 4
                    "<CALL:6>DL1ABC <QSO_DATE:8>20060630 <TIME_ON:4>1945 <FREQ:6>27.015 <EOR>\n"); // another channel
    const auto r = importFrom(Book::Local, file);
    QCOMPARE(counts(r), QStringLiteral("4 read, 2 imported, 2 duplicates, 0 rejected"));
    QCOMPARE(contactsIn(m_logbook, Book::Local).size(), size_t(4));
}

void TestAdifLogbook::allOrNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // "-": no such file
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("error"); // %1: the file
    QByteArray many;
    for (int i = 0; i < 3000; ++i)
        many += QStringLiteral("<CALL:6>DL%1<QSO_DATE:8>20060630<EOR>\n").arg(1000 + i).toUtf8();
    QTest::newRow("cancelled on the way")
        << "in.adi" << many << true << "Der Import wurde abgebrochen. Das Logbuch ist unverändert.";
    QTest::newRow("the logbook refuses a contact half way")
        << "in.adi"
        << QByteArray("<CALL:4>DL1A<QSO_DATE:8>20060630<EOR>\n<CALL:4>DL2B<QSO_DATE:8>20060630<EOR>\n"
                      "<CALL:4>BOOM<QSO_DATE:8>20060630<EOR>\n")
        << false
        << "Ein Kontakt konnte nicht gespeichert werden: Die Datenbank hat einen Wert abgelehnt. Das Logbuch ist "
           "unverändert.";
    QTest::newRow("an ADX file broken after two good records")
        << "in.adx"
        << QByteArray("<ADX><RECORDS><RECORD><CALL>DL1A</CALL><QSO_DATE>20060630</QSO_DATE></RECORD>\n<RECORD><CALL>"
                      "DL2B</CALL><QSO_DATE>20060630</QSO_DATE></RECORD>\n<RECORD><CALL>DL3C</RECORD>")
        << false
        << "Die ADX-Datei ist ab Zeile 3 kein gültiges XML und kann nicht gelesen werden. Das Logbuch ist "
           "unverändert.";
    // Files that are no logbook.
    QTest::newRow("empty") << "leer.adi" << QByteArray() << false << "Die Datei „%1“ ist leer.";
    QTest::newRow("a letter") << "brief.adi" << QByteArray("Lieber Hans,\nviele Grüße\n") << false
                              << "Die Datei ist keine ADIF-Datei: sie enthält keinen einzigen ADIF-Eintrag. "
                                 "Das Logbuch ist unverändert.";
    QTest::newRow("header only") << "kopf.adi" << QByteArray("Kopf <ADIF_VER:5>3.1.4 <EOH>\n") << false
                                 << "Die Datei enthält keine Kontakte.";
    QTest::newRow("a picture named .adx") << "bild.adx" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << false
                                          << "Die Datei ist keine ADX-Datei. Das Logbuch ist unverändert.";
    QTest::newRow("missing") << "fehlt.adi" << QByteArray("-") << false << "Die Datei „%1“ kann nicht gelesen werden.";
}

// Whatever stops an import, the logbook keeps what it had and nothing else.
void TestAdifLogbook::allOrNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, cancelled);
    QFETCH(QString, error);
    QVERIFY(insertContacts(m_logbook, Book::Local, {contact({"callsign=DL0OLD", "datum=01.01.2001"})}));
    {
        sql::Database db; // a logbook that refuses the contact BOOM
        QCOMPARE(db.open(m_logbook, sql::Database::Access::ReadWrite), 0);
        QCOMPARE(db.exec("CREATE TRIGGER no_boom BEFORE INSERT ON Kontakt WHEN NEW.callsign = 'BOOM' "
                         "BEGIN SELECT RAISE(ABORT, 'boom'); END"),
                 0);
    }
    const QString file = m_dir->filePath(name);
    if (bytes != "-")
        writeFile(file, bytes);
    const auto r = importFrom(Book::Local, file, [](qint64 done, qint64) { return done < 40000; });
    QCOMPARE(r.cancelled, cancelled);
    QCOMPARE(r.error, error.contains("%1") ? error.arg(QDir::toNativeSeparators(file)) : error);
    QCOMPARE(r.imported, 0);
    QCOMPARE(contactsIn(m_logbook, Book::Local).size(), size_t(1));
}

void TestAdifLogbook::programStyles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("counts");
    QTest::addColumn<QStringList>("rejected");
    QTest::addColumn<QStringList>("contacts"); // of the imported ones: call, name, QTH, date, time as stored
    // A Windows logger writing ANSI: CR LF, a header of comments, type indicators, Latin-1.
    QTest::newRow("Windows logger, ANSI")
        << "winlog.adi"
        << QByteArray("WinLog X 4.2 ADIF Export\r\nErstellt am 07.12.2026\r\n<ADIF_VER:5>3.1.0\r\n<PROGRAMID:7>WINLOGX"
                      "\r\n<EOH>\r\n<CALL:6>DL1ABC<QSO_DATE:8:D>20060630<TIME_ON:4>1945<FREQ:6:N>14.200<MODE:3>SSB"
                      "<NAME:4>J\xF6rg<QTH:4>K\xF6ln<EOR>\r\n<CALL:5>OE3XY<QSO_DATE:8:D>20070114<TIME_ON:4>2330"
                      "<NAME:5>M\xFC\xDFig<EOR>\r\n<QSO_DATE:8:D>20070114<NAME:6>Nobody<EOR>\r\n")
        << "3 read, 2 imported, 0 duplicates, 1 rejected"
        << QStringList{"Zeile 8: weder Rufzeichen (CALL) noch Skip-Name"}
        << QStringList{"DL1ABC|Jörg|Köln|30.06.2006|21:45", "OE3XY|Müßig||15.01.2007|00:30"};
    // A web logbook: no header, lower case, UTF-8 counted in bytes, its own APP fields.
    QTest::newRow("web logbook, UTF-8 bytes")
        << "web.adi"
        << QByteArray("<call:6>DK2XYZ <qso_date:8>20060815 <time_on:6>120000 <name:4>Zoë <qth:7>Gießen "
                      "<app_weblog_id:5>12345 <eor>\n<call:6>DK3XYZ <qso_date:8>20060815 <freq:3>abc <eor>\n")
        << "2 read, 1 imported, 0 duplicates, 1 rejected"
        << QStringList{"Zeile 2: FREQ „abc“ ist keine gültige Frequenz"}
        << QStringList{"DK2XYZ|Zoë|Gießen|15.08.2006|14:00"};
    // A digital-modes program: UTF-8 counted in characters, negative reports, grid squares.
    QTest::newRow("digital modes, UTF-8 characters")
        << "digi.adi"
        << QByteArray("ADIF Export<eoh>\n<call:5>SP9AB <gridsquare:4>KN09 <mode:3>FT8 <rst_sent:3>-15 "
                      "<qso_date:8>20061201 <time_on:6>101500 <freq:9>14.075123 <name:6>Wojtek <qth:4>Łódź <eor>\n")
        << "1 read, 1 imported, 0 duplicates, 0 rejected" << QStringList{}
        << QStringList{"SP9AB|Wojtek|Łódź|01.12.2006|11:15"};
    // A contest logger: byte-order mark, USERDEF fields, leading zeros in lengths, a length that
    // points past the end of its record.
    QTest::newRow("contest logger, USERDEF")
        << "contest.adi"
        << QByteArray("\xEF\xBB\xBF<ADIF_VER:5>3.1.4<USERDEF1:3:N>EPC<USERDEF2:8:E>SWEATERS,{S,M,L}<EOH>\n"
                      "<CALL:06>DL5CON<QSO_DATE:8>20060630<TIME_ON:4>0800<EPC:3>123<SWEATERS:1>M<STX:3>001<EOR>\n"
                      "<CALL:06>DL6CON<QSO_DATE:8>20060630<TIME_ON:4>0801<STX:30>002<EOR>\n"
                      "<CALL:06>DL7CON<QSO_DATE:8>20060630<TIME_ON:4>0802<EOR>\n")
        << "3 read, 2 imported, 0 duplicates, 1 rejected"
        << QStringList{"Zeile 3: Feld STX: die Längenangabe 30 reicht über das Satzende hinaus"}
        << QStringList{"DL5CON|||30.06.2006|10:00", "DL7CON|||30.06.2006|10:02"};
    // A QSL service's download: its own fields, a contact the logbook has, a cut-off end.
    QTest::newRow("QSL service download")
        << "qsl.adi"
        << QByteArray("ARRL Logbook of the World Status Report\n<PROGRAMID:4>LoTW\n<APP_LoTW_LASTQSL:19>2026-12-01 "
                      "10:00:00\n<eoh>\n<CALL:6>DL0OLD\n<QSO_DATE:8>20010101\n<TIME_ON:6>110000\n<QSL_RCVD:1>Y\n"
                      "<APP_LoTW_MODEGROUP:5>PHONE\n<eor>\n<CALL:6>DL9NEW\n<QSO_DATE:8>20060101\n<QSL_RCVD:1>Y\n"
                      "<eor>\n<CALL:6>DL9CUT\n<QSO_DATE:8>2006")
        << "3 read, 1 imported, 1 duplicates, 1 rejected"
        << QStringList{"Zeile 15: Feld QSO_DATE: die Längenangabe 8 reicht über das Dateiende hinaus"}
        << QStringList{"DL9NEW|||01.01.2006|"};
    // An XML writer: _INTL fields, APP and USERDEF elements, Latin-1 bytes though it says nothing.
    QTest::newRow("ADX in Latin-1")
        << "xml.adx"
        << QByteArray("<?xml version=\"1.0\"?>\n<ADX><HEADER><PROGRAMID>XLOG</PROGRAMID></HEADER><RECORDS>\n"
                      "<RECORD><CALL>DL1XML</CALL><QSO_DATE>20060630</QSO_DATE><TIME_ON>1945</TIME_ON>"
                      "<NAME>Joerg</NAME><NAME_INTL>J\xF6rg</NAME_INTL><APP PROGRAMID=\"XLOG\" FIELDNAME=\"ID\" "
                      "TYPE=\"N\">7</APP><USERDEF FIELDNAME=\"EPC\">42</USERDEF></RECORD>\n</RECORDS></ADX>\n")
        << "1 read, 1 imported, 0 duplicates, 0 rejected" << QStringList{}
        << QStringList{"DL1XML|Jörg||30.06.2006|21:45"};
}

void TestAdifLogbook::programStyles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, counts);
    QFETCH(QStringList, rejected);
    QFETCH(QStringList, contacts);
    QVERIFY(insertContacts(m_logbook, Book::Dx, {contact({"callsign=DL0OLD", "datum=01.01.2001", "uhrzeit=12:00"})}));
    const QString file = m_dir->filePath(name);
    writeFile(file, bytes);
    const auto r = importFrom(Book::Dx, file);
    QCOMPARE(r.error, QString());
    QCOMPARE(::counts(r), counts);
    QCOMPARE(r.rejectedLines, rejected);
    QStringList stored;
    const auto all = contactsIn(m_logbook, Book::Dx);
    for (size_t i = 1; i < all.size(); ++i) {
        const auto &c = all[i];
        const auto &k = exchange::columns();
        auto v = [&](int col) { return c[size_t(col)].value_or(QString()); };
        stored << QStringList{v(k.callsign), v(k.vorname), v(k.ort), v(k.datum), v(k.uhrzeit)}.join(u'|');
    }
    QCOMPARE(stored, contacts);
}

QTEST_GUILESS_MAIN(TestAdifLogbook)
#include "tst_adif_logbook.moc"
