#include "drawing/drawing_units.h"

#include <cmath>

#include "core/units.h"
#include "quorv/exception.h"

namespace Quorv {
namespace drawing_units {

void requireFinite(double v, const char* what) {
    if (!std::isfinite(v)) throw makeException(QV_ERR_SHAPE_NOT_FINITE, what);
}

std::int64_t clampTruncate(double v, std::int64_t low, std::int64_t high) noexcept {
    return units::saturate(v, low, high);
}

std::int32_t masterUnits(double points, const char* what) {
    requireFinite(points, what);
    return static_cast<std::int32_t>(clampTruncate(points * 8.0, INT32_MIN, INT32_MAX));
}

std::int16_t anchorUnits(double points, const char* what) {
    requireFinite(points, what);
    return static_cast<std::int16_t>(clampTruncate(points * 8.0, INT16_MIN, INT16_MAX));
}

std::uint32_t lineWidthEmu(float points, const char* what) {
    requireFinite(points, what);
    float emu = points * 12700.0f; // may overflow to infinity, which the clamp handles
    return static_cast<std::uint32_t>(clampTruncate(static_cast<double>(emu), 0, 0x0132F540));
}

} // namespace drawing_units
} // namespace Quorv
