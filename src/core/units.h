// Lengths in points turned into the integers records hold, without undefined behaviour for any
// input. A length is multiplied out (by 8 for master units, in single precision by 12,700 for
// EMU, as the format's writers do) and truncated toward zero. Two kinds of conversion, named apart:
//
// - clamp...: any value gives a value of the field. Beyond the field's range it is clamped to
//   its edge; NaN gives 0 (or the bound nearer 0). For lengths that do not place a shape: text
//   margins, a text frame's line width, the slide size.
// - checked...: the value places a shape, so NaN and infinity have no meaning and are refused
//   with QvException: code QV_ERR_SHAPE_NOT_FINITE (15) for shapes, QV_ERR_TABLE_NOT_FINITE (17)
//   for tables, with what the value is as the detail. Finite values beyond the field are clamped
//   (a shape 60 inches off the slide is stored at the edge of the range).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "quorv/exception.h"

namespace Quorv {
namespace units {

// Truncates v toward zero and clamps it into [low, high]; NaN gives 0 (or the bound nearer 0).
constexpr std::int64_t clamp(double v, std::int64_t low, std::int64_t high) noexcept {
    if (v != v) return low > 0 ? low : (high < 0 ? high : 0);
    if (v <= static_cast<double>(low)) return low;
    if (v >= static_cast<double>(high)) return high;
    return static_cast<std::int64_t>(v);
}

template <class Int>
constexpr Int clampTo(double v) noexcept {
    return static_cast<Int>(
        clamp(v, std::numeric_limits<Int>::min(), static_cast<std::int64_t>(std::numeric_limits<Int>::max())));
}

// Master units (576 per inch, 8 per point) in the 16-bit fields of a slide's client anchor
// ([MS-PPT] SmallRectStruct), about +-4096 points.
inline std::int16_t clampAnchorUnits(double points) noexcept { return clampTo<std::int16_t>(points * 8.0); }
// English Metric Units: 12,700 per point.
inline std::int32_t clampEmu(float points) noexcept { return clampTo<std::int32_t>(points * 12700.0f); }

// Throws QvException code with what as the detail unless v is finite.
template <class What>
void requireFinite(double v, QvErrorCode code, const What& what) {
    if (!std::isfinite(v)) throw makeException(code, what);
}

inline std::int16_t checkedAnchorUnits(double points, QvErrorCode code, const char* what) {
    requireFinite(points, code, what);
    return clampAnchorUnits(points);
}
// Master units in a signed 32-bit field: a group's coordinates and child anchors.
inline std::int32_t checkedMasterUnits(double points, QvErrorCode code, const char* what) {
    requireFinite(points, code, what);
    return clampTo<std::int32_t>(points * 8.0);
}
// A line width as EMU, clamped to the range [MS-ODRAW] 2.3.8.14 allows: 0 through 0x0132F540
// (1584 points).
inline std::uint32_t checkedLineWidthEmu(float points, QvErrorCode code, const char* what) {
    requireFinite(points, code, what);
    return static_cast<std::uint32_t>(clamp(static_cast<double>(points * 12700.0f), 0, 0x0132F540));
}

} // namespace units
} // namespace Quorv
