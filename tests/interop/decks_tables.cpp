// Decks of the table interoperability tests.
#include "interop_decks.h"

using namespace Quorv;

namespace interop_decks {

void addTableDecks(DeckMap&) {}

} // namespace interop_decks
