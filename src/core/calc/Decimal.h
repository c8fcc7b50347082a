#pragma once
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace calc {

// An exact decimal number: a sign, an unsigned 96-bit integer and a power-of-ten scale from
// 0 to 28 (value = integer / 10^scale), which gives 28 to 29 significant digits.
// Text in and out is always German: decimal comma, period as group separator.
class Decimal {
public:
    using Mantissa = unsigned __int128;

    static constexpr int kMaxScale = 28;
    static const Mantissa kLimit; // 2^96: every mantissa stays below it

    enum class Status { Ok, Overflow, DivisionByZero };

    // An arithmetic result: the value is zero unless the status is Ok.
    struct Result;

    Decimal() = default;
    Decimal(std::int64_t value);

    // A value from its parts; nothing when the mantissa or the scale is out of range.
    static std::optional<Decimal> fromParts(bool negative, Mantissa mantissa, int scale);

    // German text by the program's one number rule (german::scanNumber): "27.205" is 27205,
    // "1,5" one and a half. Trailing zeros of the fraction are dropped ("150,000" is 150).
    // Nothing when the text is not a number or needs more than 96 bits or 28 decimal places.
    static std::optional<Decimal> parse(const QString &text);

    // Decimal comma, no group separators, a leading "-" for negative values and every
    // fraction digit the number carries ("99,00").
    QString toString() const;

    // Characters the text needs before its decimal comma, the sign included ("-2,5": 2).
    int integerTextLength() const;

    bool isNegative() const { return m_negative; }
    bool isZero() const { return m_mantissa == 0; }
    Mantissa mantissa() const { return m_mantissa; }
    int scale() const { return m_scale; }
    Decimal negated() const;

    // Sum and product keep the larger scale and the sum of the scales; when the exact result
    // does not fit, trailing digits are dropped, rounding to nearest, ties to even.
    Result add(const Decimal &other) const;
    Result subtract(const Decimal &other) const;
    Result multiply(const Decimal &other) const;

    // An exact quotient keeps only the digits it needs. Any other quotient is carried to the
    // largest scale (at most 28) whose integer stays below 2^96, rounded to nearest with ties
    // to even; trailing zeros are removed.
    Result divide(const Decimal &divisor) const;

    // Numeric order: 99,00 equals 99.
    friend std::strong_ordering operator<=>(const Decimal &a, const Decimal &b);
    friend bool operator==(const Decimal &a, const Decimal &b) { return (a <=> b) == 0; }

private:
    Decimal(bool negative, Mantissa mantissa, int scale);

    bool m_negative = false;
    Mantissa m_mantissa = 0;
    int m_scale = 0;
};

struct Decimal::Result {
    Status status = Status::Ok;
    Decimal value;
    bool ok() const { return status == Status::Ok; }
};

} // namespace calc
