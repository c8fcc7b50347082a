#include "core/calc/Decimal.h"

#include "core/text/GermanText.h"

#include <algorithm>
#include <array>

namespace calc {

const Decimal::Mantissa Decimal::kLimit = Decimal::Mantissa(1) << 96;

namespace {

using Mantissa = Decimal::Mantissa;

// A fixed-width unsigned integer wide enough for every intermediate result: a 96-bit
// mantissa times 10^56 when a quotient is aligned to 28 places (about 282 bits).
class Wide {
public:
    static constexpr int kWords = 12;

    Wide() = default;
    explicit Wide(Mantissa v)
    {
        for (int i = 0; i < 4; ++i)
            m_w[i] = std::uint32_t(v >> (32 * i));
    }

    static Wide pow10(int n)
    {
        Wide p(Mantissa(1));
        for (int i = 0; i < n; ++i)
            p.mulSmall(10);
        return p;
    }

    bool isZero() const
    {
        return std::all_of(m_w.begin(), m_w.end(), [](std::uint32_t w) { return w == 0; });
    }
    bool isOdd() const { return m_w[0] & 1u; }
    bool fits96() const
    {
        return std::all_of(m_w.begin() + 3, m_w.end(), [](std::uint32_t w) { return w == 0; });
    }
    Mantissa low128() const
    {
        Mantissa v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 32) | m_w[i];
        return v;
    }

    int compare(const Wide &o) const
    {
        for (int i = kWords - 1; i >= 0; --i) {
            if (m_w[i] != o.m_w[i])
                return m_w[i] < o.m_w[i] ? -1 : 1;
        }
        return 0;
    }
    friend bool operator<(const Wide &a, const Wide &b) { return a.compare(b) < 0; }
    friend bool operator==(const Wide &a, const Wide &b) { return a.compare(b) == 0; }
    friend Wide operator+(Wide a, const Wide &b)
    {
        a.add(b);
        return a;
    }
    friend Wide operator-(Wide a, const Wide &b)
    {
        a.sub(b);
        return a;
    }

    void mulSmall(std::uint32_t m)
    {
        std::uint64_t carry = 0;
        for (auto &w : m_w) {
            const std::uint64_t t = std::uint64_t(w) * m + carry;
            w = std::uint32_t(t);
            carry = t >> 32;
        }
    }

    // Divides in place and returns the remainder.
    std::uint32_t divSmall(std::uint32_t d)
    {
        std::uint64_t rem = 0;
        for (int i = kWords - 1; i >= 0; --i) {
            const std::uint64_t cur = (rem << 32) | m_w[i];
            m_w[i] = std::uint32_t(cur / d);
            rem = cur % d;
        }
        return std::uint32_t(rem);
    }

    void add(const Wide &o)
    {
        std::uint64_t carry = 0;
        for (int i = 0; i < kWords; ++i) {
            const std::uint64_t t = std::uint64_t(m_w[i]) + o.m_w[i] + carry;
            m_w[i] = std::uint32_t(t);
            carry = t >> 32;
        }
    }

    // Requires *this >= o.
    void sub(const Wide &o)
    {
        std::int64_t borrow = 0;
        for (int i = 0; i < kWords; ++i) {
            std::int64_t t = std::int64_t(m_w[i]) - o.m_w[i] - borrow;
            borrow = t < 0 ? 1 : 0;
            m_w[i] = std::uint32_t(t + (borrow << 32));
        }
    }

    static Wide mul(const Wide &a, const Wide &b)
    {
        Wide r;
        for (int i = 0; i < kWords; ++i) {
            std::uint64_t carry = 0;
            for (int j = 0; i + j < kWords; ++j) {
                const std::uint64_t t = std::uint64_t(a.m_w[i]) * b.m_w[j] + r.m_w[i + j] + carry;
                r.m_w[i + j] = std::uint32_t(t);
                carry = t >> 32;
            }
        }
        return r;
    }

