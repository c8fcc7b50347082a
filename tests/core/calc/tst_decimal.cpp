#include "core/calc/Decimal.h"
#include "core/text/GermanText.h"

#include <QTest>

using calc::Decimal;
using Status = Decimal::Status;

Q_DECLARE_METATYPE(Decimal::Status)

namespace {
Decimal dec(const char *text)
{
    const auto d = Decimal::parse(QString::fromUtf8(text));
    if (!d)
        qFatal("test figure %s does not parse", text);
    return *d;
}

const Decimal::Mantissa kMax = Decimal::kLimit - 1; // 79228162514264337593543950335
} // namespace

class TestDecimal : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void fromParts_data();
    void fromParts();
    void arithmetic_data();
    void arithmetic();
    void repeatedAddition();
    void compare_data();
    void compare();
    void fromInteger();
    void oneNumberRule_data();
    void oneNumberRule();
};

// clang-format off
void TestDecimal::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("scale");

    QTest::newRow("group separator") << "27.205" << true << "27205" << 0;
    QTest::newRow("separators anywhere") << "1.2.3" << true << "123" << 0;
    QTest::newRow("blanks around") << " 7 " << true << "7" << 0;
    QTest::newRow("tab and blanks") << "\t 3,5  " << true << "3,5" << 1;
    QTest::newRow("negative") << "-150" << true << "-150" << 0;
    QTest::newRow("plus sign") << "+3" << true << "3" << 0;
    QTest::newRow("fraction zeros dropped") << "150,000" << true << "150" << 0;
    QTest::newRow("some fraction zeros") << "27,2050" << true << "27,205" << 3;
    QTest::newRow("decimal comma") << "0,5" << true << "0,5" << 1;
    QTest::newRow("no integer digits") << ",5" << true << "0,5" << 1;
    QTest::newRow("comma at end") << "5," << true << "5" << 0;
    QTest::newRow("grouped with fraction") << "1.234,56" << true << "1234,56" << 2;
    QTest::newRow("leading zeros") << "0010" << true << "10" << 0;
    QTest::newRow("negative zero") << "-0,00" << true << "0" << 0;
    QTest::newRow("largest integer") << "79228162514264337593543950335" << true
                                     << "79228162514264337593543950335" << 0;
    QTest::newRow("28 places") << "0,0000000000000000000000000001" << true << "0,0000000000000000000000000001"
                               << 28;
    QTest::newRow("29 places, last zero") << "0,00000000000000000000000000010" << true
                                          << "0,0000000000000000000000000001" << 28;
    QTest::newRow("29 digits with fraction") << "7922816251426433759354395033,5" << true
                                             << "7922816251426433759354395033,5" << 1;

    const QStringList bad{"",       "   ", "-",   ",",   "abc",  "1,2,3", "1 2", ".5",
                          "1,2.3",  "--1", "1-",  "1e3", "12a",  "+-1",   "- 1", "١٢",
                          "27.", "1..2", "nan", "-inf",
                          "0,00000000000000000000000000001", "79228162514264337593543950336",
                          "7922816251426433759354395033,6"};
    for (const QString &text : bad)
        QTest::newRow(qPrintable("bad: '" + text + "'")) << text << false << QString() << 0;
}
// clang-format on

void TestDecimal::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, shown);
    QFETCH(int, scale);

    const auto d = Decimal::parse(text);
    QCOMPARE(d.has_value(), valid);
    if (valid) {
        QCOMPARE(d->toString(), shown);
        QCOMPARE(d->scale(), scale);
    }
}

// clang-format off
void TestDecimal::fromParts_data()
{
    QTest::addColumn<bool>("negative");
    QTest::addColumn<QString>("mantissa"); // decimal digits; Qt has no 128-bit metatype
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("shown"); // empty: refused
    QTest::addColumn<int>("integerChars");

    QTest::newRow("scale kept") << false << "9900" << 2 << "99,00" << 2;
    QTest::newRow("leading fraction zeros") << true << "5" << 3 << "-0,005" << 2;
    QTest::newRow("zero with scale") << false << "0" << 2 << "0,00" << 1;
    QTest::newRow("no negative zero") << true << "0" << 0 << "0" << 1;
    QTest::newRow("largest, 28 places") << false << "79228162514264337593543950335" << 28
                                        << "7,9228162514264337593543950335" << 1;
    QTest::newRow("smallest") << true << "79228162514264337593543950335" << 0
                              << "-79228162514264337593543950335" << 30;
    QTest::newRow("2^96 refused") << false << "79228162514264337593543950336" << 0 << "" << 0;
    QTest::newRow("scale 29 refused") << false << "1" << 29 << "" << 0;
    QTest::newRow("scale -1 refused") << false << "1" << -1 << "" << 0;
}
// clang-format on

