// Decks of the picture interoperability tests.
#include "interop_decks.h"

using namespace Quorv;

namespace interop_decks {

void addPictureDecks(DeckMap&) {}

} // namespace interop_decks
