// The built-in sample deck written by `quorv-ppt demo`: one part per feature family.
#pragma once

#include "quorv/quorv.h"

namespace quorv_tool {

// Fills doc with the sample presentation; props must outlive the document's save.
void buildDemoDeck(Quorv::PPTDocument& doc, Quorv::PPTProperties& props);

// The slides of each feature family, appended to the deck (demo_*.cpp).
void addTextSlides(Quorv::PPTDocument& doc);
void addShapeSlides(Quorv::PPTDocument& doc);
void addPictureSlides(Quorv::PPTDocument& doc);
void addTableSlides(Quorv::PPTDocument& doc);

} // namespace quorv_tool
