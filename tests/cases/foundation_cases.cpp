// The public value types the rows do not reach: the input stream over memory, host streams and
// files, and the identifiers of picture records saved with the system's random source.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "cases/decks.h"
#include "support/picture_samples.h"

using namespace Quorv;
using namespace quorv_test;

// Memory, a host stream and a file read the same bytes, seek from the three origins and skip.
TEST(InputStream, MemoryHostStreamsAndFiles) {
    unsigned char bytes[] = {'a', 'b', 'c', 'd', 'e'};
    std::istringstream host("abcde");
    QvInputStream missing(std::string("/nonexistent/file"));
    EXPECT_EQ(missing.size(), -1);
    EXPECT_EQ(missing.read(), -1);
    for (QvInputStream in : {QvInputStream(bytes, 5), QvInputStream(host), QvInputStream(picturePath("sample.png"))}) {
        const bool png = in.size() != 5;
        EXPECT_EQ(in.size(), png ? 431 : 5);
        EXPECT_EQ(in.read(), png ? 0x89 : 'a');
        char buf[8] = {};
        EXPECT_EQ(in.read(buf, 1, 3), 3);
        EXPECT_EQ(std::string(buf + 1, 3), png ? "PNG" : "bcd");
        EXPECT_EQ(in.seek(-1, 2), 0);
        EXPECT_EQ(in.read(), png ? 0x82 : 'e');
        EXPECT_EQ(in.read(), -1);
        EXPECT_EQ(in.seek(1, 0), 0);
        EXPECT_EQ(in.skip(1), 0);
        EXPECT_EQ(in.seek(1, 1), 0);
        EXPECT_EQ(in.read(), png ? 'G' : 'd');
        EXPECT_EQ(in.seek(0, 3), 1);
    }
}

// Picture records saved with the system's source get random version 4 identifiers: the
// identifier's text shows the version, no two are alike, and every random digit varies (the
// first and last of Data1, the one after the version).
TEST(Identifiers, RandomVersionFour) {
    std::set<Bytes> seen;
    std::map<int, std::set<std::uint8_t>> digits;
    for (int i = 0; i < 8; ++i) {
        PPTDocument doc;
        doc.addSlides(720, 540)->addShape(PPTPtr<PPTShape>(new StreamPicture(0, 0, 10, 10, PPTPicture::IMAGE_PNG,
                                                                              pictureBytes("sample.png"))));
        const std::vector<unsigned char> file = doc.saveToMemory();
        std::vector<std::string> problems;
        const Bytes pictures = readCompoundFile(Bytes(file.begin(), file.end()), problems).at(u"Pictures");
        const Bytes uid = slice(pictures, 8, 16);
        EXPECT_EQ(uid[0], '{');
        EXPECT_EQ(uid[13], '4'); // {Data1 Data2 Data3: the version is Data3's first digit
        seen.insert(uid);
        for (int at : {1, 8, 14}) digits[at].insert(uid[at]);
    }
    EXPECT_EQ(seen.size(), 8u);
    for (const auto& [at, values] : digits) EXPECT_GT(values.size(), 1u) << "digit " << at;
}
