#include "core/finder/FinderVariant.h"
#include "finder/FinderWindow.h"
#include "support/WindowDriver.h"

#include <QRegularExpression>
#include <QTest>

using testsupport::Fixture;

namespace {
struct Finder : testsupport::Window {
    using Window::Window;
    void search(const QString &mhz, const QString &khz) const
    {
        type("txt_frequenz", mhz);
        type("txt_frequenz1", khz);
        click("cmd_suchen");
    }
    void lookup(const QString &channel, const QString &band) const
    {
        type("txt_ch", channel);
        type("txt_band", band);
        click("cmd_search");
    }
};

bool execOnCopy(const Fixture &fx, const char *sql)
{
    return testsupport::execSql(fx.path("Frequenzen.quorvel"), QString::fromUtf8(sql));
}

const QString kFormerResult = QStringLiteral("vorher");
} // namespace

class TestFinderDatabase : public QObject {
    Q_OBJECT
private slots:
    void frequencySearch_data();
    void frequencySearch();
    void firstUnambiguousBandWins();
    void searchEndsQuietlyWhenDatabaseFails();
    void keyWithinACellCounts();
    void channelAndBand_data();
    void channelAndBand();
    void wholeFamilyAgrees_data();
    void wholeFamilyAgrees();
};

// clang-format off
void TestFinderDatabase::frequencySearch_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("mhz");
    QTest::addColumn<QString>("khz");
    QTest::addColumn<QString>("result");  // empty: no result
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<bool>("emptied");
    const QString range = "Bitte Frequenz zwischen 25.615MHz & 30.105MHz eingeben";
    const QString none = "Frequenz nicht vorhanden !!";
    QTest::newRow("suche 26,965") << "frm_suche" << "26" << "965" << "1 d" << "" << false;
    QTest::newRow("suche lower bound") << "frm_suche" << "25" << "615" << "1 a" << "" << false;
    QTest::newRow("suche upper bound") << "frm_suche" << "30" << "105" << "40 l" << "" << false;
    QTest::newRow("suche 27,235 is 24") << "frm_suche" << "27" << "235" << "24 d" << "" << false;
    QTest::newRow("suche below") << "frm_suche" << "25" << "614" << "" << range << true;
    QTest::newRow("suche above") << "frm_suche" << "30" << "106" << "" << range << true;
    QTest::newRow("suche short key") << "frm_suche" << "26" << "96" << "" << range << true;
    QTest::newRow("suche empty") << "frm_suche" << "" << "" << "" << range << true;
    QTest::newRow("suche letters") << "frm_suche" << "ab" << "cde" << "" << range << true;
    QTest::newRow("suche apostrophe") << "frm_suche" << "2'" << "965" << "" << range << true;
    QTest::newRow("suche nan") << "frm_suche" << "" << "nan" << "" << range << true;
    QTest::newRow("suche inf") << "frm_suche" << "in" << "f" << "" << range << true;
    QTest::newRow("suche exponent in range") << "frm_suche" << "3e" << "4" << "" << range << true;
    QTest::newRow("HAM NaN") << "frm_sucheHAM" << "Na" << "N" << ""
                             << "Bitte Frequenz zwischen 25.610MHz & 30.100MHz eingeben" << true;
    QTest::newRow("suche between channels") << "frm_suche" << "26" << "960" << "" << none << false;
    QTest::newRow("suche gap") << "frm_suche" << "26" << "995" << "" << none << false;
    QTest::newRow("President between channels") << "frm_suche_president" << "26" << "960" << "" << none << false;
    QTest::newRow("DEU lower case result") << "frm_frequenzsuche" << "26" << "965" << "1 d" << "" << false;
    QTest::newRow("HAM 25,610 is key 25615") << "frm_sucheHAM" << "25" << "610" << "1 a" << "" << false;
    QTest::newRow("HAM 30,100 is key 30105") << "frm_sucheHAM" << "30" << "100" << "40 l" << "" << false;
    QTest::newRow("HAM 26,960") << "frm_sucheHAM" << "26" << "960" << "1 d" << "" << false;
    QTest::newRow("HAM 26,965 not on raster") << "frm_sucheHAM" << "26" << "965" << "" << none << false;
    QTest::newRow("HAM below") << "frm_sucheHAM" << "25" << "609" << ""
                               << "Bitte Frequenz zwischen 25.610MHz & 30.100MHz eingeben" << true;
    QTest::newRow("HAM above") << "frm_sucheHAM" << "30" << "101" << ""
                               << "Bitte Frequenz zwischen 25.610MHz & 30.100MHz eingeben" << true;
    QTest::newRow("AE5800 26,965") << "frm_suche_albrscht" << "26" << "965" << "1 e" << "" << false;
    QTest::newRow("AE5800 lower bound") << "frm_suche_albrscht" << "25" << "160" << "" << none << false;
    QTest::newRow("AE5800 first cell") << "frm_suche_albrscht" << "25" << "165" << "1 a" << "" << false;
    QTest::newRow("AE5800 upper bound") << "frm_suche_albrscht" << "30" << "100" << "" << none << false;
    QTest::newRow("AE5800 below") << "frm_suche_albrscht" << "25" << "159" << ""
                                  << "Bitte Frequenz zwischen 25.160MHz & 30.100MHz eingeben" << true;
    QTest::newRow("AE5800 above") << "frm_suche_albrscht" << "30" << "101" << ""
                                  << "Bitte Frequenz zwischen 25.160MHz & 30.100MHz eingeben" << true;
    QTest::newRow("AE5800 band j") << "frm_suche_albrscht" << "29" << "655" << "40 j" << "" << false;
    QTest::newRow("Albrecht 26,585") << "frm_suchealbrecht" << "26" << "585" << "7 d" << "" << false;
    QTest::newRow("Albrecht below") << "frm_suchealbrecht" << "25" << "160" << "" << range << true;
    QTest::newRow("President upper bound") << "frm_suche_president" << "28" << "305" << "40 f" << "" << false;
    QTest::newRow("President above") << "frm_suche_president" << "28" << "306" << ""
                                     << "Bitte Frequenz zwischen 25.615MHz & 28.305MHz eingeben" << true;
    QTest::newRow("President beyond its bands") << "frm_suche_president" << "28" << "315" << ""
                                                << "Bitte Frequenz zwischen 25.615MHz & 28.305MHz eingeben" << true;
}
// clang-format on

