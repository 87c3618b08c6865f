// Lengths in points turned into the integers records hold, for any input without undefined
// behaviour: multiplied in single precision as the format's writers do, truncated toward zero,
// clamped to the field's range; NaN gives 0.
#pragma once

#include <cstdint>
#include <limits>

namespace Quorv {
namespace units {

// Truncates v toward zero and clamps it into [low, high]; NaN gives 0 (or the bound nearer 0).
constexpr std::int64_t saturate(double v, std::int64_t low, std::int64_t high) noexcept {
    if (v != v) return low > 0 ? low : (high < 0 ? high : 0);
    if (v <= static_cast<double>(low)) return low;
    if (v >= static_cast<double>(high)) return high;
    return static_cast<std::int64_t>(v);
}

template <class Int>
constexpr Int saturateTo(double v) noexcept {
    return static_cast<Int>(
        saturate(v, std::numeric_limits<Int>::min(), static_cast<std::int64_t>(std::numeric_limits<Int>::max())));
}

// Master units: 576 per inch, 8 per point.
inline std::int32_t masterUnits(float points) noexcept { return saturateTo<std::int32_t>(points * 8.0f); }
// Master units in the 16-bit fields of a client anchor ([MS-PPT] SmallRectStruct), about
// +-4096 points.
inline std::int16_t anchorUnits(float points) noexcept { return saturateTo<std::int16_t>(points * 8.0f); }
// English Metric Units: 12,700 per point.
inline std::int32_t emu(float points) noexcept { return saturateTo<std::int32_t>(points * 12700.0f); }

} // namespace units
} // namespace Quorv
