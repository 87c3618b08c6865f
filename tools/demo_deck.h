// The built-in sample deck written by `quorv-ppt demo`.
#pragma once

#include "quorv/quorv.h"

namespace quorv_tool {

// Fills doc with the sample presentation; props must outlive the document's save.
void buildDemoDeck(Quorv::PPTDocument& doc, Quorv::PPTProperties& props);

} // namespace quorv_tool
