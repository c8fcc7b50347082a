// Contacts and ADIF fields: frequencies, bands, modes, the time zone, and the way there and back.
#include "ExchangeTestSupport.h"
#include "core/exchange/AdifWriter.h"
#include "core/exchange/Frequency.h"
#include "core/exchange/LocalClock.h"

#include <QBuffer>
#include <QTest>

using exchange::Format;
using logbook::Book;
using namespace exchangetest;

Q_DECLARE_METATYPE(exchange::Format)
Q_DECLARE_METATYPE(logbook::Book)

namespace {

QStringList shown(const std::vector<exchange::AdifField> &fields)
{
    QStringList out;
    for (const auto &f : fields)
        out << QString::fromLatin1(f.name) + u'=' + f.value;
    return out;
}

std::vector<exchange::AdifField> fieldsFrom(const QStringList &pairs)
{
    std::vector<exchange::AdifField> fields;
    for (const QString &p : pairs)
        fields.push_back({p.section(u'=', 0, 0).toLatin1(), p.section(u'=', 1)});
    return fields;
}

QByteArray written(Format format, const std::vector<exchange::Contact> &contacts, Book book)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    exchange::AdifWriter writer(&buffer, format);
    exchange::LocalClock clock;
    writer.header({QStringLiteral("Test"), QStringLiteral("1"), QDateTime(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC)});
    for (const auto &c : contacts)
        writer.record(exchange::fieldsOfContact(c, book, format, clock));
    writer.finish();
    return buffer.data();
}

// A reader of the kind other programs have: the length taken as a count of bytes, of Unicode
// characters or of UTF-16 units, and blanks around a value dropped. The fields of every record.
enum class Counts { Bytes, CodePoints, Utf16Units };
QList<QStringList> foreignRead(const QByteArray &file, Counts counts)
{
    QList<QStringList> records{{}};
    const QString text = QString::fromUtf8(file);
    const QByteArray &bytes = file;
    qsizetype i = counts == Counts::Bytes ? bytes.indexOf("<EOH>") : text.indexOf(QLatin1String("<EOH>"));
    i += 5;
    for (;;) {
        i = counts == Counts::Bytes ? bytes.indexOf('<', i) : text.indexOf(u'<', i);
        if (i < 0)
            break;
        const qsizetype close = counts == Counts::Bytes ? bytes.indexOf('>', i) : text.indexOf(u'>', i);
        const QString tag = counts == Counts::Bytes ? QString::fromLatin1(bytes.mid(i + 1, close - i - 1))
                                                    : text.mid(i + 1, close - i - 1);
        i = close + 1;
        if (tag == QLatin1String("EOR")) {
            records.append(QStringList());
            continue;
        }
        const qsizetype n = tag.section(u':', 1, 1).toLongLong();
        QString value;
        if (counts == Counts::Bytes) {
            value = QString::fromUtf8(bytes.mid(i, n));
            i += n;
        } else if (counts == Counts::Utf16Units) {
            value = text.mid(i, n);
            i += n;
        } else {
            const QList<uint> ucs = QStringView(text).mid(i).toUcs4().mid(0, n);
            value = QString::fromUcs4(reinterpret_cast<const char32_t *>(ucs.constData()), ucs.size());
            i += value.size();
        }
        records.last() << tag.section(u':', 0, 0) + u'=' + value.trimmed();
    }
    records.removeLast();
    return records;
}

} // namespace

class TestAdifMapping : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useBerlinTime(); }
    void frequency_data();
    void frequency();
    void bandsAndChannels();
    void exportFields_data();
    void exportFields();
    void importRecord_data();
    void importRecord();
    void roundTrip_data();
    void roundTrip();
    void lengthsReadByOtherPrograms_data();
    void lengthsReadByOtherPrograms();
};

