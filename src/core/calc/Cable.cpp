#include "core/calc/Cable.h"

#include <array>

namespace calc {
namespace {

// Factors are texts, read like the user's input.
constexpr std::array<CableType, 8> kCables{{
    {"RG 58 CU", "0,66"},
    {"RG 58 ALL", "0,78"},
    {"Aircell 5", "0,82"},
    {"H 155", "0,79"},
    {"AIRCELL 7", "0,83"},
    {"RG 213 U", "0,66"},
    {"H 500", "0,81"},
    {"Hirschmann KOKA799", "0,82"},
}};

// Adds h until the total reaches the wanted length; the body runs at least once.
void addHalfWaves(CableCut &cut, const Decimal &wanted)
{
    const Decimal h = *cut.halfWave;
    Decimal total;
    int passes = 0;
    do {
        if (passes == kMaxHalfWaves) {
            cut.refusal = CableCut::Refusal::TooManyHalfWaves;
            return;
        }
        const Decimal::Result sum = total.add(h);
        if (!sum.ok()) {
            cut.refusal = CableCut::Refusal::LengthOutOfRange;
            return;
        }
        total = sum.value;
        ++passes;
    } while (total < wanted);
    cut.length = total;
    cut.halfWaves = passes;
}

} // namespace

std::span<const CableType> cableTypes() { return kCables; }

const CableType *cableNamed(const QString &name)
{
    for (const CableType &cable : kCables)
        if (name == QString::fromUtf8(cable.name))
            return &cable;
    return nullptr;
}

CableCut cableCut(const QString &cable, const QString &frequency, const QString &length)
{
    using Refusal = CableCut::Refusal;
    CableCut cut;
    const CableType *type = cableNamed(cable);
    if (!type) {
        cut.refusal = Refusal::UnknownCable;
        return cut;
    }
    cut.factor = QString::fromUtf8(type->factor);
    const auto f = Decimal::parse(frequency);
    const auto wanted = Decimal::parse(length);
    if (!f)
        cut.refusal = Refusal::BadFrequency;
    else if (*f <= Decimal(0))
        cut.refusal = Refusal::FrequencyNotPositive;
    else if (!wanted)
        cut.refusal = Refusal::BadLength;
    if (cut.refusal != Refusal::None)
        return cut;

    // Multiply first, then divide.
    const Decimal::Result h = Decimal::parse(cut.factor)->multiply(Decimal(150)).value.divide(*f);
    if (!h.ok() || h.value.isZero()) {
        cut.refusal = Refusal::HalfWaveOutOfRange;
        return cut;
    }
    cut.halfWave = h.value;
    addHalfWaves(cut, *wanted);
    return cut;
}

} // namespace calc
