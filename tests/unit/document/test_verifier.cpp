// The structural verifier finds what it is meant to find.
#include <gtest/gtest.h>

#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"
#include "support/verifier.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

StreamMap deckStreams(int slides) {
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    for (int i = 0; i < slides; ++i) doc.addSlides(720, 540);
    PPTProperties props;
    props.set_Title(L"t");
    doc.setProperties(&props, false);
    StreamMap out;
    for (auto& s : Quorv::detail::DocumentWriter::buildStreams(doc, fixedContext())) out[s.name] = s.bytes();
    return out;
}

} // namespace

TEST(Verifier, AcceptsWhatTheLibraryWrites) {
    for (int slides : {0, 1, 3}) {
        StreamMap streams = deckStreams(slides);
        EXPECT_EQ(describeProblems(verifyPresentation(streams)), "") << slides;
    }
    PPTDocument doc;
    doc.addSlides(720, 540);
    Bytes file = Quorv::detail::DocumentWriter::saveToBytes(doc, fixedContext());
    EXPECT_EQ(describeProblems(verifyPresentationFile(file)), "");
}

TEST(Verifier, FindsBrokenPointersAndLengths) {
    StreamMap streams = deckStreams(2);
    Bytes& doc = streams[u"PowerPoint Document"];
    std::vector<Record> top = parseRecords(doc, 0, doc.size());
    const Record& directory = top[top.size() - 2];

    StreamMap badOffset = streams;
    badOffset[u"PowerPoint Document"][directory.bodyOffset() + 12] ^= 0x01; // the first slide's offset
    EXPECT_NE(describeProblems(verifyPresentation(badOffset)).find("points inside a record"), std::string::npos);

    StreamMap badSeed = streams;
    badSeed[u"PowerPoint Document"][top.back().bodyOffset() + 20] = 1;
    EXPECT_NE(describeProblems(verifyPresentation(badSeed)).find("persistIdSeed"), std::string::npos);

    StreamMap badUser = streams;
    badUser[u"Current User"][16] ^= 0x04;
    EXPECT_NE(describeProblems(verifyPresentation(badUser)).find("UserEditAtom"), std::string::npos);

    StreamMap badLength = streams;
    badLength[u"PowerPoint Document"][4] ^= 0x10; // the document container's length
    EXPECT_FALSE(verifyPresentation(badLength).empty());

    // Two shapes of one drawing with one id: the slide's background takes its group's spid.
    StreamMap sameId = streams;
    Bytes& d = sameId[u"PowerPoint Document"];
    const Record& slide = top[2];
    auto fsps = slide.findAll(0xF00A);
    ASSERT_EQ(fsps.size(), 2u);
    d[fsps[1]->bodyOffset()] = d[fsps[0]->bodyOffset()];
    d[fsps[1]->bodyOffset() + 1] = d[fsps[0]->bodyOffset() + 1];
    EXPECT_NE(describeProblems(verifyPresentation(sameId)).find("twice in the drawing"), std::string::npos);
}

TEST(Verifier, FindsTextRunsThatDoNotCoverTheText) {
    // The master's body text: 82 bytes and runs over 83 characters.
    StreamMap streams = deckStreams(1);
    Bytes& doc = streams[u"PowerPoint Document"];
    std::vector<Record> top = parseRecords(doc, 0, doc.size());
    auto runs = top[1].findAll(0x0FA2);
    ASSERT_GE(runs.size(), 2u);
    doc[runs[1]->bodyOffset()] = 40; // the first run of the body: 33 -> 40
    EXPECT_NE(describeProblems(verifyPresentation(streams)).find("master text runs"), std::string::npos);
}
