#include "finder/FinderWindow.h"
#include "support/WindowDriver.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using testsupport::child;
using testsupport::Fixture;
using testsupport::Window;

class TestFinder : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void rejectedEntries_data();
    void rejectedEntries();
    void unmatchedEntriesChangeNothing_data();
    void unmatchedEntriesChangeNothing();
    void variantTables_data();
    void variantTables();
};

// clang-format off
void TestFinder::controls_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("frame2");
    QTest::addColumn<QString>("label8");
    QTest::newRow("frm_suche") << "frm_suche" << "-*Frequenz & Kanalsuche MIDLAND ALAN  CB Version*- FM/AM"
                               << "Kanal 1 - 80 suhen" << "Band (a - i)";
    QTest::newRow("frm_frequenzsuche") << "frm_frequenzsuche" << "-*Frequenzsuche CB KANAL 1 - 80 DEU*-"
                                       << "Kanal 1 - 80" << "Band";
    QTest::newRow("frm_sucheHAM") << "frm_sucheHAM" << "-*Frequenz & Kanalsuche MIDLAND ALAN HAM Version*- FM/AM"
                                  << "Kanal 1 - 80 suhen" << "Band";
    QTest::newRow("frm_suche_albrscht") << "frm_suche_albrscht" << "Frequenzsuche Albrecht AE5800 454CH AM/FM/SSB"
                                        << "Kanal 1 - 80 suhen" << "Band";
    QTest::newRow("frm_suchealbrecht") << "frm_suchealbrecht" << "Frequenzsuche Albrecht allgemein"
                                       << "Kanal 1 - 80 suhen" << "Band";
    QTest::newRow("frm_suche_president") << "frm_suche_president" << "Frequenzsuche President Jackson"
                                         << "Kanal 1 - 80 suhen" << "Band (a - i)";
}
// clang-format on

void TestFinder::controls()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QString, frame2);
    QFETCH(QString, label8);
    Fixture fx;
    QWidget *w = fx.open(window);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(child<QGroupBox>(w, "Frame1")->title(), QStringLiteral("Nach Kanal suchen"));
    QCOMPARE(child<QGroupBox>(w, "Frame3")->title(), QStringLiteral("Nach Frequenz suchen"));
    QCOMPARE(child<QGroupBox>(w, "Frame2")->title(), frame2);
    QCOMPARE(child<QLabel>(w, "Label8")->text(), label8);
    struct Edit {
        const char *name;
        int maxLength;
        bool readOnly, centred;
    };
    for (const Edit &e :
         {Edit{"txt_frequenz", 2, false, false}, Edit{"txt_frequenz1", 3, false, false},
          Edit{"txt_result", 32767, true, false}, Edit{"txt_ch", 2, false, true}, Edit{"txt_band", 1, false, true},
          Edit{"txt_res", 5, true, false}, Edit{"txt_kanal", 2, false, true}, Edit{"kanal", 32767, true, false},
          Edit{"freq", 32767, true, false}}) {
        auto *edit = child<QLineEdit>(w, e.name);
        QVERIFY2(edit, e.name);
        QCOMPARE(edit->maxLength(), e.maxLength);
        QCOMPARE(edit->isReadOnly(), e.readOnly);
        QCOMPARE(bool(edit->alignment() & Qt::AlignHCenter), e.centred);
        QVERIFY(edit->text().isEmpty());
    }
    for (const char *b : {"cmd_suchen", "cmd_search", "txt_kanalsuche"})
        QCOMPARE(child<QPushButton>(w, b)->text(), QStringLiteral("SUCHEN"));
    QCOMPARE(child<QPushButton>(w, "cmd_ende")->text(), QStringLiteral("ENDE"));
    QCOMPARE(child<QLabel>(w, "Label3")->text(), QStringLiteral(","));
    // The data control is no widget: nothing of it is on the screen.
    QObject *adodc = w->findChild<QObject *>("Adodc1");
    QVERIFY(adodc && !adodc->isWidgetType());
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestFinder::rejectedEntries_data()
{
    QTest::addColumn<QString>("entry");
    for (const char *e : {"0", "81", "99", "", "ab", "-1", "8.", "1e"})
        QTest::newRow(*e ? e : "empty") << QString::fromLatin1(e);
}
// clang-format on

void TestFinder::rejectedEntries()
{
    QFETCH(QString, entry);
    Fixture fx;
    const Window f = fx.open("frm_suche");
    f.type("txt_kanal", "12");
    f.click("txt_kanalsuche");
    f.type("txt_kanal", entry);
    f.click("txt_kanalsuche");
    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].text, QStringLiteral("Bitte einen Kanal zwischen 1 und 80 eingeben"));
    QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(fx.messages[0].title, QStringLiteral("WELLENKLADDE 2006"));
    QCOMPARE(f.text("txt_kanal"), QString());
    QCOMPARE(f.text("kanal"), QStringLiteral("12 d"));
    QCOMPARE(f.text("freq"), QStringLiteral("27.105"));
}

// clang-format off
void TestFinder::unmatchedEntriesChangeNothing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("leading zero") << "05";
    QTest::newRow("leading blank") << " 7";
    QTest::newRow("trailing blank") << "7 ";
    QTest::newRow("decimal comma") << "7,";
}
// clang-format on

void TestFinder::unmatchedEntriesChangeNothing()
{
    QFETCH(QString, entry);
    Fixture fx;
    const Window f = fx.open("frm_suche");
    f.type("txt_kanal", "41");
    f.click("txt_kanalsuche");
    f.type("txt_kanal", entry);
    f.click("txt_kanalsuche");
    QVERIFY(fx.messages.isEmpty());
    QCOMPARE(f.text("txt_kanal"), entry);
    QCOMPARE(f.text("kanal"), QStringLiteral("5 c"));
    QCOMPARE(f.text("freq"), QStringLiteral("26,565"));
}

// clang-format off
// Every window shows the entry of its radio's table (more entries: tst_channel_tables).
void TestFinder::variantTables_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("designation");
    QTest::addColumn<QString>("frequency");
    QTest::newRow("suche 1") << "frm_suche" << "1" << "1 d" << "26.965";
    QTest::newRow("suche 63") << "frm_suche" << "63" << "24 c" << "26,785";
    QTest::newRow("DEU 24") << "frm_frequenzsuche" << "24" << "24 D" << "27.235";
    QTest::newRow("HAM 32 unshifted") << "frm_sucheHAM" << "32" << "32 d" << "27.325";
    QTest::newRow("AE5800 44") << "frm_suche_albrscht" << "44" << "7 d (a)" << "26,595";
    QTest::newRow("Albrecht 64") << "frm_suchealbrecht" << "64" << "25 d" << "26,795";
    QTest::newRow("President 80") << "frm_suche_president" << "80" << "40 c" << "26,955";
}
// clang-format on

void TestFinder::variantTables()
{
    QFETCH(QString, window);
    QFETCH(QString, entry);
    QFETCH(QString, designation);
    QFETCH(QString, frequency);
    Fixture fx;
    const Window f = fx.open(window);
    f.type("txt_kanal", entry);
    f.click("txt_kanalsuche");
    QCOMPARE(f.text("kanal"), designation);
    QCOMPARE(f.text("freq"), frequency);
    QCOMPARE(f.text("txt_kanal"), entry);
    QVERIFY(fx.messages.isEmpty());
}

QTEST_MAIN(TestFinder)
#include "tst_finder.moc"
