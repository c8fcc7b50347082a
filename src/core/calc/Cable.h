#pragma once
#include "core/calc/Decimal.h"

#include <QString>
#include <optional>
#include <span>

namespace calc {

// A coaxial cable type: the name the list shows and its velocity factor, written as text.
struct CableType {
    const char *name;
    const char *factor;
};

// The cable table, in list order, which is also the order names are matched in.
std::span<const CableType> cableTypes();

// The type of exactly this name (letter case and blanks count); nullptr when there is none.
const CableType *cableNamed(const QString &name);

// Above this many half-waves the length is refused instead of adding on.
inline constexpr int kMaxHalfWaves = 1000000;

// The length to cut a feed line to: the wanted length rounded up to a whole number of
// electrical half-waves h = (factor x 150) / frequency, added one by one, at least one.
struct CableCut {
    enum class Refusal {
        None,
        UnknownCable,         // the name is not in the table
        BadFrequency,         // not a number
        FrequencyNotPositive, // 0 has no quotient; below 0 the sum would never reach the length
        BadLength,            // not a number
        HalfWaveOutOfRange,   // h is beyond the number type or rounds to 0
        TooManyHalfWaves,     // more than kMaxHalfWaves
        LengthOutOfRange,     // the sum is beyond the number type
    };
    Refusal refusal = Refusal::None;
    QString factor;                  // the cable's factor text, as the table writes it
    std::optional<Decimal> halfWave; // h, whenever it could be computed (also on a later refusal)
    Decimal length;                  // the result: halfWaves x h
    int halfWaves = 0;
};

// Cable name, frequency in MHz and wanted length in metres as typed (German numbers).
CableCut cableCut(const QString &cable, const QString &frequency, const QString &length);

} // namespace calc
