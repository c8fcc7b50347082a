// Reading ADI and ADX as other programs write them, and broken files.
#include "ExchangeTestSupport.h"

#include <QTest>

using exchange::Format;
using exchangetest::readAll;

Q_DECLARE_METATYPE(exchange::Format)

class TestAdifRead : public QObject {
    Q_OBJECT
private slots:
    void adi_data();
    void adi();
    void adx_data();
    void adx();
    void hugeLengthIsSkippedInBlocks();
    void largeFileOfNoAdifEnds();
    void hugeAdxTextEnds();
};

void TestAdifRead::adi_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("header, lower-case tags")
        << QByteArray("Log\n<adif_ver:5>3.1.4\n<eoh>\n<call:6>DL1ABC<qso_date:8>20060630 <eor>\n")
        << QStringList{"L4 CALL=DL1ABC QSO_DATE=20060630"};
    QTest::newRow("no header") << QByteArray("<CALL:4>DL1A<EOR><CALL:4>DL2B<EOR>")
                               << QStringList{"L1 CALL=DL1A", "L1 CALL=DL2B"};
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF<CALL:4>DL1A<EOR>") << QStringList{"L1 CALL=DL1A"};
    QTest::newRow("comments before EOH with angle brackets")
        << QByteArray("Export by <My Log> 2.0, see <http://x.y>\r\n<PROGRAMID:4>TEST<EOH>\r\n<CALL:4>DL1A<EOR>")
        << QStringList{"L3 CALL=DL1A"};
    QTest::newRow("type indicators") << QByteArray("<EOH><FREQ:6:N>27.005<QSO_DATE:8:D>20060630<EOR>")
                                     << QStringList{"L1 FREQ=27.005 QSO_DATE=20060630"};
    QTest::newRow("empty field") << QByteArray("<CALL:4>DL1A<NAME:0><EOR>") << QStringList{"L1 CALL=DL1A NAME="};
    QTest::newRow("CR LF, line numbers") << QByteArray(
        "head\r\n<EOH>\r\n<CALL:4>DL1A\r\n<EOR>\r\n\r\n<CALL:4>DL2B\r\n<NOTES:4>a\r\nb<EOR>\r\n")
                                         << QStringList{"L3 CALL=DL1A", "L6 CALL=DL2B NOTES=a\r\nb"};
    QTest::newRow("USERDEF and APP fields of other programs")
        << QByteArray("<USERDEF1:3:N>EPC<EOH><CALL:4>DL1A<EPC:2>42<APP_LOTW_2XQSL:1>Y<EOR>")
        << QStringList{"L1 CALL=DL1A EPC=42 APP_LOTW_2XQSL=Y"};
    QTest::newRow("length in bytes, UTF-8")
        << QByteArray("<NAME:5>Jörg<QTH:5>Köln<EOR>") << QStringList{"L1 NAME=Jörg QTH=Köln"};
    QTest::newRow("length in characters, UTF-8")
        << QByteArray("<NAME:4>Jörg<QTH:6>Müller<EOR>") << QStringList{"L1 NAME=Jörg QTH=Müller"};
    QTest::newRow("characters, blank after the value")
        << QByteArray("<NAME:4>Jörg <CALL:4>DL1A <EOR>") << QStringList{"L1 NAME=Jörg CALL=DL1A"};
    QTest::newRow("bytes, padded for character readers")
        << QByteArray("<NAME:5>Jörg  <CALL:4>DL1A <EOR>") << QStringList{"L1 NAME=Jörg CALL=DL1A"};
    QTest::newRow("value ends in an umlaut, characters")
        << QByteArray("<NAME:2>Jö<CALL:4>DL1A<EOR>") << QStringList{"L1 NAME=Jö CALL=DL1A"};
    QTest::newRow("length fits neither reading")
        << QByteArray("<QTH:5>Wörthsee<NAME:2>Jö<EOR>")
        << QStringList{"L1 ! Feld QTH: die Längenangabe 5 passt nicht zum Inhalt"};
    QTest::newRow("two umlauts, characters")
        << QByteArray("<NAME:5>Müßig<CALL:4>DL1A<EOR>") << QStringList{"L1 NAME=Müßig CALL=DL1A"};
    QTest::newRow("Latin-1") << QByteArray("<NAME:4>J\xF6rg<QTH:4>K\xF6ln<EOR>")
                             << QStringList{"L1 NAME=Jörg QTH=Köln"};
    QTest::newRow("Windows-1252") << QByteArray("<NOTES:5>5 \x80 \x84<EOR>") << QStringList{"L1 NOTES=5 € „"};
    QTest::newRow("value with <EOR> inside, right length")
        << QByteArray("<NOTES:9>x <EOR> y<EOR><CALL:1>A<EOR>") << QStringList{"L1 NOTES=x <EOR> y", "L1 CALL=A"};
    QTest::newRow("length too long: over the end of the record")
        << QByteArray("<CALL:40>DL1A<QSO_DATE:8>20060630<EOR>\n<CALL:4>DL2B<EOR>\n")
        << QStringList{"L1 ! Feld CALL: die Längenangabe 40 reicht über das Satzende hinaus", "L2 CALL=DL2B"};
    QTest::newRow("length too short") << QByteArray("<CALL:3>DL1ABC<EOR><CALL:4>DL2B<EOR>")
                                      << QStringList{"L1 ! Feld CALL: die Längenangabe 3 passt nicht zum Inhalt",
                                                     "L1 CALL=DL2B"};
    QTest::newRow("length past the end of the file")
        << QByteArray("<CALL:4>DL2B<EOR>\n<CALL:4>DL1A<NOTES:999>abc")
        << QStringList{"L1 CALL=DL2B", "L2 ! Feld NOTES: die Längenangabe 999 reicht über das Dateiende hinaus"};
    QTest::newRow("broken length") << QByteArray("<CALL:x>DL1A<EOR><CALL:4>DL2B<EOR>")
                                   << QStringList{"L1 ! Feld CALL: ungültige Längenangabe", "L1 CALL=DL2B"};
    QTest::newRow("last record without EOR")
        << QByteArray("<CALL:4>DL1A<EOR>\n<CALL:4>DL2B")
        << QStringList{"L1 CALL=DL1A", "L2 ! Der letzte Satz endet ohne <EOR>: die Datei ist unvollständig"};
    QTest::newRow("field twice") << QByteArray("<CALL:4>DL1A<CALL:4>DL1A<NAME:1>a<NAME:1>b<EOR>")
                                 << QStringList{"L1 ! Feld NAME steht zweimal im Satz, mit verschiedenen Werten"};
    QTest::newRow("empty records are no records") << QByteArray("<EOH><EOR><EOR>") << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{"FAIL Die Datei ist leer."};
    QTest::newRow("not ADIF") << QByteArray("Hallo Welt,\n<b>das</b> ist ein Brief.\n")
                              << QStringList{"FAIL Die Datei ist keine ADIF-Datei: sie enthält keinen einzigen "
                                             "ADIF-Eintrag."};
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE<\0C\0", 6)
                            << QStringList{"FAIL Die Datei ist in UTF-16 gespeichert. Bitte sie im Programm, das sie "
                                           "geschrieben hat, als UTF-8 oder ANSI speichern."};
}

