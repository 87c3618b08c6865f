#include "quorv/shape.h"

#include "quorv/exception.h"

namespace Quorv {

PPTShape::PPTShape(Length x1, Length y1, Length x2, Length y2)
    : top(y1), left(x1), right(x2), bottom(y2) {}

// A copy keeps the box and the attributes of the original, but its line width starts at 0.
PPTShape::PPTShape(const PPTShape& other)
    : ShapeRCObject(other), top(other.top), left(other.left), right(other.right),
      bottom(other.bottom), shapeNum_(other.shapeNum_), shapeId_(other.shapeId_),
      rotate_(other.rotate_), opacity_(other.opacity_), lineColor_(other.lineColor_),
      fillColor_(other.fillColor_), backColor_(other.backColor_), lineStyle_(other.lineStyle_),
      lineWidth_(0.0f) {}

PPTShape::~PPTShape() = default;

void PPTShape::set_ShapeOpac(int v) noexcept { opacity_ = v < 0 ? 0 : (v > 100 ? 100 : v); }

void PPTShape::set_LineColor(int c) noexcept {
    if (c != -1) lineColor_ = c;
}

void PPTShape::set_FillColor(int c) noexcept {
    if (c != -1) fillColor_ = c;
}

void PPTShape::set_BackColor(int c) noexcept {
    if (c != -1) backColor_ = c;
}

void PPTShape::set_LineStyle(int v) {
    if (v < -1 || v > 10) throw makeException(QV_ERR_LINE_STYLE, "set_LineStyle");
    lineStyle_ = v;
}

int PPTShape::GetShapeOpacity(int percent) const noexcept {
    if (percent <= 0) return 0;
    // 16.16 fixed point; computed in 64 bits so that no percentage can overflow.
    return static_cast<int>((static_cast<long long>(percent) * 65536) / 100);
}

} // namespace Quorv
