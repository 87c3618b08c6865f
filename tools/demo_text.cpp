// The text slides of the sample deck.
#include "demo_deck.h"

namespace quorv_tool {

void addTextSlides(Quorv::PPTDocument&) {}

} // namespace quorv_tool
