#include "core/calc/Decimal.h"
#include "core/text/GermanText.h"
#include "support/TestSupport.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QTest>

class TestUi : public QObject {
    Q_OBJECT
private slots:
    void oneNumberRule_data();
    void oneNumberRule();
    void missingControlFailsTheTest();
    void messageBoxFitsItsTitle_data();
    void messageBoxFitsItsTitle();
};

// clang-format off
void TestUi::oneNumberRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("value");
    QTest::newRow("five-digit key") << "26965" << true << 26965.0;
    QTest::newRow("group separator") << "27.205" << true << 27205.0;
    QTest::newRow("separators anywhere") << "1.2.3" << true << 123.0;
    QTest::newRow("grouped with fraction") << "-1.234,5" << true << -1234.5;
    QTest::newRow("blanks around") << " 7 " << true << 7.0;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("comma at end") << "7," << true << 7.0;
    QTest::newRow("no integer digits") << ",5" << true << 0.5;
    QTest::newRow("leading zero") << "05" << true << 5.0;
    const QStringList notNumbers{"nan", "NaN", "inf", "-inf", "+INF", "Infinity", "3e4", "1E3", "0x10", "8.", "1..2",
                                 ".5", "1.,5", "1,2,3", "1,5.5", "", " ", "-", ",", "1 2", "\u0663", "\u221e",
                                 QString(400, u'9')};
    for (const QString &text : notNumbers)
        QTest::newRow(qPrintable("not a number: '" + text.left(12) + "'")) << text << false << 0.0;
}
// clang-format on

// The finders' reader and the calculators' decimal agree on what a number is.
void TestUi::oneNumberRule()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(double, value);
    const auto read = german::readNumber(text);
    QCOMPARE(read.has_value(), number);
    const auto decimal = calc::Decimal::parse(text);
    QCOMPARE(decimal.has_value(), number);
    if (number) {
        QCOMPARE(*read, value);
        QCOMPARE(decimal->toString(), QString::number(value).replace(u'.', u','));
    }
}

void TestUi::missingControlFailsTheTest()
{
    QWidget window;
    QEXPECT_FAIL("", "a control that is not there fails the test", Continue);
    QLineEdit *edit = testsupport::child<QLineEdit>(&window, "txt_fehlt");
    QVERIFY(edit); // a stand-in: what follows runs into no null pointer
    edit->setText(QStringLiteral("x"));
}

// clang-format off
void TestUi::messageBoxFitsItsTitle_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("shortest finder message") << "Ungültige Eingabe !";
    QTest::newRow("one letter") << "x";
    QTest::newRow("long text") << QString(300, u'W');
}
// clang-format on

// However short the text, the box leaves the title "WELLENKLADDE 2006" room in a title bar;
// a long text still widens it.
void TestUi::messageBoxFitsItsTitle()
{
    QFETCH(QString, text);
    const auto box = ui::messageBox(nullptr, QMessageBox::Critical, text);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QFont bold = box->font();
    bold.setBold(true);
    QCOMPARE(box->windowTitle(), QStringLiteral("WELLENKLADDE 2006"));
    // Room for the title in bold beside an icon and three buttons of some 24 pixels each.
    QVERIFY(box->width() >= QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 4 * 24);
    QVERIFY(box->width() >= QFontMetrics(box->font()).horizontalAdvance(text.left(40)));
}

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