void TestAdifMapping::frequency_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("hz"); // -1: not a frequency
    QTest::newRow("decimal comma") << "27,005" << qint64(27005000);
    QTest::newRow("decimal point") << "27.005" << qint64(27005000);
    QTest::newRow("kHz without unit") << "27005" << qint64(27005000);
    QTest::newRow("MHz with unit") << " 27,005 MHz" << qint64(27005000);
    QTest::newRow("kHz with unit") << "14200 kHz" << qint64(14200000);
    QTest::newRow("HF in kHz") << "14200" << qint64(14200000);
    QTest::newRow("2 m") << "145,500 MHz" << qint64(145500000);
    QTest::newRow("four decimals") << "7.0745" << qint64(7074500);
    QTest::newRow("23 cm in MHz") << "1296" << qint64(1296000000);
    QTest::newRow("hertz in groups") << "26.965.000" << qint64(26965000);
    QTest::newRow("two decimals") << "27,00" << qint64(27000000);
    QTest::newRow("off every band") << "5000" << qint64(-1);
    QTest::newRow("word") << "abc" << qint64(-1);
    QTest::newRow("empty") << "" << qint64(-1);
    QTest::newRow("two commas") << "27,0,05" << qint64(-1);
}

void TestAdifMapping::frequency()
{
    QFETCH(QString, text);
    QFETCH(qint64, hz);
    QCOMPARE(exchange::frequencyHz(text).value_or(-1), hz);
}

void TestAdifMapping::bandsAndChannels()
{
    QCOMPARE(exchange::adifBand(27005000), QString()); // 11 m CB: no ADIF band
    QCOMPARE(exchange::adifBand(26565000), QString());
    QCOMPARE(exchange::adifBand(28455000), QStringLiteral("10m"));
    QCOMPARE(exchange::adifBand(14200000), QStringLiteral("20m"));
    QCOMPARE(exchange::adifBand(433500000), QStringLiteral("70cm"));
    QCOMPARE(exchange::channelHz(u"1").value_or(-1), 26965000);
    QCOMPARE(exchange::channelHz(u"24").value_or(-1), 27235000);
    QCOMPARE(exchange::channelHz(u"41").value_or(-1), 26565000);
    QCOMPARE(exchange::channelHz(u"80").value_or(-1), 26955000);
    QCOMPARE(exchange::channelHz(u"81").value_or(-1), -1);
    QCOMPARE(exchange::mhzText(7074500, u'.'), QStringLiteral("7.0745"));
    QCOMPARE(exchange::mhzText(145500000, u','), QStringLiteral("145,500"));
}

