// The dash style PPTLine, PPTRectangle and PPTPolyLine draw for a LineStyle.
#pragma once

#include "drawing/shape_containers.h"

namespace Quorv {

// LineStyle 1, 2 and 6..10 are drawn as the MSOLINEDASHING of the same number; the dash-dot
// styles 3, 4 and 5, "not set" (-1) and anything else are drawn solid.
inline officedrawing::MSOLINEDASHING dashingForLineStyle(int lineStyle) noexcept {
    switch (lineStyle) {
    case 1:
    case 2:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
        return static_cast<officedrawing::MSOLINEDASHING>(lineStyle);
    default:
        return officedrawing::msolineSolid;
    }
}

} // namespace Quorv
