// The decks of the interoperability tests, registered per feature family (decks_*.cpp).
#pragma once

#include <functional>
#include <map>
#include <string>

#include "quorv/quorv.h"

namespace interop_decks {

// Fills a document (and, when it attaches them, its properties) with one test deck.
using DeckBuilder = std::function<void(Quorv::PPTDocument&, Quorv::PPTProperties&)>;
using DeckMap = std::map<std::string, DeckBuilder>;

void addFoundationDecks(DeckMap& decks);
void addTextDecks(DeckMap& decks);
void addShapeDecks(DeckMap& decks);
void addPictureDecks(DeckMap& decks);
void addTableDecks(DeckMap& decks);
void addRobustnessDecks(DeckMap& decks);

} // namespace interop_decks