void TestFinderDatabase::frequencySearch()
{
    QFETCH(QString, window);
    QFETCH(QString, mhz);
    QFETCH(QString, khz);
    QFETCH(QString, result);
    QFETCH(QString, message);
    QFETCH(bool, emptied);
    Fixture fx;
    const Finder f = fx.open(window);
    f.get("txt_result")->setText(kFormerResult);
    f.search(mhz, khz);
    QCOMPARE(f.text("txt_result"), result.isEmpty() ? kFormerResult : result);
    QCOMPARE(fx.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(f.text("txt_frequenz"), emptied ? QString() : mhz);
    QCOMPARE(f.text("txt_frequenz1"), emptied ? QString() : khz);
}

void TestFinderDatabase::firstUnambiguousBandWins()
{
    Fixture fx;
    // 27999 twice in band A, once in band B and once in band C.
    QVERIFY(execOnCopy(fx, "update umbau set A = 27999 where Kanal in (5, 6);"
                           "update umbau set B = 27999 where Kanal = 7;"
                           "update umbau set C = 27999 where Kanal = 9;"));
    const Finder f = fx.open("frm_suche");
    f.search("27", "999");
    QCOMPARE(f.text("txt_result"), QStringLiteral("7 b"));
    QVERIFY(fx.messages.isEmpty());
}

void TestFinderDatabase::searchEndsQuietlyWhenDatabaseFails()
{
    Fixture fx;
    const Finder f = fx.open("frm_suche");
    f.get("txt_result")->setText(kFormerResult);
    f.get("txt_res")->setText("12345");
    QVERIFY(execOnCopy(fx, "drop table umbau;"));
    f.search("26", "965");
    f.lookup("1", "d");
    QCOMPARE(f.text("txt_result"), kFormerResult);
    QCOMPARE(f.text("txt_res"), QStringLiteral("12345"));
    QVERIFY(fx.messages.isEmpty());
}

// A band's cell that holds the key within a longer text counts as well.
void TestFinderDatabase::keyWithinACellCounts()
{
    Fixture fx;
    QVERIFY(execOnCopy(fx, "update umbau set C = '27999 (neu)' where Kanal = 9;"));
    const Finder f = fx.open("frm_suche");
    f.search("27", "999");
    QCOMPARE(f.text("txt_result"), QStringLiteral("9 c"));
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestFinderDatabase::channelAndBand_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("result"); // empty: unchanged
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("channelEmptied");
    const QString ch = "Bitte einen Kanal zwischen 1 und 40 eingeben";
    const QString bad = "Ungültige Eingabe !";
    QTest::newRow("1 d") << "frm_suche" << "1" << "d" << "26965" << QStringList() << false;
    QTest::newRow("1 D") << "frm_suche" << "1" << "D" << "26965" << QStringList() << false;
    QTest::newRow("40 l") << "frm_suche" << "40" << "l" << "30105" << QStringList() << false;
    QTest::newRow("40 L") << "frm_suche" << "40" << "L" << "30105" << QStringList() << false;
    QTest::newRow("07 reads as 7") << "frm_suche" << "07" << "d" << "27035" << QStringList() << false;
    QTest::newRow("23 out of order") << "frm_suche" << "23" << "d" << "27255" << QStringList() << false;
    QTest::newRow("0 a") << "frm_suche" << "0" << "a" << "" << QStringList{ch} << true;
    QTest::newRow("41 a") << "frm_suche" << "41" << "a" << "" << QStringList{ch} << true;
    QTest::newRow("empty channel") << "frm_suche" << "" << "a" << "" << QStringList{ch} << true;
    QTest::newRow("12 j") << "frm_suche" << "12" << "j" << "" << QStringList{bad} << false;
    QTest::newRow("12 k") << "frm_suche" << "12" << "k" << "" << QStringList{bad} << false;
    QTest::newRow("12 x") << "frm_suche" << "12" << "x" << "" << QStringList{bad} << false;
    QTest::newRow("12 empty band") << "frm_suche" << "12" << "" << "" << QStringList{bad} << false;
    QTest::newRow("41 x both messages") << "frm_suche" << "41" << "x" << "" << QStringList{ch, bad} << true;
    QTest::newRow("DEU 24 D") << "frm_frequenzsuche" << "24" << "D" << "27235" << QStringList() << false;
    QTest::newRow("HAM 1 d shifted") << "frm_sucheHAM" << "1" << "d" << "26960" << QStringList() << false;
    QTest::newRow("HAM 40 L shifted") << "frm_sucheHAM" << "40" << "L" << "30100" << QStringList() << false;
    QTest::newRow("AE5800 44 a past table") << "frm_suche_albrscht" << "44" << "a" << "" << QStringList() << false;
    QTest::newRow("AE5800 45 a") << "frm_suche_albrscht" << "45" << "a" << "" << QStringList{ch} << true;
    QTest::newRow("AE5800 40 j") << "frm_suche_albrscht" << "40" << "j" << "29655" << QStringList() << false;
    QTest::newRow("AE5800 1 l") << "frm_suche_albrscht" << "1" << "l" << "" << QStringList{bad} << false;
    QTest::newRow("Albrecht 1 E") << "frm_suchealbrecht" << "1" << "E" << "26965" << QStringList() << false;
    QTest::newRow("Albrecht 1 l") << "frm_suchealbrecht" << "1" << "l" << "" << QStringList{bad} << false;
    QTest::newRow("President 40 f") << "frm_suche_president" << "40" << "f" << "28305" << QStringList() << false;
    QTest::newRow("President 1 g") << "frm_suche_president" << "1" << "g" << "" << QStringList{bad} << false;
}
// clang-format on

void TestFinderDatabase::channelAndBand()
{
    QFETCH(QString, window);
    QFETCH(QString, channel);
    QFETCH(QString, band);
    QFETCH(QString, result);
    QFETCH(QStringList, messages);
    QFETCH(bool, channelEmptied);
    Fixture fx;
    const Finder f = fx.open(window);
    f.get("txt_res")->setText("-----");
    f.lookup(channel, band);
    QCOMPARE(f.text("txt_res"), result.isEmpty() ? QStringLiteral("-----") : result);
    QCOMPARE(fx.messageTexts(), messages);
    QCOMPARE(f.text("txt_ch"), channelEmptied ? QString() : channel);
}

// clang-format off
void TestFinderDatabase::wholeFamilyAgrees_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("entry");
    for (const finder::FinderVariant *v : finder::allVariants())
        for (int entry = 1; entry <= 80; ++entry) {
            const QString designation = v->channels[size_t(entry - 1)].designation;
            // "--" names no channel; the AE5800's in-between channels ("7 d (a)") lie between two
            // channels of the raster and are in no conversion table.
            if (designation == "--" || designation.endsWith("(a)"))
                continue;
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(v->name).arg(entry))) << QString(v->name) << entry;
        }
}
// clang-format on

