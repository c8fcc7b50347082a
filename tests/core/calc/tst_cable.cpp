// The cable rule: the table, the half-wave in the cable and the repeated addition up to the
// wanted length, with every refusal.
#include "core/calc/Cable.h"

#include <QTest>

using calc::CableCut;
using Refusal = CableCut::Refusal;

Q_DECLARE_METATYPE(Refusal)

class TestCable : public QObject {
    Q_OBJECT
private slots:
    void table();
    void names_data();
    void names();
    void cut_data();
    void cut();
};

void TestCable::table()
{
    QStringList rows;
    for (const calc::CableType &c : calc::cableTypes())
        rows << QString::fromUtf8(c.name) + " " + QString::fromUtf8(c.factor);
    QCOMPARE(rows, (QStringList{"RG 58 CU 0,66", "RG 58 ALL 0,78", "Aircell 5 0,82", "H 155 0,79", "AIRCELL 7 0,83",
                                "RG 213 U 0,66", "H 500 0,81", "Hirschmann KOKA799 0,82"}));
}

// clang-format off
void TestCable::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("factor"); // empty: not a cable of the table
    QTest::newRow("first") << "RG 58 CU" << "0,66";
    QTest::newRow("last") << "Hirschmann KOKA799" << "0,82";
    QTest::newRow("upper-case AIRCELL 7") << "AIRCELL 7" << "0,83";
    QTest::newRow("lower case") << "rg 58 cu" << "";
    QTest::newRow("the other Aircell's case") << "AIRCELL 5" << "";
    QTest::newRow("trailing blank") << "RG 58 CU " << "";
    QTest::newRow("no blanks") << "RG58CU" << "";
    QTest::newRow("the list's prompt") << "... Kabeltyp auswählen" << "";
    QTest::newRow("empty") << "" << "";
}
// clang-format on

void TestCable::names()
{
    QFETCH(QString, name);
    QFETCH(QString, factor);
    const calc::CableType *type = calc::cableNamed(name);
    QCOMPARE(type ? QString::fromUtf8(type->factor) : QString(), factor);
    const CableCut cut = calc::cableCut(name, QStringLiteral("27,205"), QStringLiteral("10"));
    QCOMPARE(cut.refusal == Refusal::UnknownCable, factor.isEmpty());
    QCOMPARE(cut.factor, factor);
}

// clang-format off
void TestCable::cut_data()
{
    QTest::addColumn<QString>("cable");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("length");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("halfWave"); // empty: none computed
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("halfWaves");

    const QString cu = "RG 58 CU";
    // h = 99 / 27,205 in 29 significant digits; three of them reach 10 m.
    QTest::newRow("defaults") << cu << "27,205" << "10" << Refusal::None
        << "3,6390369417386509832751332476" << "10,917110825215952949825399743" << 3;
    QTest::newRow("RG 213 U as RG 58 CU") << "RG 213 U" << "27,205" << "10" << Refusal::None
        << "3,6390369417386509832751332476" << "10,917110825215952949825399743" << 3;
    QTest::newRow("KOKA799 as Aircell 5") << "Hirschmann KOKA799" << "27,205" << "10" << Refusal::None
        << "4,5212277154934754640691049439" << "13,563683146480426392207314832" << 3;
    // At 9,9 MHz h is exactly 10 m.
    QTest::newRow("length 0: one half-wave") << cu << "9,9" << "0" << Refusal::None << "10" << "10" << 1;
    QTest::newRow("negative length: one half-wave") << cu << "9,9" << "-25" << Refusal::None << "10" << "10" << 1;
    QTest::newRow("below h") << cu << "9,9" << "9,99" << Refusal::None << "10" << "10" << 1;
    QTest::newRow("an exact multiple is the result") << cu << "9,9" << "30" << Refusal::None << "10" << "30" << 3;
    QTest::newRow("just above a multiple") << cu << "9,9" << "30,0000001" << Refusal::None << "10" << "40" << 4;
    QTest::newRow("grouped length") << cu << "9,9" << "1.000" << Refusal::None << "10" << "1000" << 100;
    QTest::newRow("27.205 is 27205 MHz: many small half-waves") << cu << "27.205" << "10" << Refusal::None
        << "0,0036390369417386509832751332" << "10,000073515897812902040065920" << 2748;
    QTest::newRow("the last half-wave allowed") << cu << "9,9" << "10.000.000" << Refusal::None
        << "10" << "10000000" << 1000000;

    QTest::newRow("one half-wave too many") << cu << "9,9" << "10.000.001" << Refusal::TooManyHalfWaves
        << "10" << "0" << 0;
    QTest::newRow("endless length") << cu << "27.205" << "79228162514264337593543950335"
        << Refusal::TooManyHalfWaves << "0,0036390369417386509832751332" << "0" << 0;
    QTest::newRow("empty frequency") << cu << "" << "10" << Refusal::BadFrequency << "" << "0" << 0;
    QTest::newRow("frequency text") << cu << "CB" << "10" << Refusal::BadFrequency << "" << "0" << 0;
    QTest::newRow("frequency with unit") << cu << "27,205 MHz" << "10" << Refusal::BadFrequency << "" << "0" << 0;
    QTest::newRow("bad frequency before bad length") << cu << "" << "" << Refusal::BadFrequency << "" << "0" << 0;
    QTest::newRow("frequency 0") << cu << "0" << "10" << Refusal::FrequencyNotPositive << "" << "0" << 0;
    QTest::newRow("negative frequency") << cu << "-27,205" << "0" << Refusal::FrequencyNotPositive << "" << "0" << 0;
    QTest::newRow("empty length") << cu << "27,205" << "" << Refusal::BadLength << "" << "0" << 0;
    QTest::newRow("length text") << cu << "27,205" << "zehn" << Refusal::BadLength << "" << "0" << 0;
    QTest::newRow("h beyond the number type") << cu << "0,0000000000000000000000000001" << "10"
        << Refusal::HalfWaveOutOfRange << "" << "0" << 0;
    QTest::newRow("the sum beyond the number type") << cu << "0,000000000000000000000000002"
        << "79228162514264337593543950335" << Refusal::LengthOutOfRange
        << "49500000000000000000000000000" << "0" << 0;
    QTest::newRow("unknown cable computes nothing") << "rg 58 cu" << "27,205" << "10" << Refusal::UnknownCable
        << "" << "0" << 0;
}
// clang-format on

void TestCable::cut()
{
    QFETCH(QString, cable);
    QFETCH(QString, frequency);
    QFETCH(QString, length);
    QFETCH(Refusal, refusal);
    QFETCH(QString, halfWave);
    QFETCH(QString, result);
    QFETCH(int, halfWaves);

    const CableCut cut = calc::cableCut(cable, frequency, length);
    QCOMPARE(cut.refusal, refusal);
    QCOMPARE(cut.halfWave ? cut.halfWave->toString() : QString(), halfWave);
    QCOMPARE(cut.length.toString(), result);
    QCOMPARE(cut.halfWaves, halfWaves);
}

QTEST_GUILESS_MAIN(TestCable)
#include "tst_cable.moc"
