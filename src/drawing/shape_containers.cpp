#include "drawing/shape_containers.h"

#include <algorithm>
#include <string>

#include "core/record.h"
#include "core/units.h"
#include "quorv/exception.h"

namespace Quorv {
namespace officedrawing {

using officeart::PropertyId;
using officeart::PropertyTable;

namespace {

// The fill booleans are always written, because the drawing group's defaults (the document
// container) fill every shape.
using officeart::kFilled;
using officeart::kLineDrawn;
using officeart::kNotFilled;

// MSOSHAPEPATH ([MS-ODRAW] 2.4.9).
constexpr std::uint32_t kShapePathLines = 0;       // msoshapeLines: an open path
constexpr std::uint32_t kShapePathLinesClosed = 1; // msoshapeLinesClosed

// MSOPATHINFO entries ([MS-ODRAW] 2.2.53): the path type in bits 13-15, a segment count in
// bits 0-12. Each lineTo entry names one segment: readers that count vertices per entry
// rather than per segment then still find the right vertex.
constexpr std::uint16_t kMoveTo = 0x4000; // msopathMoveTo, one vertex
constexpr std::uint16_t kLineTo = 0x0001; // msopathLineTo, one segment, one vertex
constexpr std::uint16_t kClose = 0x6001;  // msopathClose, one segment, no vertex
constexpr std::uint16_t kEnd = 0x8000;    // msopathEnd

// IMsoArray cbElem ([MS-ODRAW] 2.2.51) of vertex arrays: 0xFFF0 stores each POINT as two s16.
constexpr std::uint16_t kShortPoints = 0xFFF0;
constexpr std::uint16_t kLongPoints = 8;

// -1 means "not set"; so does any colour with a high byte of 0xFF, which readers must ignore.
bool notSet(int color) noexcept { return (static_cast<std::uint32_t>(color) >> 24) == 0xFF; }

int clampPercent(int percent) noexcept { return percent < 0 ? 0 : (percent > 100 ? 100 : percent); }

// A shape's anchor on the slide: checked, in master units (code 15 naming what).
std::int16_t anchorUnits(double points, const char* what) {
    return units::checkedAnchorUnits(points, QV_ERR_SHAPE_NOT_FINITE, what);
}

// The client anchor of the box two corners span, whatever their order.
officeart::ClientAnchor spannedBy(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
    return {std::min(y1, y2), std::min(x1, x2), std::max(x1, x2), std::max(y1, y2)};
}

} // namespace

// ---- CommonShape --------------------------------------------------------------------------

CommonShape::~CommonShape() = default;

void CommonShape::SetShapeId(int id) {
    spid_ = 0x800u + static_cast<std::uint32_t>(id);
    changed();
}

void CommonShape::SetLineColor(int color) {
    lineColor_ = color;
    changed();
}

void CommonShape::SetLineWidth(Length width) {
    lineWidth_ = width;
    changed();
}

void CommonShape::SetLineDashing(MSOLINEDASHING dashing) {
    dashing_ = dashing;
    changed();
}

void CommonShape::Translate() { translated_ = complete(translate()); }

CommonShape::Record CommonShape::complete(Record r) const {
    r.spid = spid_;
    r.flags |= officeart::kHaveAnchor | officeart::kHaveShapeType;
    return r;
}

unsigned CommonShape::GetLength() const {
    return static_cast<unsigned>(recordLength([this](QvOutputStream& o) { Output(o); }));
}

bool CommonShape::Output(QvOutputStream& stream) const {
    if (translated_) {
        officeart::writeShape(stream, *translated_);
    } else {
        officeart::writeShape(stream, complete(translate()));
    }
    return true;
}

void CommonShape::addLineProperties(PropertyTable& properties) const {
    properties.add(PropertyId::LineColor, notSet(lineColor_) ? officeart::schemeColor(1)
                                                             : static_cast<std::uint32_t>(lineColor_));
    properties.add(PropertyId::LineWidth, units::checkedLineWidthEmu(lineWidth_.points(), QV_ERR_SHAPE_NOT_FINITE, "line width"));
    if (dashing_ != msolineSolid) properties.add(PropertyId::LineDashing, dashing_);
    properties.add(PropertyId::LineStyleBooleans, kLineDrawn);
}

void CommonShape::addFillProperties(PropertyTable& properties, int color, int opacityPercent) {
    if (notSet(color)) {
        properties.add(PropertyId::FillStyleBooleans, kNotFilled);
        return;
    }
    properties.add(PropertyId::FillColor, static_cast<std::uint32_t>(color));
    if (opacityPercent < 100) {
        // 16.16 fixed point ([MS-OSHARED] 2.2.1.6 FixedPoint), 100 % being 0x00010000.
        properties.add(PropertyId::FillOpacity, static_cast<std::uint32_t>(opacityPercent) * 65536u / 100u);
    }
    properties.add(PropertyId::FillStyleBooleans, kFilled);
}

// ---- LineShapeContainer -------------------------------------------------------------------

LineShapeContainer::LineShapeContainer(Length x1, Length y1, Length x2, Length y2)
    : x1_(x1), y1_(y1), x2_(x2), y2_(y2) {}

LineShapeContainer::~LineShapeContainer() = default;

CommonShape::Record LineShapeContainer::translate() const {
    const char* what = "line end point";
    std::int16_t x1 = anchorUnits(x1_.points(), what);
    std::int16_t y1 = anchorUnits(y1_.points(), what);
    std::int16_t x2 = anchorUnits(x2_.points(), what);
    std::int16_t y2 = anchorUnits(y2_.points(), what);

    Record r;
    r.type = officeart::ShapeType::Line;
    // Without flips the line joins the top-left and bottom-right corners of its box; a flip
    // mirrors it, so that it starts at the right edge (fFlipH) or at the bottom (fFlipV).
    if (x1 > x2) r.flags |= officeart::kFlipH;
    if (y1 > y2) r.flags |= officeart::kFlipV;
    r.anchor = spannedBy(x1, y1, x2, y2);
    // A line has no area; saying so keeps the drawing group's default fill off it.
    r.properties.add(PropertyId::FillStyleBooleans, kNotFilled);
    addLineProperties(r.properties);
    return r;
}

// ---- RectangleShapeContainer --------------------------------------------------------------

RectangleShapeContainer::RectangleShapeContainer(Length left, Length top, Length right, Length bottom)
    : left_(left), top_(top), right_(right), bottom_(bottom) {}

RectangleShapeContainer::~RectangleShapeContainer() = default;

void RectangleShapeContainer::SetFillColor(int color) {
    fillColor_ = color;
    changed();
}

void RectangleShapeContainer::SetFillOpacity(int percent) {
    opacity_ = clampPercent(percent);
    changed();
}

CommonShape::Record RectangleShapeContainer::translate() const {
    const char* what = "rectangle edge";
    std::int16_t l = anchorUnits(left_.points(), what);
    std::int16_t t = anchorUnits(top_.points(), what);
    std::int16_t r = anchorUnits(right_.points(), what);
    std::int16_t b = anchorUnits(bottom_.points(), what);

    Record rec;
    rec.type = officeart::ShapeType::Rectangle;
    // A box given right to left or bottom to top is the same rectangle.
    rec.anchor = spannedBy(l, t, r, b);
    addFillProperties(rec.properties, fillColor_, opacity_);
    addLineProperties(rec.properties);
    return rec;
}

// ---- PolyLineShapeContainer ---------------------------------------------------------------

PolyLineShapeContainer::PolyLineShapeContainer(Length left, Length top, Length right, Length bottom)
    : left_(left), top_(top), right_(right), bottom_(bottom) {}

PolyLineShapeContainer::~PolyLineShapeContainer() = default;

void PolyLineShapeContainer::AddPoint(const Point& p) {
    points_.push_back(p);
    changed();
}

void PolyLineShapeContainer::SetFillColor(int color) {
    fillColor_ = color;
    changed();
}

void PolyLineShapeContainer::SetFillOpacity(int percent) {
    opacity_ = clampPercent(percent);
    changed();
}

bool PolyLineShapeContainer::closed() const noexcept {
    return points_.size() >= 3 && points_.front().x.points() == points_.back().x.points() &&
           points_.front().y.points() == points_.back().y.points();
}

CommonShape::Record PolyLineShapeContainer::translate() const {
    const bool isClosed = closed();
    const std::size_t n = points_.size();
    if (n > (isClosed ? kMaxClosedVertices : kMaxOpenVertices)) {
        throw makeException(QV_ERR_TOO_MANY_POINTS, std::to_string(n) + " points");
    }

    const char* boxWhat = "polyline box";
    const char* pointWhat = "polyline point";
    const double left = left_.points();
    const double top = top_.points();
    for (double edge : {left, top, static_cast<double>(right_.points()), static_cast<double>(bottom_.points())}) {
        units::requireFinite(edge, QV_ERR_SHAPE_NOT_FINITE, boxWhat);
    }

    // Every vertex in slide master units, measured from the slide like the anchor.
    std::vector<std::int16_t> xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = points_[i].x.points();
        const double y = points_[i].y.points();
        units::requireFinite(x, QV_ERR_SHAPE_NOT_FINITE, pointWhat);
        units::requireFinite(y, QV_ERR_SHAPE_NOT_FINITE, pointWhat);
        xs[i] = anchorUnits(left + x, pointWhat);
        ys[i] = anchorUnits(top + y, pointWhat);
    }

