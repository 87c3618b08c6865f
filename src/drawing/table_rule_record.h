// The record of a table's grid line: a line shape that is a child of the table's group.
#pragma once

#include "core/output_stream.h"

namespace Quorv {

// Writes the 172-byte OfficeArtSpContainer of a table rule from (x1, y1) to (x2, y2) in points,
// with spid 0x4D00 + shapeId. Its colour (scheme colour 1), width (0.75 pt) and style are
// fixed; the points are written as given, in the group's master units, without ordering them.
// A point that is infinite or NaN throws QvException QV_ERR_SHAPE_NOT_FINITE.
void writeTableRuleRecord(QvOutputStream& s, int shapeId, float x1, float y1, float x2, float y2);

} // namespace Quorv
