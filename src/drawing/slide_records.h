// The slide record: RT_Slide with its drawing ([MS-PPT] 2.5.1 SlideContainer).
#pragma once

#include <vector>

#include "core/output_stream.h"
#include "quorv/ref_counted.h"
#include "quorv/shape.h"

namespace Quorv {

// Writes the whole RT_Slide record for shapes already sorted and numbered.
void writeSlideRecord(QvOutputStream& s, const std::vector<PPTPtr<PPTShape>>& shapes);

} // namespace Quorv
