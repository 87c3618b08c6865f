// The image loader and the choice of record for a picture's bytes.
#include <gtest/gtest.h>

#include <memory>

#include "picture/image_codec.h"
#include "picture/picture_data.h"
#include "support/bytes.h"
#include "support/picture_samples.h"

using namespace Quorv;
using namespace Quorv::imaging;
using namespace quorv_test;

namespace {

picture::MemorySource source(const Bytes& b) {
    return picture::MemorySource(std::make_shared<const Bytes>(b));
}

// Checks that an image shows the samples' 16 x 12 pixels; transparentCorner: the top-left 2 x 2
// pixels have alpha 0.
void expectSamplePixels(const RasterImage& image, bool transparentCorner) {
    ASSERT_EQ(image.width(), 16);
    ASSERT_EQ(image.height(), 12);
    const int n = image.channels();
    ASSERT_EQ(n, transparentCorner ? 4 : 3); // an opaque alpha channel is dropped
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint8_t* p = image.pixels().data() + (static_cast<std::size_t>(y) * 16 + static_cast<std::size_t>(x)) * n;
            if (transparentCorner && x < 2 && y < 2) {
                EXPECT_EQ(p[3], 0);
                continue;
            }
            Rgb want = samplePixel(x, y);
            ASSERT_EQ((std::vector<int>{p[0], p[1], p[2]}), (std::vector<int>{want.r, want.g, want.b}))
                << "pixel " << x << "," << y;
            if (n == 4) EXPECT_EQ(p[3], 255);
        }
    }
}

} // namespace

TEST(ImageCodec, TellsFormatsBySignature) {
    struct Case {
        std::string head;
        ImageFormat format;
    };
    std::string emf(44, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    std::string bmp = "BM" + std::string(12, '\0') + std::string("\x28\0\0\0", 4);
    std::string bmpBadHeader = "BM" + std::string(12, '\0') + std::string("\x29\0\0\0", 4);
    const Case cases[] = {
        {"\x89PNG\r\n\x1A\n", ImageFormat::Png},
        {"\x89PNG\r\n", ImageFormat::Unknown},
        {"\xFF\xD8\xFF\xE1", ImageFormat::Jpeg},
        {"\xD7\xCD\xC6\x9A", ImageFormat::Wmf},
        {emf, ImageFormat::Emf},
        {emf.substr(0, 43), ImageFormat::Unknown},
        {"GIF87a", ImageFormat::Gif},
        {"GIF89a", ImageFormat::Gif},
        {std::string("II*\0", 4), ImageFormat::Tiff},
        {std::string("MM\0*", 4), ImageFormat::Tiff},
        {bmp, ImageFormat::Bmp},
        {bmpBadHeader, ImageFormat::Unknown},
        {"BM", ImageFormat::Unknown},
        {"", ImageFormat::Unknown},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sniffFormat(reinterpret_cast<const std::uint8_t*>(c.head.data()), c.head.size()), c.format)
            << c.head.size() << " bytes";
    }
}

TEST(ImageCodec, DecodesEveryRasterSampleToItsPixels) {
    for (const char* name : {"sample.png", "sample.bmp", "sample.tif", "sample.gif"}) {
        SCOPED_TRACE(name);
        auto src = source(pictureBytes(name));
        ASSERT_TRUE(RasterImage::probe(src));
        std::optional<RasterImage> image = RasterImage::load(src);
        ASSERT_TRUE(image);
        expectSamplePixels(*image, std::string(name) == "sample.gif");
    }
    auto jpeg = source(pictureBytes("sample.jpg"));
    std::optional<RasterImage> image = RasterImage::load(jpeg);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 16);
    EXPECT_EQ(image->height(), 12);
}

TEST(ImageCodec, WritesPngOfTheSamePixels) {
    for (const char* name : {"sample.bmp", "sample.gif", "sample.tif"}) {
        SCOPED_TRACE(name);
        auto src = source(pictureBytes(name));
        std::optional<RasterImage> image = RasterImage::load(src);
        ASSERT_TRUE(image);
        Bytes png;
        ASSERT_TRUE(image->writePng(png));
        auto back = source(png);
        EXPECT_TRUE(imaging::isCompletePng(back));
        std::optional<RasterImage> decoded = RasterImage::load(back);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->channels(), image->channels());
        EXPECT_EQ(decoded->pixels(), image->pixels());
    }
    // Grey, and grey with alpha.
    RasterImage grey(3, 2, 1, {0, 50, 100, 150, 200, 250});
    RasterImage greyAlpha(2, 1, 2, {10, 0, 20, 128});
    for (const RasterImage* image : {&grey, &greyAlpha}) {
        Bytes png;
        ASSERT_TRUE(image->writePng(png));
        auto back = source(png);
        std::optional<RasterImage> decoded = RasterImage::load(back);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->pixels(), image->pixels());
    }
}

TEST(ImageCodec, RefusesDamagedImages) {
    for (const char* name : {"sample.bmp", "sample.gif", "sample.tif", "sample.jpg", "sample.png"}) {
        SCOPED_TRACE(name);
        Bytes whole = pictureBytes(name);
        for (std::size_t keep : {std::size_t{10}, whole.size() / 3, whole.size() * 2 / 3, whole.size() - 8}) {
            auto src = source(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep)));
            EXPECT_FALSE(RasterImage::load(src)) << keep << " bytes";
        }
    }
    // BMPs whose header claims 100,000 x 100,000 pixels (more than the codec decodes) and
    // 4,000 x 4,000 pixels (far more than 630 bytes can hold) are refused before decoding.
    for (std::uint32_t side : {100000u, 4000u}) {
        Bytes bmp = pictureBytes("sample.bmp");
        for (std::size_t at : {std::size_t{18}, std::size_t{22}}) {
            for (int i = 0; i < 4; ++i) bmp[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(side >> (8 * i));
        }
        auto huge = source(bmp);
        EXPECT_FALSE(RasterImage::probe(huge)) << side;
        EXPECT_FALSE(RasterImage::load(huge)) << side;
    }
}

