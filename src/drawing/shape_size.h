// The size pass of a shape, derived from its write pass so that the two cannot disagree.
#pragma once

#include "quorv/shape.h"

namespace Quorv {

// The recLen of the one record shape.output(stream, false) writes on a slide (its size minus
// the 8-byte header), or 0 when it writes nothing. Runs the write pass against a counting stream.
int slideRecordLength(PPTShape& shape);

} // namespace Quorv