void TestAdifRead::adi()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(readAll(Format::Adi, bytes), expected);
}

void TestAdifRead::adx_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ADX>\n<HEADER><ADIF_VER>3.1.4</ADIF_VER>"
                            "</HEADER>\n<RECORDS>\n";
    const QByteArray tail = "</RECORDS>\n</ADX>\n";

    QTest::newRow("fields, APP and USERDEF")
        << head
               + "<RECORD><CALL>DL1ABC</CALL><NAME_INTL>Jörg</NAME_INTL>\n<APP PROGRAMID=\"MONOLOG\" "
                 "FIELDNAME=\"Compression\" TYPE=\"S\">off</APP><USERDEF FIELDNAME=\"EPC\">42</USERDEF></RECORD>\n"
               + tail
        << QStringList{"L5 CALL=DL1ABC NAME_INTL=Jörg APP_MONOLOG_COMPRESSION=off EPC=42"};
    QTest::newRow("lower-case tags, entities, CR")
        << QByteArray("<adx><records><record><call>DL1A</call><notes>a&amp;b&#13;\nc &lt;EOR&gt;</notes>"
                      "</record></records></adx>")
        << QStringList{"L1 CALL=DL1A NOTES=a&b\r\nc <EOR>"};
    QTest::newRow("Latin-1, declared") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ADX><RECORDS>"
                                                     "<RECORD><NAME_INTL>J\xF6rg</NAME_INTL></RECORD></RECORDS></ADX>")
                                       << QStringList{"L1 NAME_INTL=Jörg"};
    QTest::newRow("Latin-1, not declared")
        << QByteArray("<ADX><RECORDS><RECORD><NAME_INTL>J\xF6rg</NAME_INTL></RECORD></RECORDS></ADX>")
        << QStringList{"FAIL Die ADX-Datei ist nicht in UTF-8 geschrieben (Zeile 1)."};
    QTest::newRow("nested element") << head + "<RECORD><CALL>DL<B>1</B>A</CALL></RECORD>\n" + tail
                                    << QStringList{"L5 ! Feld CALL enthält weitere XML-Elemente"};
    QTest::newRow("broken XML")
        << head + "<RECORD><CALL>DL1A</CALL></RECORD>\n<RECORD><CALL>DL2B</CALLS></RECORD>" + tail
        << QStringList{"L5 CALL=DL1A", "FAIL Die ADX-Datei ist ab Zeile 6 kein gültiges XML und kann nicht gelesen "
                                       "werden."};
    QTest::newRow("cut off") << head + "<RECORD><CALL>DL1A</CALL></RECORD>\n<RECORD><CALL>DL"
                             << QStringList{"L5 CALL=DL1A",
                                            "FAIL Die ADX-Datei endet mitten im Text (Zeile 6): sie ist "
                                            "unvollständig."};
    QTest::newRow("not ADX") << QByteArray("<html><body>Hallo</body></html>")
                             << QStringList{"FAIL Die Datei ist keine ADX-Datei: sie beginnt nicht mit <ADX>."};
    QTest::newRow("not XML") << QByteArray("Hallo Welt") << QStringList{"FAIL Die Datei ist keine ADX-Datei."};
}

