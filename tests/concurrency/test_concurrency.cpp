// Several threads build and save their own documents at the same time; every file must be
// byte-identical to the same document saved alone. Run under ThreadSanitizer in CI.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "interop_decks.h"
#include "support/fixtures.h"

using namespace Quorv;

namespace {

using Bytes = std::vector<std::uint8_t>;

interop_decks::DeckMap allDecks() {
    interop_decks::DeckMap decks;
    interop_decks::addFoundationDecks(decks);
    interop_decks::addTextDecks(decks);
    interop_decks::addShapeDecks(decks);
    interop_decks::addPictureDecks(decks);
    interop_decks::addTableDecks(decks);
    interop_decks::addRobustnessDecks(decks);
    return decks;
}

// The file of one deck; the fixed clock and identifier source make it reproducible.
Bytes saveDeck(const interop_decks::DeckBuilder& build) {
    PPTDocument doc;
    PPTProperties props;
    build(doc, props);
    return Quorv::detail::DocumentWriter::saveToBytes(doc, quorv_test::fixedContext());
}

} // namespace

TEST(Concurrency, DocumentsSavedOnManyThreadsEqualTheSameSavedAlone) {
    const interop_decks::DeckMap decks = allDecks();
    ASSERT_FALSE(decks.empty());
    std::map<std::string, Bytes> alone;
    for (const auto& deck : decks) alone[deck.first] = saveDeck(deck.second);

    const int threads = 4;
    std::vector<std::string> names;
    for (const auto& deck : decks) names.push_back(deck.first);
    std::atomic<int> mismatches{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            // Each thread takes the decks in its own rotation, so different decks overlap.
            for (std::size_t k = 0; k < names.size(); ++k) {
                const std::string& name = names[(k + static_cast<std::size_t>(t) * 3) % names.size()];
                if (saveDeck(decks.at(name)) != alone.at(name)) ++mismatches;
            }
        });
    }
    for (auto& w : workers) w.join();
    EXPECT_EQ(mismatches.load(), 0);
}
