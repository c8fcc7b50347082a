#include "support/WindowDriver.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using testsupport::child;
using testsupport::Fixture;

namespace {
const QString kTitle = QStringLiteral("WELLENKLADDE 2006");
const QStringList kCableNames{"RG 58 CU",  "RG 58 ALL", "Aircell 5", "H 155",
                              "AIRCELL 7", "RG 213 U",  "H 500",     "Hirschmann KOKA799"};

struct Window : testsupport::Window {
    using testsupport::Window::Window;
    QComboBox *cable() const { return get<QComboBox>(QStringLiteral("cmd_kabel")); }
    void typeCable(const QString &text) const
    {
        cable()->lineEdit()->clear();
        QTest::keyClicks(cable()->lineEdit(), text);
    }
    QStringList results(const QStringList &names) const
    {
        QStringList texts;
        for (const QString &name : names)
            texts << text(name);
        return texts;
    }
};

const QStringList kKabelResults{"txt_band", "txt_ber", "txt_ergebnis"};

// Exactly one box, with the application's title.
void checkMessage(const Fixture &fx, const QString &text, QMessageBox::Icon icon)
{
    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].text, text);
    QCOMPARE(fx.messages[0].title, kTitle);
    QCOMPARE(fx.messages[0].icon, icon);
}
} // namespace

class TestCalculators : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void frames_data();
    void frames();
    void typingLimits_data();
    void typingLimits();
    void reopenRestoresDefaults();
    void welle_data();
    void welle();
    void welleRefused_data();
    void welleRefused();
    void kabelCables_data();
    void kabelCables();
    void kabelLengths_data();
    void kabelLengths();
    void kabelUnknownCable_data();
    void kabelUnknownCable();
    void kabelRefused_data();
    void kabelRefused();
};

// clang-format off
void TestCalculators::controls_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxLength"); // 0: no limit
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("centred");

    QTest::newRow("txt_frequenz2") << "frm_welle" << "txt_frequenz2" << "150,000" << 10 << false << false;
    QTest::newRow("txt_welle") << "frm_welle" << "txt_welle" << "2" << 7 << true << true;
    QTest::newRow("txt_welle2") << "frm_welle" << "txt_welle2" << "2" << 9 << false << false;
    QTest::newRow("txt_freque") << "frm_welle" << "txt_freque" << "150" << 7 << true << true;
    QTest::newRow("txt_frequenz") << "frm_kabel" << "txt_frequenz" << "27,205" << 0 << false << false;
    QTest::newRow("txt_länge") << "frm_kabel" << "txt_länge" << "10" << 0 << false << false;
    QTest::newRow("txt_band") << "frm_kabel" << "txt_band" << "" << 4 << true << true;
    QTest::newRow("txt_ber") << "frm_kabel" << "txt_ber" << "" << 5 << true << true;
    QTest::newRow("txt_ergebnis") << "frm_kabel" << "txt_ergebnis" << "" << 6 << true << false;
}
// clang-format on

void TestCalculators::controls()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(int, maxLength);
    QFETCH(bool, readOnly);
    QFETCH(bool, centred);

    Fixture fx;
    const Window w{fx.open(window)};
    QLineEdit *edit = w.get(control);
    QVERIFY(edit);
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->maxLength(), maxLength ? maxLength : 32767);
    QCOMPARE(edit->isReadOnly(), readOnly);
    QCOMPARE(bool(edit->alignment() & Qt::AlignHCenter), centred);
}

// clang-format off
void TestCalculators::frames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QStringList>("frames"); // name=caption

    QTest::newRow("frm_welle") << "frm_welle" << "Wellenlänge"
                               << QStringList{"Wellenlänge berechnen", "Frequenz berechnen"}
                               << QStringList{"Frame4=Frequenz in MHz eingeben", "Frame5=Wellenlänge (m)",
                                              "Frame6=Wellenlänge eingeben (m)", "Frame7=Frequenz (MHz)"};
    QTest::newRow("frm_kabel") << "frm_kabel" << "Kabellänge berechnen" << QStringList{"Kabellänge berechnen"}
                               << QStringList{"Frame1=", "Frame3=Verk.-Faktor", "Frame8=Berechnungsfaktor",
                                              "Frame2=Benötigte Kabellänge (m)"};
}
// clang-format on

