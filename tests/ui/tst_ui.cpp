#include "support/TestSupport.h"
#include "ui/MessageBox.h"
#include "ui/Progress.h"
#include "ui/WindowHelpers.h"

#include <QLineEdit>
#include <QProgressDialog>
#include <QTest>

class TestUi : public QObject {
    Q_OBJECT
private slots:
    void missingControlFailsTheTest();
    void messageBoxFitsItsTitle_data();
    void messageBoxFitsItsTitle();
    void qtTextsInGerman();
};

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
    QTest::newRow("progress window") << QString(); // "Die Liste wird gedruckt ..."
}
// clang-format on

// However short the text, the box (and the progress window) leaves the title "WELLENKLADDE 2006"
// room in a title bar;
// a long text still widens it.
void TestUi::messageBoxFitsItsTitle()
{
    QFETCH(QString, text);
    QWidget parent;
    const ui::ProgressDialog progress(&parent, QStringLiteral("Die Liste wird gedruckt ..."));
    const std::unique_ptr<QMessageBox> message =
        text.isNull() ? nullptr : ui::messageBox(nullptr, QMessageBox::Critical, text);
    QWidget *box = message ? static_cast<QWidget *>(message.get()) : parent.findChild<QProgressDialog *>();
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QFont bold = box->font();
    bold.setBold(true);
    QCOMPARE(box->windowTitle(), QStringLiteral("WELLENKLADDE 2006"));
    // Room for the title in bold beside an icon and three buttons of some 24 pixels each.
    QVERIFY(box->width() >= QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 4 * 24);
    QVERIFY(box->width() >= QFontMetrics(box->font()).horizontalAdvance(text.left(40)));
}

// The file dialog's question before replacing a file, and the buttons Qt names itself.
void TestUi::qtTextsInGerman()
{
    QVERIFY(ui::useGermanQtTexts());
    QVERIFY(ui::useGermanQtTexts()); // a second call changes nothing
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?"),
             QStringLiteral("Die Datei %1 existiert bereits.\nSoll sie überschrieben werden?"));
}

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