void TestAdifMapping::exportFields_data()
{
    QTest::addColumn<Book>("book");
    QTest::addColumn<Format>("format");
    QTest::addColumn<QStringList>("contact");
    QTest::addColumn<QStringList>("fields");
    const QStringList base{"skip=Funkfreund", "callsign=DL1ABC", "datum=30.06.2006", "uhrzeit=21:45", "lanal=12",
                           "frequenz=27,105", "band=FM",         "rwert=5",          "swert=9+30"};
    const QStringList app{"APP_KANALWERK_SKIP=Funkfreund", "APP_KANALWERK_DATUM=30.06.2006",
                          "APP_KANALWERK_UHRZEIT=21:45", "APP_KANALWERK_KANAL=12"};
    QTest::newRow("summer time: UTC is two hours back") << Book::Local << Format::Adi << base
                                                        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL",
                                                                       "CALL=DL1ABC",
                                                                       "QSO_DATE=20060630",
                                                                       "TIME_ON=1945",
                                                                       "FREQ=27.105",
                                                                       "MODE=FM",
                                                                       "RST_SENT=59+30"}
                                                               + app;
    QTest::newRow("winter time: one hour back, into the day before")
        << Book::Local << Format::Adi << QStringList{"callsign=DL1ABC", "datum=15.01.2007", "uhrzeit=00:30"}
        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL",
                       "CALL=DL1ABC",
                       "QSO_DATE=20070114",
                       "TIME_ON=2330",
                       "APP_KANALWERK_DATUM=15.01.2007",
                       "APP_KANALWERK_UHRZEIT=00:30"};
    QTest::newRow("name, address; ADI in UTF-8")
        << Book::Local << Format::Adi
        << QStringList{"vorname=Jörg", "name=Müller", "ort=Köln", "strasse=Hauptstraße 1", "plz=50667", "tel=0221 1"}
        << QStringList{
               "APP_KANALWERK_LOGBUCH=LOCAL",         "NAME=Jörg Müller",           "QTH=Köln",
               "ADDRESS=Hauptstraße 1\r\n50667 Köln", "APP_KANALWERK_VORNAME=Jörg", "APP_KANALWERK_NACHNAME=Müller",
               "APP_KANALWERK_STRASSE=Hauptstraße 1", "APP_KANALWERK_PLZ=50667",    "APP_KANALWERK_TEL=0221 1"};
    QTest::newRow("ADX: ASCII fields and their _INTL twins")
        << Book::Local << Format::Adx << QStringList{"ort=Köln", "land=Österreich", "bemerkung=Grüße\nvom Bäcker"}
        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL",
                       "QTH=Koeln",
                       "QTH_INTL=Köln",
                       "COUNTRY=Oesterreich",
                       "COUNTRY_INTL=Österreich",
                       "NOTES=Gruesse\r\nvom Baecker",
                       "NOTES_INTL=Grüße\r\nvom Bäcker"};
    QTest::newRow("channel only: the frequency of the 80-channel plan")
        << Book::Local << Format::Adi << QStringList{"lanal=9"}
        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL", "FREQ=27.065", "APP_KANALWERK_KANAL=9",
                       "APP_KANALWERK_NULL=FREQUENZ"};
    QTest::newRow("10 m has a band; kHz typed")
        << Book::Local << Format::Adi << QStringList{"frequenz=28455"}
        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL", "FREQ=28.455", "BAND=10m", "APP_KANALWERK_FREQUENZ=28455"};
    QTest::newRow("USB is SSB with a submode; typed in lower case")
        << Book::Local << Format::Adi << QStringList{"band=usb"}
        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL", "MODE=SSB", "SUBMODE=USB", "APP_KANALWERK_MODULATION=usb"};
    QTest::newRow("a mode ADIF does not know")
        << Book::Local << Format::Adi << QStringList{"band=Schmalband-FM"}
        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL", "APP_KANALWERK_MODULATION=Schmalband-FM"};
    QTest::newRow("DX: QSL boxes") << Book::Dx << Format::Adi
                                   << QStringList{"qslverschickt=1", "qslbekommen=0", "bemerkung=kurz"}
                                   << QStringList{"APP_KANALWERK_LOGBUCH=DX", "COMMENT=kurz", "QSL_SENT=Y",
                                                  "QSL_RCVD=N"};
    QTest::newRow("empty texts are not NULL")
        << Book::Local << Format::Adi << QStringList{"ort=", "callsign=DL1A"}
        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL", "CALL=DL1A", "APP_KANALWERK_QTH="};
    QTest::newRow("ADX: a control character travels as Base64")
        << Book::Local << Format::Adx
        << QStringList{QStringLiteral("bemerkung=a\x01"
                                      "b")}
        << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL", "COMMENT=ab", "APP_KANALWERK_BEMERKUNG_BASE64=YQFi"};
}

void TestAdifMapping::exportFields()
{
    QFETCH(Book, book);
    QFETCH(Format, format);
    QFETCH(QStringList, contact);
    QFETCH(QStringList, fields);
    exchange::LocalClock clock;
    QCOMPARE(shown(exchange::fieldsOfContact(exchangetest::contact(contact), book, format, clock)), fields);
}

