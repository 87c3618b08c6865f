#include "quorv/length.h"

#include <cmath>

namespace Quorv {

float const Length::LENGTH_UNIT_IN_MM = 25.4f;
float const Length::LENGTH_UNIT_IN_PT = 72.0f;
float const Length::LENGTH_UNIT_PC_PT = 12.0f;
float const Length::LENGTH_UNIT_TWIP_PT = 0.05f;
float const Length::LENGTH_UNIT_PT_MM = 0.35277778f;
float const Length::LENGTH_UNIT_PC_MM = 4.2333336f;
float const Length::LENGTH_UNIT_CM = 28.346457f;
float const Length::LENGTH_UNIT_MM = 2.8346457f;
float const Length::LENGTH_UNIT_IN = 72.0f;
float const Length::LENGTH_UNIT_PT = 1.0f;
float const Length::LENGTH_UNIT_PC = 12.0f;
float const Length::LENGTH_UNIT_TWIP = 0.05f;
float const Length::LENGTH_UNIT_EM = 6.0f;

namespace {

// Points per unit for the unit codes 0..6; any other code is an inch.
float pointsPerUnit(int unit) noexcept {
    switch (unit) {
    case 0: return 28.346457f;
    case 1: return 2.8346457f;
    case 2: return 72.0f;
    case 3: return 1.0f;
    case 4: return 12.0f;
    case 5: return 0.05f;
    case 6: return 6.0f;
    default: return 72.0f;
    }
}

} // namespace

Length::Length(float v, int unit) noexcept : value_(v * pointsPerUnit(unit)) {}

double Length::getValue(int unit) const noexcept {
    float v = value_ / pointsPerUnit(unit);
    return static_cast<double>(v);
}

bool Length::equals(const Length& other) const noexcept {
    float diff = other.value_ - value_;
    return std::fabs(static_cast<double>(diff)) < 0.001;
}

} // namespace Quorv