TEST(ImageCodec, RefusesATiffWhoseStripRunsPastTheEnd) {
    Bytes tiff = pictureBytes("sample.tif");
    const std::uint32_t ifd = readU32(tiff, 4);
    bool patched = false;
    for (std::uint32_t i = 0; i < readU16(tiff, ifd); ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        if (readU16(tiff, entry) != 273) continue; // StripOffsets: move the strip near the end
        const std::uint32_t offset = static_cast<std::uint32_t>(tiff.size() - 100);
        for (int k = 0; k < 4; ++k) tiff[entry + 8 + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(offset >> (8 * k));
        patched = true;
    }
    ASSERT_TRUE(patched);
    auto src = source(tiff);
    EXPECT_TRUE(RasterImage::probe(src)); // the header is fine
    EXPECT_FALSE(RasterImage::load(src));
}

TEST(ImageCodec, APngIsCompleteOnlyUpToItsEnd) {
    Bytes png = pngOfSize(200);
    auto whole = source(png);
    EXPECT_TRUE(imaging::isCompletePng(whole));
    for (std::size_t cut : {std::size_t{8}, std::size_t{40}, png.size() - 1}) {
        auto src = source(Bytes(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(cut)));
        EXPECT_FALSE(imaging::isCompletePng(src)) << cut;
    }
    Bytes noData = pngOfSize(200);
    noData[8 + 25 + 4] = 'X'; // IDAT becomes XDAT
    auto src = source(noData);
    EXPECT_FALSE(imaging::isCompletePng(src));
    Bytes trailing = png;
    trailing.insert(trailing.end(), 5, 0);
    auto withTrailing = source(trailing);
    EXPECT_TRUE(imaging::isCompletePng(withTrailing));
}

TEST(ImageCodec, AJpegHeaderIsWellFormedUpToItsScan) {
    const Bytes jpeg = pictureBytes("sample.jpg");
    auto whole = source(jpeg);
    EXPECT_TRUE(isWellFormedJpeg(whole));
    // The scan's data begin at 0x26F in the sample: a file cut after that has a complete header.
    auto cutInScan = source(Bytes(jpeg.begin(), jpeg.begin() + 0x290));
    EXPECT_TRUE(isWellFormedJpeg(cutInScan));
    auto cutInHeader = source(Bytes(jpeg.begin(), jpeg.begin() + 0x100));
    EXPECT_FALSE(isWellFormedJpeg(cutInHeader));
    auto signatureOnly = source(hex("FF D8 FF E0"));
    EXPECT_FALSE(isWellFormedJpeg(signatureOnly));

    // A Huffman table claiming more than 256 codes: the first DHT segment (FF C4 at 0xB1) holds
    // the table's class and id at 0xB5, then its 16 code counts.
    Bytes tooManyCodes = jpeg;
    ASSERT_EQ(readU16(tooManyCodes, 0xB1), 0xC4FF);
    tooManyCodes[0xB5 + 16] = 0xFF;
    auto bad = source(tooManyCodes);
    EXPECT_FALSE(isWellFormedJpeg(bad));
    EXPECT_FALSE(RasterImage::load(bad));
    // No frame header before the scan: SOF0 (FF C0 at 0x9E) renamed to an application segment.
    Bytes noFrame = jpeg;
    ASSERT_EQ(noFrame[0x9F], 0xC0);
    noFrame[0x9F] = 0xE5;
    auto frameless = source(noFrame);
    EXPECT_FALSE(isWellFormedJpeg(frameless));
}

TEST(PictureData, ConvertedImagesAreShared) {
    auto bmp = source(pictureBytes("sample.bmp"));
    picture::PreparedData any = picture::prepareData(1, bmp);
    EXPECT_EQ(any.kind, picture::BlipKind::Png);
    ASSERT_TRUE(any.converted);
    auto png = source(*any.converted);
    EXPECT_TRUE(imaging::isCompletePng(png));
    auto jpeg = source(pictureBytes("sample.jpg"));
    picture::PreparedData asIs = picture::prepareData(1, jpeg);
    EXPECT_EQ(asIs.kind, picture::BlipKind::Jpeg);
    EXPECT_FALSE(asIs.converted);
}

TEST(PictureData, DamagedBytesNeverCrashTheLoader) {
    // Every sample with bytes changed at pseudo-random places; whatever the outcome, the loader
    // must end normally (the sanitizer builds check memory and undefined behaviour).
    std::uint32_t state = 2024;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (const char* name : {"sample.png", "sample.jpg", "sample.bmp", "sample.gif", "sample.tif", "sample.wmf",
                             "sample.emf"}) {
        SCOPED_TRACE(name);
        const Bytes original = pictureBytes(name);
        for (int round = 0; round < 300; ++round) {
            Bytes b = original;
            const int changes = 1 + static_cast<int>(next() % 4);
            for (int k = 0; k < changes; ++k) b[next() % b.size()] = static_cast<std::uint8_t>(next());
            auto src = source(b);
            for (int type : {1, 3}) {
                picture::PreparedData data = picture::prepareData(type, src);
                if (data.converted) EXPECT_FALSE(data.converted->empty());
            }
        }
    }
}
