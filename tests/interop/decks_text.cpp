// Decks of the text interoperability tests.
#include "interop_decks.h"

using namespace Quorv;

namespace interop_decks {

void addTextDecks(DeckMap&) {}

} // namespace interop_decks