    // Binary long division; d must not be zero.
    static void divMod(const Wide &n, const Wide &d, Wide &q, Wide &r)
    {
        q = Wide();
        r = Wide();
        for (int bit = kWords * 32 - 1; bit >= 0; --bit) {
            r.shiftLeft1();
            r.m_w[0] |= (n.m_w[bit / 32] >> (bit % 32)) & 1u;
            if (r.compare(d) >= 0) {
                r.sub(d);
                q.m_w[bit / 32] |= 1u << (bit % 32);
            }
        }
    }

private:
    void shiftLeft1()
    {
        for (int i = kWords - 1; i > 0; --i)
            m_w[i] = (m_w[i] << 1) | (m_w[i - 1] >> 31);
        m_w[0] <<= 1;
    }

    std::array<std::uint32_t, kWords> m_w{};
};

// value * 10^-digits, rounded to nearest, ties to even. `inexact` says that the exact figure
// lies above the value by less than one unit (a division remainder was left over).
Wide dropDigits(Wide value, int digits, bool inexact)
{
    if (digits == 0)
        return value;
    std::uint32_t last = 0;
    bool sticky = inexact;
    for (int i = 0; i < digits; ++i) {
        sticky = sticky || last != 0;
        last = value.divSmall(10);
    }
    if (last > 5 || (last == 5 && (sticky || value.isOdd())))
        value.add(Wide(Mantissa(1)));
    return value;
}

struct Reduced {
    bool ok = false;
    Mantissa mantissa = 0;
    int scale = 0;
};

// Brings a magnitude at any scale into range: at most 28 places and below 2^96,
// dropping as few trailing digits as possible. An inexact magnitude must lose at least one.
Reduced reduce(const Wide &magnitude, int scale, bool inexact = false)
{
    for (int drop = std::max(0, scale - Decimal::kMaxScale); drop <= scale; ++drop) {
        const Wide r = dropDigits(magnitude, drop, inexact);
        if (r.fits96())
            return {true, r.low128(), scale - drop};
    }
    return {};
}

// The same for a magnitude that fits in 128 bits at a scale of at most 28: the usual sum,
// done without the wide type because the cable length adds up to a million times per click.
Reduced reduce(Mantissa magnitude, int scale)
{
    Mantissa p = 1;
    for (int drop = 0; drop <= scale; ++drop, p *= 10) {
        Mantissa q = magnitude / p;
        const Mantissa twice = 2 * (magnitude % p);
        if (twice > p || (twice == p && (q & 1) != 0))
            ++q;
        if (q < Decimal::kLimit)
            return {true, q, scale - drop};
    }
    return {};
}

// m * 10^digits when it stays below 2^126, so that a sum of two such values fits in 128 bits.
std::optional<Mantissa> alignNarrow(Mantissa m, int digits)
{
    constexpr Mantissa bound = Mantissa(1) << 126;
    for (int i = 0; i < digits; ++i) {
        if (m >= bound / 10)
            return std::nullopt;
        m *= 10;
    }
    return m;
}

} // namespace

Decimal::Decimal(std::int64_t value)
    : m_negative(value < 0), m_mantissa(value < 0 ? Mantissa(-(value + 1)) + 1 : Mantissa(value))
{
}

Decimal::Decimal(bool negative, Mantissa mantissa, int scale)
    : m_negative(negative && mantissa != 0), m_mantissa(mantissa), m_scale(scale)
{
}

std::optional<Decimal> Decimal::fromParts(bool negative, Mantissa mantissa, int scale)
{
    if (mantissa >= kLimit || scale < 0 || scale > kMaxScale)
        return std::nullopt;
    return Decimal(negative, mantissa, scale);
}

std::optional<Decimal> Decimal::parse(const QString &text)
{
    // What counts as a number is the program's one rule; the range is the type's own.
    const auto n = german::scanNumber(text);
    if (!n)
        return std::nullopt;
    QString fracDigits = n->fractionDigits;
    while (fracDigits.endsWith(u'0'))
        fracDigits.chop(1);
    if (fracDigits.size() > kMaxScale)
        return std::nullopt;

    Mantissa m = 0;
    for (const QChar c : n->integerDigits + fracDigits) {
        m = m * 10 + Mantissa(c.unicode() - u'0');
        if (m >= kLimit)
            return std::nullopt;
    }
    return Decimal(n->negative, m, int(fracDigits.size()));
}

