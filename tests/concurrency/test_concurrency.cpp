// Several threads build and save their own documents at the same time; every file must be
// byte-identical to the same document saved alone. Run under ThreadSanitizer in CI.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "demo_deck.h"
#include "support/fixtures.h"
#include "support/picture_samples.h"

using namespace Quorv;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Build = std::function<void(PPTDocument&, PPTProperties&)>;

// The sample deck of quorv-ppt, whole and by feature family.
const std::vector<Build> kDecks = {
    quorv_tool::buildDemoDeck,
    [](PPTDocument& doc, PPTProperties&) { quorv_tool::addTextSlides(doc); },
    [](PPTDocument& doc, PPTProperties&) { quorv_tool::addShapeSlides(doc); },
    [](PPTDocument& doc, PPTProperties&) { quorv_tool::addPictureSlides(doc); },
    [](PPTDocument& doc, PPTProperties&) { quorv_tool::addTableSlides(doc); },
};

// The file of one deck; the fixed clock and identifier source make it reproducible.
Bytes saveDeck(const Build& build) {
    PPTDocument doc;
    PPTProperties props;
    build(doc, props);
    return Quorv::detail::DocumentWriter::saveToBytes(doc, quorv_test::fixedContext());
}

} // namespace

// Copies of a picture share the stream it reads: two documents holding them save at once.
TEST(Concurrency, CopiesOfAPictureSaveOnTwoThreads) {
    std::istringstream stream(quorv_test::asString(quorv_test::pngOfSize(100)));
    PPTPtr<PPTPicture> original(new PPTPicture(0, 0, 10, 10));
    original->setFileStream(PPTPicture::IMAGE_PNG, stream);
    PPTDocument docs[2];
    for (PPTDocument& doc : docs) doc.addSlides(720, 540)->addShape(PPTPtr<PPTPicture>(new PPTPicture(*original)));
    std::vector<unsigned char> files[2];
    std::thread other([&] { files[1] = docs[1].saveToMemory(); });
    files[0] = docs[0].saveToMemory();
    other.join();
    EXPECT_EQ(files[0].size(), files[1].size());
}

TEST(Concurrency, DocumentsSavedOnManyThreadsEqualTheSameSavedAlone) {
    std::vector<Bytes> alone;
    for (const Build& deck : kDecks) alone.push_back(saveDeck(deck));
    std::atomic<int> mismatches{0};
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < 4; ++t) {
        workers.emplace_back([&, t] {
            // Each thread takes the decks in its own rotation, so different decks overlap.
            for (std::size_t k = 0; k < 3 * kDecks.size(); ++k) {
                const std::size_t i = (k + t * 2) % kDecks.size();
                if (saveDeck(kDecks[i]) != alone[i]) ++mismatches;
            }
        });
    }
    for (auto& w : workers) w.join();
    EXPECT_EQ(mismatches.load(), 0);
}