void TestCalculators::frames()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QStringList, tabs);
    QFETCH(QStringList, frames);

    Fixture fx;
    QWidget *w = fx.open(window);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), caption);
    auto *tab = child<QTabWidget>(w, QStringLiteral("SSTab1"));
    QVERIFY(tab);
    QStringList tabTexts;
    for (int i = 0; i < tab->count(); ++i)
        tabTexts << tab->tabText(i);
    QCOMPARE(tabTexts, tabs);
    for (const QString &frame : frames) {
        auto *box = child<QGroupBox>(w, frame.section(u'=', 0, 0));
        QVERIFY(box);
        QCOMPARE(box->title(), frame.section(u'=', 1));
    }
    for (const char *button : {"cmd_los", "cmd_losumkehr", "cmd_längerechnen"}) {
        if (auto *b = w->findChild<QPushButton *>(QString::fromUtf8(button)))
            QCOMPARE(b->text(), QStringLiteral("Berechnen"));
    }
}

// clang-format off
void TestCalculators::typingLimits_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    QTest::newRow("frequency 10") << "frm_welle" << 0 << "txt_frequenz2" << "12345678901" << "1234567890";
    QTest::newRow("wavelength 9") << "frm_welle" << 1 << "txt_welle2" << "0,000000123" << "0,0000001";
    QTest::newRow("cable frequency unlimited") << "frm_kabel" << 0 << "txt_frequenz" << "27,2050000000000000000000"
                                               << "27,2050000000000000000000";
    QTest::newRow("cable length unlimited") << "frm_kabel" << 0 << "txt_länge" << "1.234.567.890,125"
                                            << "1.234.567.890,125";
}
// clang-format on

void TestCalculators::typingLimits()
{
    QFETCH(QString, window);
    QFETCH(int, tab);
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, kept);

    Fixture fx;
    const Window w{fx.open(window)};
    w.get<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(tab);
    w.type(control, typed);
    QCOMPARE(w.text(control), kept);
}

void TestCalculators::reopenRestoresDefaults()
{
    Fixture fx;
    Window welle{fx.open(QStringLiteral("frm_welle"))};
    welle.get<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
    welle.type(QStringLiteral("txt_welle2"), QStringLiteral("3"));
    welle.click(QStringLiteral("cmd_losumkehr"));
    welle.type(QStringLiteral("txt_frequenz2"), QStringLiteral("7"));
    welle.click(QStringLiteral("cmd_los"));
    QCOMPARE(welle.results({"txt_welle", "txt_freque"}), (QStringList{"42,8571", "100"}));
    fx.close(QStringLiteral("frm_welle"));
    welle.w = fx.open(QStringLiteral("frm_welle"));
    QCOMPARE(welle.get<QTabWidget>(QStringLiteral("SSTab1"))->currentIndex(), 0);
    QCOMPARE(welle.results({"txt_frequenz2", "txt_welle", "txt_welle2", "txt_freque"}),
             (QStringList{"150,000", "2", "2", "150"}));

    Window kabel{fx.open(QStringLiteral("frm_kabel"))};
    kabel.typeCable(QStringLiteral("H 500"));
    kabel.type(QStringLiteral("txt_länge"), QStringLiteral("20"));
    kabel.click(QStringLiteral("cmd_längerechnen"));
    QVERIFY(!kabel.text(QStringLiteral("txt_ergebnis")).isEmpty());
    fx.close(QStringLiteral("frm_kabel"));
    kabel.w = fx.open(QStringLiteral("frm_kabel"));
    QCOMPARE(kabel.get<QTabWidget>(QStringLiteral("SSTab1"))->currentIndex(), 0);
    QCOMPARE(kabel.results({"txt_frequenz", "txt_länge", "txt_band", "txt_ber", "txt_ergebnis"}),
             (QStringList{"27,205", "10", "", "", ""}));
    QCOMPARE(kabel.cable()->currentText(), QStringLiteral("... Kabeltyp auswählen"));
    QStringList items;
    for (int i = 0; i < kabel.cable()->count(); ++i)
        items << kabel.cable()->itemText(i);
    QCOMPARE(items, kCableNames);
    QVERIFY(kabel.cable()->isEditable());
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestCalculators::welle_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("input"); // empty: the default text stays
    QTest::addColumn<QString>("result");

    QTest::newRow("default 150,000") << "cmd_los" << "" << "2";
    QTest::newRow("27,205 cut, not rounded") << "cmd_los" << "27,205" << "11,0273";
    QTest::newRow("3") << "cmd_los" << "3" << "100";
    QTest::newRow("0,5") << "cmd_los" << "0,5" << "600";
    QTest::newRow("-150") << "cmd_los" << "-150" << "-2";
    QTest::newRow("7") << "cmd_los" << "7" << "42,8571";
    QTest::newRow("27.205 grouped") << "cmd_los" << "27.205" << "0,01102";
    QTest::newRow("blanks around") << "cmd_los" << " 300 " << "1";
    QTest::newRow("integer fills the box") << "cmd_los" << "0,00004" << "7500000";
    QTest::newRow("comma cut off") << "cmd_los" << "0,00007" << "4285714";
    QTest::newRow("negative fills the box") << "cmd_los" << "-0,0004" << "-750000";
    QTest::newRow("default 2") << "cmd_losumkehr" << "" << "150";
    QTest::newRow("back 27,205") << "cmd_losumkehr" << "27,205" << "11,0273";
    QTest::newRow("back 11,0273") << "cmd_losumkehr" << "11,0273" << "27,2052";
    QTest::newRow("back 0,0001") << "cmd_losumkehr" << "0,0001" << "3000000";
}
// clang-format on

