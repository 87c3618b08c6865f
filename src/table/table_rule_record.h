// The shape of a table's grid line: a line that is a child of the table's group.
#pragma once

#include "drawing/officeart_records.h"

namespace Quorv {

// The grid line from (x1, y1) to (x2, y2) in points, with spid 0x4D00 + shapeId. Its colour
// (scheme colour 1), width (0.75 pt) and style are fixed; the points are written as given, in
// the group's master units, without ordering them. A point that is infinite or NaN throws
// QvException QV_ERR_SHAPE_NOT_FINITE: a grid line is a line shape (PPTLine::output(stream, true)
// writes it too).
officeart::Shape tableRuleShape(int shapeId, float x1, float y1, float x2, float y2);

} // namespace Quorv
