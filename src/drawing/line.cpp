#include "quorv/drawing.h"

#include "core/record.h"
#include "drawing/dash_mapping.h"
#include "drawing/shape_containers.h"
// The one include of a higher layer (docs/architecture.md): output(stream, true) writes a table's
// grid line.
#include "table/table_rule_record.h"

namespace Quorv {

namespace {

// The line as the shape-container component draws it on a slide.
officedrawing::LineShapeContainer slideLine(const PPTLine& line) {
    officedrawing::LineShapeContainer c(static_cast<float>(line.get_X1()), static_cast<float>(line.get_Y1()),
                                        static_cast<float>(line.get_X2()), static_cast<float>(line.get_Y2()));
    c.SetShapeId(line.get_ShapeId());
    c.SetLineColor(line.get_LineColor());
    c.SetLineWidth(static_cast<float>(line.get_LineSWidth()));
    c.SetLineDashing(dashingForLineStyle(line.get_LineStyle()));
    return c;
}

} // namespace

PPTLine::PPTLine(float x1, float y1, float x2, float y2)
    : PPTShape(Length(x1, 3), Length(y1, 3), Length(x2, 3), Length(y2, 3)) {
    setObjType(OT_Line);
}

PPTLine::PPTLine(const PPTLine& other) : PPTShape(other) { setObjType(OT_Line); }

PPTLine::~PPTLine() = default;

int PPTLine::calSize(int*, bool onSlide) {
    if (onSlide) {
        officedrawing::LineShapeContainer c = slideLine(*this);
        c.Translate();
        return static_cast<int>(c.GetLength());
    }
    // The table-rule record, measured. Its size does not depend on the points, so a rule at the
    // origin is measured: the length is known for any line, even one whose points cannot be
    // written (writing it throws).
    const officeart::Shape rule = tableRuleShape(get_ShapeId(), 0.0f, 0.0f, 0.0f, 0.0f);
    return static_cast<int>(recordLength([&](QvOutputStream& o) { officeart::writeShape(o, rule); }));
}

bool PPTLine::output(QvOutputStream& stream, bool tableRule) {
    if (tableRule) {
        officeart::writeShape(stream, tableRuleShape(get_ShapeId(), get_X1(), get_Y1(), get_X2(), get_Y2()));
    } else {
        slideLine(*this).Output(stream);
    }
    return true;
}

bool PPTLine::outputPicture(QvOutputStream&) { return false; }

} // namespace Quorv
