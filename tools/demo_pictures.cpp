// The picture slides of the sample deck.
#include "demo_deck.h"

namespace quorv_tool {

void addPictureSlides(Quorv::PPTDocument&) {}

} // namespace quorv_tool