void TestDecimal::fromParts()
{
    QFETCH(bool, negative);
    QFETCH(QString, mantissa);
    QFETCH(int, scale);
    QFETCH(QString, shown);
    QFETCH(int, integerChars);

    Decimal::Mantissa m = 0;
    for (const QChar c : mantissa)
        m = m * 10 + Decimal::Mantissa(c.unicode() - u'0');
    const auto d = Decimal::fromParts(negative, m, scale);
    QCOMPARE(d.has_value(), !shown.isEmpty());
    if (d) {
        QCOMPARE(d->toString(), shown);
        QCOMPARE(d->integerTextLength(), integerChars);
    }
}

// clang-format off
void TestDecimal::arithmetic_data()
{
    QTest::addColumn<char>("op");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("result");

    const QString max = QStringLiteral("79228162514264337593543950335");
    auto row = [](const char *name, char op, const QString &a, const QString &b, const QString &r,
                  Status s = Status::Ok) { QTest::newRow(name) << op << a << b << s << r; };

    // Division: the figures the calculators show.
    row("300 / 27,205", '/', "300", "27,205", "11,027384671935306009924646205");
    row("99,00 / 27,205", '/', "99,00", "27,205", "3,6390369417386509832751332476");
    row("300 / 7", '/', "300", "7", "42,857142857142857142857142857");
    row("300 / 27205", '/', "300", "27205", "0,0110273846719353060099246462");
    row("exact keeps no scale", '/', "300", "150,000", "2");
    row("exact integer", '/', "300", "0,5", "600");
    row("exact fraction", '/', "3", "8", "0,375");
    row("trailing zeros of dividend", '/', "99,00", "9", "11");
    row("negative divisor", '/', "300", "-150", "-2");
    row("both negative", '/', "-1", "-4", "0,25");
    row("one third", '/', "1", "3", "0,3333333333333333333333333333");
    row("two thirds round up", '/', "2", "3", "0,6666666666666666666666666667");
    row("zero dividend", '/', "0", "5", "0");
    row("tie at 28 places to even 0", '/', "0,0000000000000000000000000001", "2", "0");
    row("tie at 28 places to even 2", '/', "0,0000000000000000000000000003", "2", "0,0000000000000000000000000002");
    row("tie at scale 0 up", '/', max, "2", "39614081257132168796771975168");
    row("tie at scale 0 down", '/', "79228162514264337593543950333", "2", "39614081257132168796771975166");
    row("above tie rounds up", '/', "0,0000000000000000000000000001", "1,9999", "0,0000000000000000000000000001");
    row("division by zero", '/', "1", "0", "0", Status::DivisionByZero);
    row("zero by zero", '/', "0", "0,00", "0", Status::DivisionByZero);
    row("quotient too large", '/', max, "0,1", "0", Status::Overflow);
    row("tiny divisor", '/', "300", "0,0000000000000000000000000001", "0", Status::Overflow);

    // Multiplication keeps the sum of the scales while it fits.
    row("scale sum", '*', "0,66", "150", "99,00");
    row("signs", '*', "-2", "0,5", "-1,0");
    row("zero keeps scale, no sign", '*', "-0,5", "0", "0,0");
    row("too many places, tie down", '*', "0,0000000000000000000000000005", "0,5", "0,0000000000000000000000000002");
    row("too many places, tie up", '*', "0,0000000000000000000000000007", "0,5", "0,0000000000000000000000000004");
    row("rounds to zero", '*', "0,0000000000000000000000000001", "0,4", "0,0000000000000000000000000000");
    row("too wide, place dropped", '*', "7922816251426433759354395033,5", "10", max);
    row("product overflow", '*', max, "2", "0", Status::Overflow);
    row("negative overflow", '*', "-" + max, "1,1", "0", Status::Overflow);

    // Addition aligns the scales and drops the last place when the sum does not fit.
    row("aligned", '+', "0,1", "0,25", "0,35");
    row("cancels with scale", '+', "1,25", "-1,25", "0,00");
    row("sign of larger", '+', "-1", "0,25", "-0,75");
    row("drop, tie to even 0", '+', "5000000000000000000000000000,5", "5000000000000000000000000000",
        "10000000000000000000000000000");
    row("drop, tie to even 2", '+', "5000000000000000000000000001,5", "5000000000000000000000000000",
        "10000000000000000000000000002");
    row("drop at the limit", '+', "79228162514264337593543950334", "0,5", "79228162514264337593543950334");
    row("rounding reaches 2^96", '+', max, "0,5", "0", Status::Overflow);
    row("sum overflow", '+', max, "1", "0", Status::Overflow);
    row("negative sum overflow", '+', "-" + max, "-1", "0", Status::Overflow);
    row("difference", '-', "0,3", "0,1", "0,2");
    row("difference below zero", '-', "1", "2,5", "-1,5");
    row("difference of extremes", '-', max, max, "0");
}
// clang-format on

