// Converting lengths in points into the integers OfficeArt records hold, without undefined
// behaviour for any input.
//
// A length is multiplied out and truncated toward zero, as every writer of the library does.
// Values beyond what a field can hold are clamped to its range (a shape 60 inches off the slide
// cannot be stored where the host put it, and is stored at the edge of the range instead).
// Infinite and NaN values have no position at all; they are refused with QvException
// QV_ERR_SHAPE_NOT_FINITE, naming what was being written.
#pragma once

#include <cstdint>

namespace Quorv {
namespace drawing_units {

// Throws QV_ERR_SHAPE_NOT_FINITE with `what` as the detail unless v is finite.
void requireFinite(double v, const char* what);

// Truncates v toward zero and clamps it into [low, high]. v must not be NaN.
std::int64_t clampTruncate(double v, std::int64_t low, std::int64_t high) noexcept;

// Points as master units (576 per inch, 8 per point), clamped to a signed 32-bit integer.
std::int32_t masterUnits(double points, const char* what);

// Points as master units clamped to a signed 16-bit integer: the range of a slide's client
// anchor ([MS-PPT] SmallRectStruct), about +-4096 points.
std::int16_t anchorUnits(double points, const char* what);

// A line width in points as EMU (12700 per point, multiplied in single precision), clamped to
// the range [MS-ODRAW] 2.3.8.14 allows: 0 through 0x0132F540 (1584 points).
std::uint32_t lineWidthEmu(float points, const char* what);

} // namespace drawing_units
} // namespace Quorv
