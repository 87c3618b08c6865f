// Length: a length in points (1/72 inch), with conversions from and to other units.
#pragma once

#include "quorv/export.h"

namespace Quorv {

class QUORV_EXPORT Length {
public:
    // Unit codes: 0 centimetre, 1 millimetre, 2 inch, 3 point, 4 pica, 5 twip, 6 em.
    // Any other code counts as inch.
    static float const LENGTH_UNIT_IN_MM;   // millimetres per inch
    static float const LENGTH_UNIT_IN_PT;   // points per inch
    static float const LENGTH_UNIT_PC_PT;   // points per pica
    static float const LENGTH_UNIT_TWIP_PT; // points per twip
    static float const LENGTH_UNIT_PT_MM;   // millimetres per point
    static float const LENGTH_UNIT_PC_MM;   // millimetres per pica
    static float const LENGTH_UNIT_CM;      // points per centimetre
    static float const LENGTH_UNIT_MM;      // points per millimetre
    static float const LENGTH_UNIT_IN;      // points per inch
    static float const LENGTH_UNIT_PT;      // points per point
    static float const LENGTH_UNIT_PC;      // points per pica
    static float const LENGTH_UNIT_TWIP;    // points per twip
    static float const LENGTH_UNIT_EM;      // points per em

    Length() noexcept : value_(0.0f) {}
    Length(float points) noexcept : value_(points) {} // NOLINT: a float is a length in points
    Length(float v, int unit) noexcept;
    Length(const Length&) noexcept = default;
    Length& operator=(const Length&) noexcept = default;
    ~Length() = default;

    Length clone() const noexcept { return *this; }

    // The value in the given unit, divided in single precision.
    double getValue(int unit) const noexcept;

    // The value in points.
    operator float() const noexcept { return value_; } // NOLINT: lengths read as points

    Length operator+(float points) const noexcept { return Length(value_ + points); }
    Length& operator+=(Length other) noexcept {
        value_ += other.value_;
        return *this;
    }

    // True when the two lengths differ by less than 0.001 point.
    bool equals(const Length& other) const noexcept;

private:
    float value_;
};

} // namespace Quorv
