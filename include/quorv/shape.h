// PPTShape: the base of everything that sits on a slide, and of the slide itself.
#pragma once

#include "quorv/export.h"
#include "quorv/length.h"
#include "quorv/ref_counted.h"

namespace Quorv {

// The in-memory record stream into which shapes write their records. It is internal to the
// library; hosts only see it in the signatures of the virtual operations below.
class QvOutputStream;

// Colours are 32-bit OfficeArt colour values: red in bits 0-7, green 8-15, blue 16-23 and a
// flags byte in bits 24-31 (0 for a plain RGB colour). -1 means "not set".
//
// Line styles are -1 (not set) or the OfficeArt dash styles 0..10 (MSOLINEDASHING):
// 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 dot (GEL), 6 dash (GEL),
// 7 long dash, 8 dash-dot (GEL), 9 long dash-dot, 10 long dash-dot-dot.
class QUORV_EXPORT PPTShape : public ShapeRCObject {
public:
    // The box's first corner (x1, y1) and second corner (x2, y2), in points.
    PPTShape(Length x1, Length y1, Length x2, Length y2);
    // Copies the box only; the copy's line width is 0 and its other attributes are the defaults.
    PPTShape(const PPTShape& other);
    ~PPTShape() override;

    // Size pass. With true: the record length (size minus the 8-byte header) of the one record
    // that output(stream, false) writes for this shape on a slide, or 0 when it writes nothing.
    // With false: what the concrete class defines (see its header).
    virtual int calSize(int* counter, bool flag) = 0;
    // Write pass. With false: the shape's record on a slide. With true: what the concrete class
    // defines. Returns true unless the class says otherwise.
    virtual bool output(QvOutputStream& stream, bool flag) = 0;
    // Writes picture data into the "Pictures" stream; only pictures and slides write anything.
    virtual bool outputPicture(QvOutputStream& stream) = 0;

    int get_ShapeNum() const noexcept { return shapeNum_; }
    // The z-order key: a slide writes its shapes in ascending order of ShapeNum.
    void set_ShapeNum(int v) noexcept { shapeNum_ = v; }
    int get_ShapeId() const noexcept { return shapeId_; }
    void set_ShapeId(int v) noexcept { shapeId_ = v; }
    int get_Srotate() const noexcept { return rotate_; }
    // Stores v % 360 (the remainder keeps the sign of v).
    void set_Srotate(int v) noexcept { rotate_ = v % 360; }
    int get_ShapeOpac() const noexcept { return opacity_; }
    // Stores the opacity in percent, clamped into 0..100.
    void set_ShapeOpac(int v) noexcept;
    int get_LineColor() const noexcept { return lineColor_; }
    void set_LineColor(int c) noexcept;
    int get_FillColor() const noexcept { return fillColor_; }
    void set_FillColor(int c) noexcept;
    int get_BackColor() const noexcept { return backColor_; }
    void set_BackColor(int c) noexcept;
    int get_LineStyle() const noexcept { return lineStyle_; }
    // Accepts -1..10; any other value throws QvException code 3 and changes nothing.
    void set_LineStyle(int v);
    Length get_LineSWidth() const noexcept { return lineWidth_; }
    void set_LineWidth(float points) noexcept { lineWidth_ = Length(points); }

    // An opacity in percent as a 16.16 fixed-point fraction (100 gives 0x10000); negative gives 0.
    int GetShapeOpacity(int percent) const noexcept;

protected:
    Length top;
    Length left;
    Length right;
    Length bottom;

private:
    int shapeNum_ = 0;
    int shapeId_ = 0;
    int rotate_ = 0;
    int opacity_ = 100;
    int lineColor_ = -1;
    int fillColor_ = -1;
    int backColor_ = -1;
    int lineStyle_ = -1;
    Length lineWidth_{0.75f};
};

} // namespace Quorv