void TestAdifMapping::importRecord_data()
{
    QTest::addColumn<Book>("book");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("contact"); // or "! reason"
    QTest::addColumn<QStringList>("unused");
    QTest::newRow("another program's record, summer time")
        << Book::Local
        << QStringList{"CALL=DL1ABC", "QSO_DATE=20060630", "TIME_ON=1945", "FREQ=14.2", "BAND=20M", "MODE=SSB",
                       "SUBMODE=USB", "RST_SENT=59",       "RST_RCVD=57",  "NAME=Jörg", "QTH=Köln", "GRIDSQUARE=JO30"}
        << QStringList{"vorname=Jörg",    "ort=Köln", "callsign=DL1ABC", "datum=30.06.2006", "uhrzeit=21:45",
                       "frequenz=14,200", "band=USB", "rwert=5",         "swert=9"}
        << QStringList{"RST_RCVD", "GRIDSQUARE"};
    QTest::newRow("winter time, seconds, over midnight")
        << Book::Local << QStringList{"CALL=DL1ABC", "QSO_DATE=20070114", "TIME_ON=233010"}
        << QStringList{"callsign=DL1ABC", "datum=15.01.2007", "uhrzeit=00:30"} << QStringList{};
    QTest::newRow("the _INTL field wins")
        << Book::Local << QStringList{"CALL=DL1A", "QSO_DATE=20060630", "NAME=Joerg", "NAME_INTL=Jörg"}
        << QStringList{"vorname=Jörg", "callsign=DL1A", "datum=30.06.2006"} << QStringList{};
    QTest::newRow("a report with a tone digit")
        << Book::Local << QStringList{"CALL=DL1A", "QSO_DATE=20060630", "RST_SENT=599"}
        << QStringList{"callsign=DL1A", "datum=30.06.2006", "swert=599"} << QStringList{};
    QTest::newRow("no call sign, no skip") << Book::Local << QStringList{"QSO_DATE=20060630", "NAME=Jörg"}
                                           << QStringList{"! weder Rufzeichen (CALL) noch Skip-Name"} << QStringList{};
    QTest::newRow("no date") << Book::Local << QStringList{"CALL=DL1A", "TIME_ON=1200"}
                             << QStringList{"! kein Datum (QSO_DATE fehlt)"} << QStringList{};
    QTest::newRow("date that is none") << Book::Local << QStringList{"CALL=DL1A", "QSO_DATE=20061345"}
                                       << QStringList{"! QSO_DATE „20061345“ ist kein gültiges Datum"} << QStringList{};
    QTest::newRow("time that is none") << Book::Local << QStringList{"CALL=DL1A", "QSO_DATE=20060630", "TIME_ON=2599"}
                                       << QStringList{"! TIME_ON „2599“ ist keine gültige Uhrzeit"} << QStringList{};
    QTest::newRow("frequency that is none") << Book::Local << QStringList{"CALL=DL1A", "QSO_DATE=20060630", "FREQ=abc"}
                                            << QStringList{"! FREQ „abc“ ist keine gültige Frequenz"} << QStringList{};
    QTest::newRow("our own record needs neither call nor date")
        << Book::Local << QStringList{"APP_KANALWERK_LOGBUCH=LOCAL", "APP_KANALWERK_SKIP="} << QStringList{"skip="}
        << QStringList{};
    QTest::newRow("our own fields win") << Book::Local
                                        << QStringList{"CALL=DL1ABC", "QSO_DATE=20060630", "TIME_ON=1945",
                                                       "APP_KANALWERK_DATUM=30.6.06", "APP_KANALWERK_UHRZEIT=abends"}
                                        << QStringList{"callsign=DL1ABC", "datum=30.6.06", "uhrzeit=abends"}
                                        << QStringList{};
    QTest::newRow("QSL into the local logbook")
        << Book::Local << QStringList{"CALL=DL1A", "QSO_DATE=20060630", "QSL_SENT=Y"}
        << QStringList{"callsign=DL1A", "datum=30.06.2006"} << QStringList{"QSL_SENT"};
    QTest::newRow("QSL into the DX logbook")
        << Book::Dx << QStringList{"CALL=DL1A", "QSO_DATE=20060630", "QSL_SENT=Q", "QSL_RCVD=V"}
        << QStringList{"callsign=DL1A", "datum=30.06.2006", "qslverschickt=0", "qslbekommen=1"} << QStringList{};
}