void TestAdifRead::adx()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(readAll(Format::Adx, bytes), expected);
}

// A length of 500 MB in a small file: the rest of the file is the value, nothing is held.
void TestAdifRead::hugeLengthIsSkippedInBlocks()
{
    QByteArray bytes = "<CALL:4>DL1A<EOR>\n<NOTES:500000000>";
    bytes += QByteArray(3 << 20, 'x');
    QCOMPARE(
        readAll(Format::Adi, bytes),
        (QStringList{"L1 CALL=DL1A", "L2 ! Feld NOTES: die Längenangabe 500000000 reicht über das Dateiende hinaus"}));
    bytes += "<EOR><CALL:4>DL2B<EOR>";
    QCOMPARE(readAll(Format::Adi, bytes),
             (QStringList{"L1 CALL=DL1A", "L2 ! Feld NOTES: die Längenangabe 500000000 reicht über das Satzende hinaus",
                          "L2 CALL=DL2B"}));
}

// 64 MB without a tag (a zeroed file, a film): read through in blocks, told as no ADIF.
void TestAdifRead::largeFileOfNoAdifEnds()
{
    const QStringList out = readAll(Format::Adi, QByteArray(64 << 20, '\0'));
    QCOMPARE(out, QStringList{"FAIL Die Datei ist keine ADIF-Datei: sie enthält keinen einzigen ADIF-Eintrag."});
}

void TestAdifRead::hugeAdxTextEnds()
{
    QByteArray bytes = "<ADX><RECORDS><RECORD><NOTES>";
    bytes += QByteArray(8 << 20, 'x');
    const QStringList out = readAll(Format::Adx, bytes);
    QCOMPARE(out, QStringList{"FAIL Die ADX-Datei enthält in Zeile 1 einen Text von mehr als 4 MB; sie wird nicht "
                              "gelesen."});
}

QTEST_GUILESS_MAIN(TestAdifRead)
#include "tst_adif_read.moc"
