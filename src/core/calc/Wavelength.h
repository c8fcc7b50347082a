#pragma once
#include "core/calc/Decimal.h"

#include <QString>

namespace calc {

// 300 divided by the input, exact in decimal arithmetic: a frequency in MHz gives the free-space
// wavelength in metres, and a wavelength in metres the frequency in MHz.
struct Wave {
    enum class Refusal {
        None,
        NotANumber,
        Zero,       // 0 has no quotient
        OutOfRange, // the quotient is beyond the number type
    };
    Refusal refusal = Refusal::None;
    Decimal value;
};

// The input as typed (a German number).
Wave wave(const QString &input);

} // namespace calc
