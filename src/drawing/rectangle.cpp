#include "quorv/drawing.h"

#include "drawing/dash_mapping.h"
#include "drawing/shape_containers.h"
#include "quorv/exception.h"

namespace Quorv {

namespace {

officedrawing::RectangleShapeContainer slideRectangle(const PPTRectangle& rect, float right, float bottom) {
    officedrawing::RectangleShapeContainer c(static_cast<float>(rect.get_Left()), static_cast<float>(rect.get_Top()),
                                             right, bottom);
    c.SetShapeId(rect.get_ShapeId());
    c.SetLineColor(rect.get_LineColor());
    c.SetFillColor(rect.get_FillColor()); // also when not set: the component leaves it unfilled
    c.SetFillOpacity(rect.get_ShapeOpac());
    c.SetLineWidth(static_cast<float>(rect.get_LineSWidth()));
    c.SetLineDashing(dashingForLineStyle(rect.get_LineStyle()));
    return c;
}

} // namespace

PPTRectangle::PPTRectangle(float x, float y, float width, float height)
    : PPTShape(Length(x, 3), Length(y, 3), Length(x + width, 3), Length(y + height, 3)) {
    setObjType(OT_Rectangle);
}

PPTRectangle::PPTRectangle(const PPTRectangle& other) : PPTShape(other) { setObjType(OT_Rectangle); }

PPTRectangle::~PPTRectangle() = default;

Length PPTRectangle::get_Width() const noexcept {
    return Length(static_cast<float>(static_cast<double>(right) - static_cast<double>(left)), 3);
}

void PPTRectangle::set_Width(const Length& w) {
    if (w < 0.0f) throw makeException(QV_ERR_RECT_WIDTH, "set_Width");
    right = Length(static_cast<float>(static_cast<double>(left) + static_cast<double>(w)), 3);
}

Length PPTRectangle::get_Height() const noexcept {
    return Length(static_cast<float>(static_cast<double>(bottom) - static_cast<double>(top)), 3);
}

void PPTRectangle::set_Height(const Length& h) {
    if (h < 0.0f) throw makeException(QV_ERR_HEIGHT_OR_FILENAME, "set_Height");
    bottom = Length(static_cast<float>(static_cast<double>(top) + static_cast<double>(h)), 3);
}

int PPTRectangle::calSize(int*, bool onSlide) {
    if (!onSlide) return 0;
    officedrawing::RectangleShapeContainer c = slideRectangle(*this, right, bottom);
    c.Translate();
    return static_cast<int>(c.GetLength());
}

bool PPTRectangle::output(QvOutputStream& stream, bool flag) {
    if (!flag) slideRectangle(*this, right, bottom).Output(stream);
    return true;
}

bool PPTRectangle::outputPicture(QvOutputStream&) { return false; }

} // namespace Quorv