void TestDecimal::arithmetic()
{
    QFETCH(char, op);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(Status, status);
    QFETCH(QString, result);

    const Decimal x = *Decimal::parse(a);
    const Decimal y = *Decimal::parse(b);
    const Decimal::Result r = op == '/'   ? x.divide(y)
                              : op == '*' ? x.multiply(y)
                              : op == '+' ? x.add(y)
                                          : x.subtract(y);
    QCOMPARE(r.status, status);
    QCOMPARE(r.ok(), status == Status::Ok);
    QCOMPARE(r.value.toString(), result);
}

void TestDecimal::repeatedAddition()
{
    // The cable length: three half-waves added one by one; the third sum needs 30 digits and
    // loses its last place to rounding.
    const Decimal h = dec("3,6390369417386509832751332476");
    Decimal total;
    for (int i = 0; i < 3; ++i)
        total = total.add(h).value;
    QCOMPARE(total.toString(), QStringLiteral("10,917110825215952949825399743"));
    QCOMPARE(dec("3").multiply(h).value.toString(), total.toString());
    // A fourth half-wave rounds again: the sum now differs from 4 x h in the last place.
    total = total.add(h).value;
    QCOMPARE(total.toString(), QStringLiteral("14,556147766954603933100532991"));
    QCOMPARE(dec("4").multiply(h).value.toString(), QStringLiteral("14,556147766954603933100532990"));

    // 0,1 ten times is exactly 1, unlike binary floating point.
    Decimal tenth;
    for (int i = 0; i < 10; ++i)
        tenth = tenth.add(dec("0,1")).value;
    QCOMPARE(tenth.toString(), QStringLiteral("1,0"));
}

// clang-format off
void TestDecimal::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order");

    QTest::newRow("scale does not matter") << "99,00" << "99" << 0;
    QTest::newRow("zeros") << "0" << "-0,00" << 0;
    QTest::newRow("negative below positive") << "-1" << "0,5" << -1;
    QTest::newRow("negatives") << "-2" << "-1" << -1;
    QTest::newRow("last place") << "10,917" << "10,9169999999999999999999999" << 1;
    QTest::newRow("smallest above zero") << "0,0000000000000000000000000001" << "0" << 1;
    QTest::newRow("extremes") << "-79228162514264337593543950335" << "79228162514264337593543950335" << -1;
    QTest::newRow("wide alignment") << "79228162514264337593543950335" << "7,9228162514264337593543950335" << 1;
}
// clang-format on

void TestDecimal::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);

    const Decimal x = *Decimal::parse(a);
    const Decimal y = *Decimal::parse(b);
    const auto c = x <=> y;
    QCOMPARE(c < 0 ? -1 : c > 0 ? 1 : 0, order);
    const auto d = y <=> x;
    QCOMPARE(d < 0 ? -1 : d > 0 ? 1 : 0, -order);
    QCOMPARE(x == y, order == 0);
}

void TestDecimal::fromInteger()
{
    QCOMPARE(Decimal(300).toString(), QStringLiteral("300"));
    QCOMPARE(Decimal(-7).toString(), QStringLiteral("-7"));
    QCOMPARE(Decimal(INT64_MIN).toString(), QStringLiteral("-9223372036854775808"));
    QCOMPARE(Decimal(0).isNegative(), false);
}

// clang-format off
void TestDecimal::oneNumberRule_data()
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
void TestDecimal::oneNumberRule()
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

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"