void TestAdifMapping::importRecord()
{
    QFETCH(Book, book);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, contact);
    QFETCH(QStringList, unused);
    exchange::AdifRecord record;
    record.fields = fieldsFrom(fields);
    exchange::LocalClock clock;
    const exchange::Taken taken = exchange::contactOfRecord(record, book, clock);
    QCOMPARE(taken.reject.isEmpty() ? pairsOf(taken.contact, book) : QStringList{"! " + taken.reject}, contact);
    QStringList unusedNames;
    for (const QByteArray &n : taken.unused)
        unusedNames << QString::fromLatin1(n);
    QCOMPARE(unusedNames, unused);
}

void TestAdifMapping::roundTrip_data()
{
    QTest::addColumn<Book>("book");
    QTest::addColumn<Format>("format");
    QTest::newRow("local, ADI") << Book::Local << Format::Adi;
    QTest::newRow("local, ADX") << Book::Local << Format::Adx;
    QTest::newRow("DX, ADI") << Book::Dx << Format::Adi;
    QTest::newRow("DX, ADX") << Book::Dx << Format::Adx;
}

// Every contact comes back column for column, character for character, NULL as NULL.
void TestAdifMapping::roundTrip()
{
    QFETCH(Book, book);
    QFETCH(Format, format);
    const auto contacts = variedContacts(1500, book, 7);
    QBuffer buffer;
    buffer.setData(written(format, contacts, book));
    QCOMPARE(readAll(format, buffer.data()).size(), qsizetype(contacts.size()));
    buffer.open(QIODevice::ReadOnly);
    const auto reader = exchange::makeReader(format, &buffer);
    exchange::LocalClock clock;
    exchange::AdifRecord record;
    for (const auto &c : contacts) {
        QVERIFY(reader->next(&record));
        const exchange::Taken taken = exchange::contactOfRecord(record, book, clock);
        QCOMPARE(taken.reject, QString());
        QCOMPARE(pairsOf(taken.contact, book), pairsOf(c, book));
        QVERIFY(taken.unused.empty());
    }
    QVERIFY(!reader->next(&record));
    QCOMPARE(reader->failure(), QString());
}

void TestAdifMapping::lengthsReadByOtherPrograms_data()
{
    QTest::addColumn<int>("counts");
    QTest::newRow("counting bytes") << int(Counts::Bytes);
    QTest::newRow("counting characters") << int(Counts::CodePoints);
    QTest::newRow("counting UTF-16 units") << int(Counts::Utf16Units);
}

// The ADI lengths count bytes, and the blanks after a value beyond ASCII let a reader that
// counts characters find every field too.
void TestAdifMapping::lengthsReadByOtherPrograms()
{
    QFETCH(int, counts);
    const std::vector<exchange::Contact> contacts{
        contact({"callsign=DL1ABC", "vorname=Jörg", "name=Müßig", "ort=Köln", "bemerkung=Grüße 🙂 aus Łódź"}),
        contact({"callsign=OE3XYZ", "ort=Wörthsee", "land=Österreich"}),
    };
    const QList<QStringList> records = foreignRead(written(Format::Adi, contacts, Book::Local), Counts(counts));
    QCOMPARE(records.size(), 2);
    const QList<QStringList> expected{
        {"NAME=Jörg Müßig", "QTH=Köln", "COMMENT=Grüße 🙂 aus Łódź", "CALL=DL1ABC"},
        {"QTH=Wörthsee", "COUNTRY=Österreich", "CALL=OE3XYZ"}};
    for (int r = 0; r < 2; ++r)
        for (const QString &field : expected[r])
            QVERIFY2(records[r].contains(field), qPrintable(field));
}

QTEST_GUILESS_MAIN(TestAdifMapping)
#include "tst_adif_mapping.moc"