void TestCalculators::welle()
{
    QFETCH(QString, button);
    QFETCH(QString, input);
    QFETCH(QString, result);

    Fixture fx;
    const Window w{fx.open(QStringLiteral("frm_welle"))};
    const bool toWavelength = button == QStringLiteral("cmd_los");
    const QString in = toWavelength ? QStringLiteral("txt_frequenz2") : QStringLiteral("txt_welle2");
    const QString out = toWavelength ? QStringLiteral("txt_welle") : QStringLiteral("txt_freque");
    const QString other = toWavelength ? QStringLiteral("txt_freque") : QStringLiteral("txt_welle");
    const QString otherBefore = w.text(other);
    w.get<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(toWavelength ? 0 : 1);
    w.get(out)->setText(QStringLiteral("x")); // so that even the default result shows as written
    if (!input.isEmpty())
        w.type(in, input);
    w.click(button);
    QCOMPARE(w.text(out), result);
    QCOMPARE(w.text(other), otherBefore);
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestCalculators::welleRefused_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");

    const QString badFrequency = QStringLiteral("Bitte eine gültige Frequenz in MHz eingeben.");
    const QString badWavelength = QStringLiteral("Bitte eine gültige Wellenlänge in Metern eingeben.");
    QTest::newRow("empty") << "cmd_los" << "" << badFrequency;
    QTest::newRow("blanks") << "cmd_los" << "   " << badFrequency;
    QTest::newRow("letters") << "cmd_los" << "abc" << badFrequency;
    QTest::newRow("two commas") << "cmd_los" << "1,2,3" << badFrequency;
    QTest::newRow("decimal point after comma") << "cmd_los" << "1,5.5" << badFrequency;
    QTest::newRow("zero") << "cmd_los" << "0" << "Die Frequenz darf nicht 0 sein.";
    QTest::newRow("zero with places") << "cmd_los" << "-0,000" << "Die Frequenz darf nicht 0 sein.";
    QTest::newRow("integer too wide")
        << "cmd_los" << "0,00003"
        << "Das Ergebnis 10000000 ist zu groß für das Feld „Wellenlänge (m)“: es fasst nur 7 Zeichen.";
    QTest::newRow("negative too wide")
        << "cmd_los" << "-0,00004"
        << "Das Ergebnis -7500000 ist zu groß für das Feld „Wellenlänge (m)“: es fasst nur 7 Zeichen.";
    QTest::newRow("back empty") << "cmd_losumkehr" << "" << badWavelength;
    QTest::newRow("back text") << "cmd_losumkehr" << "zwei" << badWavelength;
    QTest::newRow("back zero") << "cmd_losumkehr" << "0,0" << "Die Wellenlänge darf nicht 0 sein.";
    QTest::newRow("back too wide")
        << "cmd_losumkehr" << "0,0000001"
        << "Das Ergebnis 3000000000 ist zu groß für das Feld „Frequenz (MHz)“: es fasst nur 7 Zeichen.";
}
// clang-format on

void TestCalculators::welleRefused()
{
    QFETCH(QString, button);
    QFETCH(QString, input);
    QFETCH(QString, message);

    Fixture fx;
    const Window w{fx.open(QStringLiteral("frm_welle"))};
    const bool toWavelength = button == QStringLiteral("cmd_los");
    w.get<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(toWavelength ? 0 : 1);
    const QStringList before = w.results({"txt_welle", "txt_freque"});
    w.type(toWavelength ? QStringLiteral("txt_frequenz2") : QStringLiteral("txt_welle2"), input);
    w.click(button);
    checkMessage(fx, message, QMessageBox::Critical);
    QCOMPARE(w.results({"txt_welle", "txt_freque"}), before);
}