void TestFinderDatabase::wholeFamilyAgrees()
{
    QFETCH(QString, window);
    QFETCH(int, entry);
    Fixture fx;
    const Finder f = fx.open(window);
    f.type("txt_kanal", QString::number(entry));
    f.click("txt_kanalsuche");
    const QString designation = f.text("kanal");
    const QString frequency = f.text("freq");
    static const QRegularExpression shape(R"(^(\d+) ([A-Za-z])$)");
    const auto m = shape.match(designation);
    QVERIFY2(m.hasMatch(), qPrintable(designation));
    QCOMPARE(frequency.size(), 6);
    const int shift = static_cast<finder::FinderWindow *>(f.w)->variant().shiftKHz;
    // The radio's frequency (the HAM version lies 5 kHz below the table).
    const int khz = QString(frequency).remove(2, 1).toInt() - shift;

    f.search(QString::number(khz / 1000), QStringLiteral("%1").arg(khz % 1000, 3, 10, QChar('0')));
    QCOMPARE(f.text("txt_result"), designation.toLower());

    f.lookup(m.captured(1), m.captured(2));
    QCOMPARE(f.text("txt_res"), QString::number(khz));
    QVERIFY2(fx.messages.isEmpty(), qPrintable(fx.messageTexts().join(" | ")));
}

QTEST_MAIN(TestFinderDatabase)
#include "tst_finder_db.moc"
