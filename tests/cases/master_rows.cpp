// The main master: the same 2,560 bytes in every file ([MS-PPT] 2.5.3 MainMasterContainer). The
// expected bytes (tests/data/expected/master.hex) are written from the layout of the master, not
// from the writer's tables.
#include <gtest/gtest.h>

#include "cases/decks.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const std::vector<unsigned> kMaster = {0x03F8};

std::vector<Expect> masterExpectations() {
    std::vector<Expect> e;
    for (const auto& [offset, bytes] : goldenSections("master")) e.push_back({kMaster, bytes, 0, std::stoul(offset)});
    // The body placeholder's 82 characters in five levels (83 with the closing mark).
    e.push_back({{0x03F8, 0x040C, 0xF002, 0xF003, 0xF004, 0xF00D, 0x0FA2},
                 "00 00 A2 0F 1E 00 00 00 21 00 00 00 00 00 0D 00 00 00 01 00 0C 00 00 00 02 00 0D 00 00 00 03 00"
                 "0C 00 00 00 04 00",
                 1});
    return e;
}

// The master is the same whatever the document holds.
TEST(Master, TheSameFixedBytesInEveryFile) {
    const Row plain{"master", slideWith([] { return std::vector<PPTPtr<PPTShape>>{}; }), masterExpectations()};
    runRow(plain);
    const Row other{"master_of_another_document", [](PPTDocument& doc, PPTProperties& props) {
                        doc.set_Width(100);
                        doc.get_FontNamesIndex(L"Other", 0);
                        for (int i = 0; i < 3; ++i) doc.addSlides(100, 100);
                        props.set_Title(L"x");
                    },
                    masterExpectations()};
    runRow(other);
    EXPECT_EQ(recordAt(saveDeck(plain.deck).at(u"PowerPoint Document"), kMaster, 0).size(), 2560u);
}

} // namespace
