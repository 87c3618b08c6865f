// Metafile checks, the size of an enhanced metafile and metafile compression.
#include <gtest/gtest.h>

#include <memory>

#include <zlib.h>

#include "picture/metafile.h"
#include "support/bytes.h"
#include "support/picture_samples.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

picture::MemorySource source(const Bytes& b) { return picture::MemorySource(std::make_shared<const Bytes>(b)); }

Bytes inflateAll(const Bytes& compressed, std::size_t size) {
    Bytes out(size);
    uLongf n = static_cast<uLongf>(size);
    EXPECT_EQ(uncompress(out.data(), &n, compressed.data(), static_cast<uLong>(compressed.size())), Z_OK);
    out.resize(n);
    return out;
}

void putU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

TEST(Metafile, RecognisesTheSamplesAndNothingElse) {
    auto wmf = source(pictureBytes("sample.wmf"));
    auto emf = source(pictureBytes("sample.emf"));
    auto png = source(pictureBytes("sample.png"));
    EXPECT_TRUE(picture::isPlaceableWmf(wmf));
    EXPECT_FALSE(picture::isEnhancedMetafile(wmf));
    EXPECT_TRUE(picture::isEnhancedMetafile(emf));
    EXPECT_FALSE(picture::isPlaceableWmf(emf));
    EXPECT_FALSE(picture::isPlaceableWmf(png));

    Bytes badType = pictureBytes("sample.wmf");
    badType[22] = 3; // META_HEADER type must be 1 or 2
    auto bad = source(badType);
    EXPECT_FALSE(picture::isPlaceableWmf(bad));
    Bytes longHeader = pictureBytes("sample.emf");
    putU32(longHeader, 4, static_cast<std::uint32_t>(longHeader.size() + 1)); // header longer than the file
    auto tooLong = source(longHeader);
    EXPECT_FALSE(picture::isEnhancedMetafile(tooLong));
}

TEST(Metafile, EnhancedMetafileSizeComesFromItsBounds) {
    auto emf = source(pictureBytes("sample.emf"));
    picture::MetafileSize size = picture::enhancedMetafileSize(emf);
    EXPECT_EQ(size.width, 99); // rclBounds (0, 0, 99, 59); the frame (0, 0, 2619, 1561) plays no part
    EXPECT_EQ(size.height, 59);

    Bytes b = pictureBytes("sample.emf");
    putU32(b, 8, static_cast<std::uint32_t>(-50));  // left
    putU32(b, 12, 300);                               // top
    putU32(b, 16, 150);                               // right
    putU32(b, 20, 100);                               // bottom, above the top
    auto turned = source(b);
    size = picture::enhancedMetafileSize(turned);
    EXPECT_EQ(size.width, 200);
    EXPECT_EQ(size.height, 200);

    putU32(b, 8, 0x80000000u);
    putU32(b, 16, 0x7FFFFFFFu);
    auto extreme = source(b);
    EXPECT_EQ(picture::enhancedMetafileSize(extreme).width, 0x7FFFFFFF);
}

TEST(Metafile, CompressesInTheZlibFormatFromAnOffset) {
    Bytes wmf = pictureBytes("sample.wmf");
    auto src = source(wmf);
    bool complete = false;
    Bytes compressed = picture::deflateRange(src, 22, complete);
    EXPECT_TRUE(complete);
    ASSERT_GE(compressed.size(), 2u);
    EXPECT_EQ(compressed[0], 0x78); // deflate, 32 KiB window
    EXPECT_EQ(compressed[1], 0xDA); // level 9
    EXPECT_EQ(inflateAll(compressed, wmf.size()), Bytes(wmf.begin() + 22, wmf.end()));

    // Several blocks of input, and an empty range.
    Bytes big(3 * 1024 * 1024 + 17);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    auto bigSource = source(big);
    EXPECT_EQ(inflateAll(picture::deflateRange(bigSource, 0, complete), big.size()), big);
    Bytes none = picture::deflateRange(src, wmf.size(), complete);
    EXPECT_TRUE(inflateAll(none, 1).empty());
}
