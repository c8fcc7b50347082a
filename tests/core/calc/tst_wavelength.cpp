// Wavelength from frequency and back: 300 divided by the input, with its refusals.
#include "core/calc/Wavelength.h"

#include <QTest>

using calc::Wave;
using Refusal = Wave::Refusal;

Q_DECLARE_METATYPE(Refusal)

class TestWavelength : public QObject {
    Q_OBJECT
private slots:
    void wave_data();
    void wave();
};

// clang-format off
void TestWavelength::wave_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("result");

    QTest::newRow("150,000 MHz") << "150,000" << Refusal::None << "2";
    QTest::newRow("2 m") << "2" << Refusal::None << "150";
    QTest::newRow("27,205: 29 significant digits") << "27,205" << Refusal::None << "11,027384671935306009924646205";
    QTest::newRow("3") << "3" << Refusal::None << "100";
    QTest::newRow("0,5") << "0,5" << Refusal::None << "600";
    QTest::newRow("negative") << "-150" << Refusal::None << "-2";
    QTest::newRow("7") << "7" << Refusal::None << "42,857142857142857142857142857";
    QTest::newRow("27.205 is grouped") << "27.205" << Refusal::None << "0,0110273846719353060099246462";
    QTest::newRow("below 0,00003: wide") << "0,00001" << Refusal::None << "30000000";
    QTest::newRow("empty") << "" << Refusal::NotANumber << "0";
    QTest::newRow("text") << "zwei" << Refusal::NotANumber << "0";
    QTest::newRow("with unit") << "150 MHz" << Refusal::NotANumber << "0";
    QTest::newRow("0") << "0" << Refusal::Zero << "0";
    QTest::newRow("0,0") << "0,0" << Refusal::Zero << "0";
    QTest::newRow("beyond the number type") << "0,0000000000000000000000000001" << Refusal::OutOfRange << "0";
}
// clang-format on

void TestWavelength::wave()
{
    QFETCH(QString, input);
    QFETCH(Refusal, refusal);
    QFETCH(QString, result);
    const Wave w = calc::wave(input);
    QCOMPARE(w.refusal, refusal);
    QCOMPARE(w.value.toString(), result);
}

QTEST_GUILESS_MAIN(TestWavelength)
#include "tst_wavelength.moc"
