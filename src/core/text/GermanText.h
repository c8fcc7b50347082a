#pragma once
#include <QDate>
#include <QString>
#include <optional>

// Numbers and dates in the German format, whatever the system locale says.
namespace german {

// A number as a German user writes it, taken apart. The one rule for every window that reads
// a number: blanks around it allowed, an optional sign, the digits 0-9 with single periods
// between them as group separators (placed anywhere: "1.2.3" is 123), an optional decimal comma
// with the fraction after it, and at least one digit. No exponent, no "nan", no "inf".
struct GermanNumber {
    bool negative = false;
    QString integerDigits;  // as typed, without the periods
    QString fractionDigits; // as typed, trailing zeros included
};
std::optional<GermanNumber> scanNumber(const QString &text);

// The same rule, read as a (finite) floating-point value.
std::optional<double> readNumber(const QString &text);

// A whole number with periods grouping its thousands: 34.000.
QString integerText(qint64 value);

// dd.MM.yyyy, four-digit year.
QString dateText(const QDate &date);

} // namespace german