QString Decimal::toString() const
{
    QString digits;
    Mantissa m = m_mantissa;
    do {
        digits.prepend(QChar(u'0' + int(m % 10)));
        m /= 10;
    } while (m != 0);
    if (digits.size() <= m_scale)
        digits.prepend(QString(m_scale + 1 - digits.size(), u'0'));
    if (m_scale > 0)
        digits.insert(digits.size() - m_scale, u',');
    return m_negative ? u'-' + digits : digits;
}

int Decimal::integerTextLength() const
{
    const QString text = toString();
    const int comma = text.indexOf(u',');
    return comma < 0 ? int(text.size()) : comma;
}

Decimal Decimal::negated() const { return Decimal(!m_negative, m_mantissa, m_scale); }

Decimal::Result Decimal::add(const Decimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    // Magnitudes of the aligned operands, 128-bit or wide; the sign goes with the larger one.
    const auto sum = [&](auto a, auto b) -> Result {
        bool negative = m_negative;
        if (m_negative == other.m_negative) {
            a = a + b;
        } else if (b < a || a == b) {
            a = a - b;
        } else {
            a = b - a;
            negative = other.m_negative;
        }
        const Reduced r = reduce(a, scale);
        if (!r.ok)
            return {Status::Overflow, {}};
        return {Status::Ok, Decimal(negative, r.mantissa, r.scale)};
    };
    const auto x = alignNarrow(m_mantissa, scale - m_scale);
    const auto y = alignNarrow(other.m_mantissa, scale - other.m_scale);
    if (x && y)
        return sum(*x, *y);
    return sum(Wide::mul(Wide(m_mantissa), Wide::pow10(scale - m_scale)),
               Wide::mul(Wide(other.m_mantissa), Wide::pow10(scale - other.m_scale)));
}

Decimal::Result Decimal::subtract(const Decimal &other) const { return add(other.negated()); }

Decimal::Result Decimal::multiply(const Decimal &other) const
{
    const Reduced r = reduce(Wide::mul(Wide(m_mantissa), Wide(other.m_mantissa)), m_scale + other.m_scale);
    if (!r.ok)
        return {Status::Overflow, {}};
    return {Status::Ok, Decimal(m_negative != other.m_negative, r.mantissa, r.scale)};
}

Decimal::Result Decimal::divide(const Decimal &divisor) const
{
    if (divisor.isZero())
        return {Status::DivisionByZero, {}};

    // The quotient cut after 29 places (one guard digit beyond the most the type holds) and
    // whether anything was left over; reduce() rounds it to the largest scale whose integer fits.
    constexpr int guardScale = kMaxScale + 1;
    const Wide dividend = Wide::mul(Wide(m_mantissa), Wide::pow10(guardScale + divisor.m_scale - m_scale));
    Wide q, rem;
    Wide::divMod(dividend, Wide(divisor.m_mantissa), q, rem);
    Reduced r = reduce(q, guardScale, !rem.isZero());
    if (!r.ok)
        return {Status::Overflow, {}};
    while (r.scale > 0 && r.mantissa % 10 == 0) {
        r.mantissa /= 10;
        --r.scale;
    }
    return {Status::Ok, Decimal(m_negative != divisor.m_negative, r.mantissa, r.scale)};
}

std::strong_ordering operator<=>(const Decimal &a, const Decimal &b)
{
    if (a.isZero() && b.isZero())
        return std::strong_ordering::equal;
    if (a.m_negative != b.m_negative)
        return a.m_negative ? std::strong_ordering::less : std::strong_ordering::greater;
    const int scale = std::max(a.m_scale, b.m_scale);
    const Wide x = Wide::mul(Wide(a.m_mantissa), Wide::pow10(scale - a.m_scale));
    const Wide y = Wide::mul(Wide(b.m_mantissa), Wide::pow10(scale - b.m_scale));
    const int c = a.m_negative ? y.compare(x) : x.compare(y);
    return c < 0 ? std::strong_ordering::less : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}

} // namespace calc