    // The anchor is the vertices' bounding box: the geometry then fills it exactly, which is how
    // PowerPoint frames a freeform, and readers that map the path's own bounds onto the anchor
    // (rather than the geometry space) still put every vertex in its place. The box given to the
    // constructor only serves as the origin of the vertices.
    officeart::ClientAnchor a;
    if (n > 0) {
        a.left = *std::min_element(xs.begin(), xs.end());
        a.right = *std::max_element(xs.begin(), xs.end());
        a.top = *std::min_element(ys.begin(), ys.end());
        a.bottom = *std::max_element(ys.begin(), ys.end());
    } else {
        a.left = a.right = anchorUnits(left, boxWhat);
        a.top = a.bottom = anchorUnits(top, boxWhat);
    }
    Record r;
    r.type = officeart::ShapeType::NotPrimitive;
    r.anchor = a;

    // The geometry space is the anchor in master units, from (0, 0). A degenerate side is
    // given a length of 1 so that readers have something to scale by; all vertices are at 0 on it.
    const std::int32_t geoWidth = std::max<std::int32_t>(1, a.right - a.left);
    const std::int32_t geoHeight = std::max<std::int32_t>(1, a.bottom - a.top);

    // Vertices from the anchor's top-left corner: 0 .. 65535, two s16 each when they fit. Both
    // arrays allocate exactly the elements they hold.
    const bool fitsShort = geoWidth <= INT16_MAX && geoHeight <= INT16_MAX;
    r.properties.add(PropertyId::GeoRight, static_cast<std::uint32_t>(geoWidth));
    r.properties.add(PropertyId::GeoBottom, static_cast<std::uint32_t>(geoHeight));
    // Written even for an open path: a reader that misses it takes the default, linesClosed.
    r.properties.add(PropertyId::ShapePath, isClosed ? kShapePathLinesClosed : kShapePathLines);
    std::uint8_t* v = officeart::putArrayHeader(
        r.properties.addArrayCountingElementsOnly(PropertyId::Vertices, 6 + n * (fitsShort ? 4 : 8)), n, n,
        fitsShort ? kShortPoints : kLongPoints);
    for (std::size_t i = 0; i < n; ++i) {
        const auto vx = static_cast<std::uint32_t>(xs[i] - a.left);
        const auto vy = static_cast<std::uint32_t>(ys[i] - a.top);
        if (fitsShort) {
            detail::putU16(v, static_cast<std::uint16_t>(vx));
            detail::putU16(v + 2, static_cast<std::uint16_t>(vy));
            v += 4;
        } else {
            detail::putU32(v, vx);
            detail::putU32(v + 4, vy);
            v += 8;
        }
    }

    // moveTo, one lineTo per further vertex, close for a polygon, end.
    const std::size_t segmentCount = n == 0 ? 1 : n + 1 + (isClosed ? 1 : 0);
    std::uint8_t* seg = officeart::putArrayHeader(
        r.properties.addComplex(PropertyId::SegmentInfo, 6 + 2 * segmentCount), segmentCount, segmentCount, 2);
    auto segment = [&seg](std::uint16_t s) {
        detail::putU16(seg, s);
        seg += 2;
    };
    if (n > 0) {
        segment(kMoveTo);
        for (std::size_t i = 1; i < n; ++i) segment(kLineTo);
        if (isClosed) segment(kClose);
    }
    segment(kEnd);
    addFillProperties(r.properties, fillColor_, opacity_);
    addLineProperties(r.properties);
    return r;
}

} // namespace officedrawing
} // namespace Quorv
