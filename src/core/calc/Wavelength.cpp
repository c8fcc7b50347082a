#include "core/calc/Wavelength.h"

namespace calc {

Wave wave(const QString &input)
{
    const auto value = Decimal::parse(input);
    if (!value)
        return {Wave::Refusal::NotANumber, {}};
    const Decimal::Result quotient = Decimal(300).divide(*value);
    if (quotient.status == Decimal::Status::DivisionByZero)
        return {Wave::Refusal::Zero, {}};
    if (!quotient.ok())
        return {Wave::Refusal::OutOfRange, {}};
    return {Wave::Refusal::None, quotient.value};
}

} // namespace calc