// clang-format off
void TestCalculators::kabelCables_data()
{
    QTest::addColumn<QString>("cable");
    QTest::addColumn<bool>("typed"); // else picked from the list
    QTest::addColumn<QStringList>("shown"); // txt_band, txt_ber, txt_ergebnis

    // Default inputs 27,205 MHz and 10 m: three half-waves of (factor x 150) / 27,205.
    QTest::newRow("RG 58 CU picked") << "RG 58 CU" << false << QStringList{"0,66", "3,639", "10,917"};
    QTest::newRow("RG 58 CU typed") << "RG 58 CU" << true << QStringList{"0,66", "3,639", "10,917"};
    QTest::newRow("RG 58 ALL") << "RG 58 ALL" << false << QStringList{"0,78", "4,300", "12,902"};
    QTest::newRow("Aircell 5") << "Aircell 5" << false << QStringList{"0,82", "4,521", "13,563"};
    QTest::newRow("H 155") << "H 155" << true << QStringList{"0,79", "4,355", "13,067"};
    QTest::newRow("AIRCELL 7") << "AIRCELL 7" << false << QStringList{"0,83", "4,576", "13,729"};
    QTest::newRow("RG 213 U as RG 58 CU") << "RG 213 U" << false << QStringList{"0,66", "3,639", "10,917"};
    QTest::newRow("H 500") << "H 500" << true << QStringList{"0,81", "4,466", "13,398"};
    QTest::newRow("KOKA799 as Aircell 5") << "Hirschmann KOKA799" << true << QStringList{"0,82", "4,521", "13,563"};
}
// clang-format on

void TestCalculators::kabelCables()
{
    QFETCH(QString, cable);
    QFETCH(bool, typed);
    QFETCH(QStringList, shown);

    Fixture fx;
    const Window w{fx.open(QStringLiteral("frm_kabel"))};
    if (typed)
        w.typeCable(cable);
    else
        w.cable()->setCurrentIndex(w.cable()->findText(cable));
    QCOMPARE(w.cable()->currentText(), cable);
    QCOMPARE(w.results(kKabelResults), (QStringList{"", "", ""})); // picking alone computes nothing
    w.click(QStringLiteral("cmd_längerechnen"));
    QCOMPARE(w.results(kKabelResults), shown);
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestCalculators::kabelLengths_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("ber");
    QTest::addColumn<QString>("result");

    // RG 58 CU: h = 99 / frequency; at 9,9 MHz exactly 10 m.
    QTest::newRow("zero length") << "9,9" << "0" << "10" << "10";
    QTest::newRow("negative length") << "9,9" << "-25" << "10" << "10";
    QTest::newRow("below h") << "9,9" << "9,99" << "10" << "10";
    QTest::newRow("exactly h") << "9,9" << "10" << "10" << "10";
    QTest::newRow("exact multiple") << "9,9" << "30" << "10" << "30";
    QTest::newRow("just above a multiple") << "9,9" << "30,0000001" << "10" << "40";
    QTest::newRow("default, one half-wave") << "27,205" << "-1" << "3,639" << "3,6390";
    QTest::newRow("default, exact double") << "27,205" << "7,2780738834773019665502664952" << "3,639" << "7,2780";
    QTest::newRow("default, above double") << "27,205" << "7,2780738834773019665502664953" << "3,639" << "10,917";
    QTest::newRow("27.205 grouped, 2748 passes") << "27.205" << "10" << "0,003" << "10,000";
    QTest::newRow("grouped length") << "9,9" << "1.000" << "10" << "1000";
    QTest::newRow("largest shown result") << "9,9" << "999.990" << "10" << "999990";
    QTest::newRow("h fills its box") << "0,001" << "1" << "99000" << "99000";
}
// clang-format on

