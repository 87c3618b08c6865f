#include "quorv/drawing.h"

#include "drawing/dash_mapping.h"
#include "drawing/shape_containers.h"

namespace Quorv {

namespace {

// A point relative to the box's corner: the difference taken in double, narrowed to float.
float relative(const Length& v, const Length& origin) {
    return static_cast<float>(static_cast<double>(v) - static_cast<double>(origin));
}

} // namespace

PPTPolyLine::PPTPolyLine(float x, float y, float width, float height)
    : PPTShape(Length(x, 3), Length(y, 3), Length(x + width, 3), Length(y + height, 3)) {
    setObjType(OT_PolyLine);
}

// The points and the flag are not copied.
PPTPolyLine::PPTPolyLine(const PPTPolyLine& other) : PPTShape(other) { setObjType(OT_PolyLine); }

PPTPolyLine::~PPTPolyLine() = default;

void PPTPolyLine::addPoint(_Tpoint& p) { points_.push_back(p); }

namespace {

officedrawing::PolyLineShapeContainer slidePolyLine(const PPTPolyLine& poly, const std::vector<_Tpoint>& points,
                                                    bool closed, const Length& left, const Length& top,
                                                    const Length& right, const Length& bottom) {
    officedrawing::PolyLineShapeContainer c(static_cast<float>(left), static_cast<float>(top),
                                            static_cast<float>(right), static_cast<float>(bottom));
    c.SetShapeId(poly.get_ShapeId());
    officedrawing::Point point;
    for (const _Tpoint& p : points) {
        point.x = relative(p.x, left);
        point.y = relative(p.y, top);
        c.AddPoint(point);
    }
    // A polygon is closed by repeating its first point, unless the last point already is the
    // first (NaN counts as different; the component refuses it anyway).
    const _Tpoint& first = points.front();
    const _Tpoint& last = points.back();
    if (closed && (static_cast<float>(first.x) != static_cast<float>(last.x) ||
                   static_cast<float>(first.y) != static_cast<float>(last.y))) {
        point.x = relative(first.x, left);
        point.y = relative(first.y, top);
        c.AddPoint(point);
    }
    c.SetLineColor(poly.get_LineColor());
    c.SetLineWidth(static_cast<float>(poly.get_LineSWidth()));
    if (poly.get_FillColor() != -1) c.SetFillColor(poly.get_FillColor());
    c.SetFillOpacity(poly.get_ShapeOpac());
    c.SetLineDashing(dashingForLineStyle(poly.get_LineStyle()));
    return c;
}

} // namespace

int PPTPolyLine::calSize(int*, bool onSlide) {
    if (!onSlide || points_.empty()) return 0;
    officedrawing::PolyLineShapeContainer c = slidePolyLine(*this, points_, polyFlag_, left, top, right, bottom);
    c.Translate();
    return static_cast<int>(c.GetLength());
}

bool PPTPolyLine::output(QvOutputStream& stream, bool flag) {
    if (!flag && !points_.empty()) {
        slidePolyLine(*this, points_, polyFlag_, left, top, right, bottom).Output(stream);
    }
    return true;
}

bool PPTPolyLine::outputPicture(QvOutputStream&) { return false; }

} // namespace Quorv
