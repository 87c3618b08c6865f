// Lines, rectangles and polylines: PPTLine, PPTRectangle and PPTPolyLine.
//
// All three draw an outline in LineColor (not set: the text-and-lines colour of the colour
// scheme), LineWidth (clamped to 0..1584 points) and the dash style of LineStyle: 1, 2 and
// 6..10 as numbered in PPTShape, every other style (including the dash-dot styles 3, 4 and 5)
// solid. Rectangles and polylines are filled with FillColor at ShapeOpac percent opacity;
// without a FillColor they are not filled. A colour whose high byte is 0xFF, which the file
// format tells readers to ignore, counts as not set. Rotation and BackColor are not drawn.
//
// Coordinates are points on the slide. They are stored at 1/8 point, so a shape lies within
// 1/8 point of where it was put; a position more than about 4096 points from the slide's
// top-left corner is stored at that distance. Saving throws QvException
// QV_ERR_SHAPE_NOT_FINITE (15) for a coordinate or line width that is infinite or NaN.
#pragma once

#include <vector>

#include "quorv/export.h"
#include "quorv/length.h"
#include "quorv/shape.h"

namespace Quorv {

// A straight line from (x1, y1) to (x2, y2), in any direction.
class QUORV_EXPORT PPTLine : public PPTShape {
public:
    PPTLine(float x1, float y1, float x2, float y2);
    PPTLine(const PPTLine& other);
    ~PPTLine() override;

    int getType() const noexcept { return OT_Line; }

    const Length& get_X1() const noexcept { return left; }
    void set_X1(const Length& v) noexcept { left = v; }
    const Length& get_Y1() const noexcept { return top; }
    void set_Y1(const Length& v) noexcept { top = v; }
    const Length& get_X2() const noexcept { return right; }
    void set_X2(const Length& v) noexcept { right = v; }
    const Length& get_Y2() const noexcept { return bottom; }
    void set_Y2(const Length& v) noexcept { bottom = v; }

    // With true: the record length of the line on a slide. With false: 164, the record length
    // of the line as a table's grid line.
    int calSize(int* counter, bool onSlide) override;
    // With false: the line's record on a slide. With true: its record as a grid line of a
    // table (child of the table's group; fixed colour, width and style; spid 0x4D00 + ShapeId).
    bool output(QvOutputStream& stream, bool tableRule) override;
    // Writes nothing; returns false.
    bool outputPicture(QvOutputStream& stream) override;
};

// An axis-parallel rectangle with outline and fill.
class QUORV_EXPORT PPTRectangle : public PPTShape {
public:
    // Left, top, width and height in points.
    PPTRectangle(float left, float top, float width, float height);
    PPTRectangle(const PPTRectangle& other);
    ~PPTRectangle() override;

    int getType() const noexcept { return OT_Rectangle; }

    // Moving the left (top) edge keeps the right (bottom) edge where it is.
    const Length& get_Left() const noexcept { return left; }
    void set_Left(const Length& v) noexcept { left = v; }
    const Length& get_Top() const noexcept { return top; }
    void set_Top(const Length& v) noexcept { top = v; }
    Length get_Width() const noexcept;
    // Moves the right edge. A negative width throws QvException code 4 and changes nothing.
    void set_Width(const Length& w);
    Length get_Height() const noexcept;
    // Moves the bottom edge. A negative height throws QvException code 6 and changes nothing.
    void set_Height(const Length& h);

    // With true: the record length of the rectangle on a slide. With false: 0.
    int calSize(int* counter, bool onSlide) override;
    // With false: the rectangle's record on a slide. With true: nothing. Returns true.
    bool output(QvOutputStream& stream, bool flag) override;
    // Writes nothing; returns false.
    bool outputPicture(QvOutputStream& stream) override;
};

// A vertex of a polyline: x, then y, in points on the slide.
struct _Tpoint { // NOLINT: the name is part of the interface
    Length x;
    Length y;
};

// An open polyline or a closed polygon through vertices given in slide points. The vertices
// may lie outside the box; the shape's frame then grows to take them in.
class QUORV_EXPORT PPTPolyLine : public PPTShape {
public:
    // The box: left, top, width and height in points.
    PPTPolyLine(float left, float top, float width, float height);
    // The copy has the box and attributes of the original, but no points and PolyFlag false.
    PPTPolyLine(const PPTPolyLine& other);
    ~PPTPolyLine() override;

    int getType() const noexcept { return OT_PolyLine; }

    // Appends a copy of p.
    void addPoint(_Tpoint& p);
    // True: a closed polygon (the first point is joined to the last when they differ).
    // False: an open polyline, which a FillColor fills as if it were closed.
    void set_PolyFlag(bool closed) noexcept { polyFlag_ = closed; }

    // With true: the record length of the polyline on a slide, or 0 without points. With
    // false: 0. Throws QvException QV_ERR_TOO_MANY_POINTS (16) when the polyline needs more
    // vertices than a freeform holds: 65,534 open, 65,533 closed (counting the first point
    // repeated at the end).
    int calSize(int* counter, bool onSlide) override;
    // With false: the polyline's record on a slide (nothing without points). With true:
    // nothing. Returns true.
    bool output(QvOutputStream& stream, bool flag) override;
    // Writes nothing; returns false.
    bool outputPicture(QvOutputStream& stream) override;

private:
    std::vector<_Tpoint> points_;
    bool polyFlag_ = false;
};

} // namespace Quorv