void TestCalculators::kabelLengths()
{
    QFETCH(QString, frequency);
    QFETCH(QString, length);
    QFETCH(QString, ber);
    QFETCH(QString, result);

    Fixture fx;
    const Window w{fx.open(QStringLiteral("frm_kabel"))};
    w.typeCable(QStringLiteral("RG 58 CU"));
    w.type(QStringLiteral("txt_frequenz"), frequency);
    w.type(QStringLiteral("txt_länge"), length);
    w.click(QStringLiteral("cmd_längerechnen"));
    QCOMPARE(w.results(kKabelResults), (QStringList{"0,66", ber, result}));
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestCalculators::kabelUnknownCable_data()
{
    QTest::addColumn<QString>("cable"); // null: the default text stays

    QTest::newRow("default text") << QString();
    QTest::newRow("lower case") << "rg 58 cu";
    QTest::newRow("trailing blank") << "RG 58 CU ";
    QTest::newRow("no blanks") << "RG58CU";
    QTest::newRow("empty") << "";
    QTest::newRow("case of the other Aircell") << "AIRCELL 5";
}
// clang-format on

void TestCalculators::kabelUnknownCable()
{
    QFETCH(QString, cable);

    Fixture fx;
    const Window w{fx.open(QStringLiteral("frm_kabel"))};
    QStringList before{"", "", ""};
    if (!cable.isNull()) {
        // A good result first, so that "nothing changes" means something.
        w.typeCable(QStringLiteral("H 155"));
        w.click(QStringLiteral("cmd_längerechnen"));
        before = w.results(kKabelResults);
        QCOMPARE(before, (QStringList{"0,79", "4,355", "13,067"}));
        w.typeCable(cable);
    }
    w.type(QStringLiteral("txt_frequenz"), QStringLiteral("7")); // would change every figure
    w.click(QStringLiteral("cmd_längerechnen"));
    checkMessage(fx, QStringLiteral("Kabeltyp auswählen"), QMessageBox::NoIcon);
    QCOMPARE(w.results(kKabelResults), before);
}

// clang-format off
void TestCalculators::kabelRefused_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("message");

    const QString badFrequency = QStringLiteral("Bitte eine gültige Frequenz in MHz eingeben.");
    const QString notPositive = QStringLiteral("Die Frequenz muss größer als 0 sein.");
    const QString badLength = QStringLiteral("Bitte eine gültige Länge in Metern eingeben.");
    const QString tooMany = QStringLiteral("Die gewünschte Länge ergibt mehr als 1.000.000 halbe Wellenlängen. "
                                           "Bitte eine kürzere Länge oder eine niedrigere Frequenz eingeben.");
    QTest::newRow("empty frequency") << "" << "10" << badFrequency;
    QTest::newRow("frequency text") << "CB" << "10" << badFrequency;
    QTest::newRow("frequency with unit") << "27,205 MHz" << "10" << badFrequency;
    QTest::newRow("frequency 0") << "0" << "10" << notPositive;
    QTest::newRow("negative frequency") << "-27,205" << "10" << notPositive;
    QTest::newRow("negative frequency, length 0") << "-27,205" << "0" << notPositive;
    QTest::newRow("empty length") << "27,205" << "" << badLength;
    QTest::newRow("length text") << "27,205" << "zehn" << badLength;
    QTest::newRow("h out of range") << "0,0000000000000000000000000001" << "10"
                                    << "Das Ergebnis liegt außerhalb des Rechenbereichs.";
    QTest::newRow("h too wide") << "0,0001" << "1"
                                << "Das Ergebnis 990000 ist zu groß für das Feld "
                                   "„Berechnungsfaktor“: es fasst nur 5 Zeichen.";
    QTest::newRow("result too wide") << "0,001" << "1000000"
                                     << "Das Ergebnis 1089000 ist zu groß für das Feld "
                                        "„Benötigte Kabellänge (m)“: es fasst nur 6 Zeichen.";
    // h = 10 m: 10.000.000 m takes exactly the allowed number of half-waves (and then does not
    // fit its box); one more metre would take one half-wave more.
    QTest::newRow("last allowed pass") << "9,9" << "10.000.000"
                                       << "Das Ergebnis 10000000 ist zu groß für das Feld "
                                          "„Benötigte Kabellänge (m)“: es fasst nur 6 Zeichen.";
    QTest::newRow("one pass too many") << "9,9" << "10.000.001" << tooMany;
    QTest::newRow("endless length") << "27.205" << "79228162514264337593543950335" << tooMany;
}
// clang-format on

void TestCalculators::kabelRefused()
{
    QFETCH(QString, frequency);
    QFETCH(QString, length);
    QFETCH(QString, message);

    Fixture fx;
    const Window w{fx.open(QStringLiteral("frm_kabel"))};
    w.typeCable(QStringLiteral("AIRCELL 7"));
    w.click(QStringLiteral("cmd_längerechnen"));
    const QStringList before = w.results(kKabelResults);
    QCOMPARE(before, (QStringList{"0,83", "4,576", "13,729"}));

    w.typeCable(QStringLiteral("RG 58 CU")); // a different factor, so a half-written result would show
    w.type(QStringLiteral("txt_frequenz"), frequency);
    w.type(QStringLiteral("txt_länge"), length);
    w.click(QStringLiteral("cmd_längerechnen"));
    checkMessage(fx, message, QMessageBox::Critical);
    QCOMPARE(w.results(kKabelResults), before);
}

QTEST_MAIN(TestCalculators)
#include "tst_calculators.moc"
