// The shape slides of the sample deck.
#include "demo_deck.h"

namespace quorv_tool {

void addShapeSlides(Quorv::PPTDocument&) {}

} // namespace quorv_tool
