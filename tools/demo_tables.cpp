// The table slides of the sample deck.
#include "demo_deck.h"

namespace quorv_tool {

void addTableSlides(Quorv::PPTDocument&) {}

} // namespace quorv_tool
