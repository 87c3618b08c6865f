// Pictures of every kind and in every state a host may hand over: what the file stores for each
// (its BLIP kind, or no data), the pixels of images converted to PNG, and where pictures come from.
#include <gtest/gtest.h>

#include <unistd.h>

#include <sstream>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "cases/decks.h"
#include "support/picture_samples.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const std::vector<unsigned> kEntry = {0x03E8, 0x040B, 0xF000, 0xF001, 0xF007};
const std::vector<unsigned> kPib = {0x03EE, 0x040C, 0xF002, 0xF003, 0xF004, 0xF00B};

struct Kind {
    const char* name;
    const char* file;  // a sample, or nullptr for bytes given as a stream
    std::string bytes;
    PPTPicture::ImageType type;
    unsigned record;   // the BLIP's record type; 0: no data
    int pixels;        // converted to PNG: compare with the sample's pixels (2: the top-left 2 x 2
                       // pixels are transparent)
};
void PrintTo(const Kind& k, std::ostream* os) { *os << k.name; }

const std::string kJpegHead = "\xFF\xD8\xFF\xE0";
// The sample JPEG with its bytes from..to replaced by with: its segments are APP0 at 2, tables at
// 0x14 and 0x59, the frame at 0x9E, Huffman tables at 0xB1, 0xD2, 0x189 and 0x1AA, the scan at 0x261.
std::string jpeg(std::size_t from, std::size_t to, const std::string& with = "") {
    return asString(pictureBytes("sample.jpg")).replace(from, to - from, with);
}
std::string png(std::size_t cut, const std::string& more = "") { return asString(pngOfSize(100)).substr(0, cut) + more; }
const Kind kKinds[] = {
    {"png", "sample.png", "", PPTPicture::IMAGE_PNG, 0xF01E, 0},
    {"jpeg", "sample.jpg", "", PPTPicture::IMAGE_JPEG, 0xF01D, 0},
    {"wmf", "sample.wmf", "", PPTPicture::IMAGE_WMF, 0xF01B, 0},
    {"emf", "sample.emf", "", PPTPicture::IMAGE_EMF, 0xF01A, 0},
    // The bytes decide: four kinds are stored as what they are, whatever the host declared.
    {"jpeg_declared_png", "sample.jpg", "", PPTPicture::IMAGE_PNG, 0xF01D, 0},
    {"png_declared_jpeg", "sample.png", "", PPTPicture::IMAGE_JPEG, 0xF01E, 0},
    {"wmf_declared_emf", "sample.wmf", "", PPTPicture::IMAGE_EMF, 0xF01B, 0},
    {"emf_declared_png", "sample.emf", "", PPTPicture::IMAGE_PNG, 0xF01A, 0},
    {"jpeg_any", "sample.jpg", "", PPTPicture::IMAGE_ANY, 0xF01D, 0},
    // Other raster images are decoded and stored as PNG only when declared as any image.
    {"bmp_any", "sample.bmp", "", PPTPicture::IMAGE_ANY, 0xF01E, 1},
    {"gif_any", "sample.gif", "", PPTPicture::IMAGE_ANY, 0xF01E, 2},
    {"tiff_any", "sample.tif", "", PPTPicture::IMAGE_ANY, 0xF01E, 1},
    {"bmp_declared_png", "sample.bmp", "", PPTPicture::IMAGE_PNG, 0, 0},
    // A JPEG's header must be well formed up to its scan; a PNG whole, with data, up to its end.
    {"jpeg_with_a_marker_without_segment", nullptr, jpeg(2, 2, "\xFF\x01"), PPTPicture::IMAGE_JPEG, 0xF01D, 0},
    {"jpeg_cut_in_scan", nullptr, jpeg(0x280, 716), PPTPicture::IMAGE_JPEG, 0xF01D, 0},
    {"jpeg_cut_in_a_table", nullptr, jpeg(0x100, 716), PPTPicture::IMAGE_JPEG, 0, 0},
    {"jpeg_without_frame", nullptr, jpeg(0x9E, 0xB1), PPTPicture::IMAGE_JPEG, 0, 0},
    {"jpeg_huffman_counts_too_many", nullptr, jpeg(0xB6, 0xC6, std::string(16, '\x20')), PPTPicture::IMAGE_JPEG, 0, 0},
    {"jpeg_stuffed_byte_before_scan", nullptr, jpeg(3, 4, std::string(1, '\0')), PPTPicture::IMAGE_JPEG, 0, 0},
    {"jpeg_end_before_scan", nullptr, jpeg(0x14, 716, "\xFF\xD9"), PPTPicture::IMAGE_JPEG, 0, 0},
    {"png_bytes_after_its_end", nullptr, png(100, "more"), PPTPicture::IMAGE_PNG, 0xF01E, 0},
    {"png_without_data", nullptr, png(33) + std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12), PPTPicture::IMAGE_PNG, 0, 0},
    {"png_header_not_first", nullptr, png(8) + png(100).substr(100 - 12), PPTPicture::IMAGE_PNG, 0, 0},
    // Damaged raster images: no data, the decoder reading nothing out of bounds.
    {"bmp_cut", nullptr, asString(pictureBytes("sample.bmp")).substr(0, 100), PPTPicture::IMAGE_ANY, 0, 0},
    {"gif_cut", nullptr, asString(pictureBytes("sample.gif")).substr(0, 40), PPTPicture::IMAGE_ANY, 0, 0},
    {"tiff_cut", nullptr, asString(pictureBytes("sample.tif")).substr(0, 100), PPTPicture::IMAGE_ANY, 0, 0},
    // Nothing usable: no picture record and no store entry.
    {"missing_file", "no-such-file.png", "", PPTPicture::IMAGE_PNG, 0, 0},
    {"empty_file", "empty.png", "", PPTPicture::IMAGE_PNG, 0, 0},
    {"empty_stream", nullptr, "", PPTPicture::IMAGE_PNG, 0, 0},
    {"truncated_png", "truncated.png", "", PPTPicture::IMAGE_PNG, 0, 0},
    {"truncated_png_any", "truncated.png", "", PPTPicture::IMAGE_ANY, 0, 0},
    {"jpeg_signature_only", nullptr, kJpegHead, PPTPicture::IMAGE_JPEG, 0, 0},
    {"text_any", nullptr, "not an image at all, just some text", PPTPicture::IMAGE_ANY, 0, 0},
    {"placeable_header_alone", nullptr, std::string("\xD7\xCD\xC6\x9A", 4) + std::string(18, '\0'),
     PPTPicture::IMAGE_WMF, 0, 0},
    {"type_none", "sample.png", "", PPTPicture::IMAGE_NONE, 0, 0},
    {"type_unused", "sample.png", "", PPTPicture::IMAGE_UNUSED, 0, 0},
    {"type_9", "sample.png", "", static_cast<PPTPicture::ImageType>(9), 0, 0},
    // A BMP whose header claims 20000 x 20000 pixels, more than the decoder takes (2^28).
    {"huge_bmp", nullptr, std::string("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x20\x4E\0\0\x20\x4E\0\0\x01\0\x18\0", 30) +
                          std::string(88, '\0'), PPTPicture::IMAGE_ANY, 0, 0},
};

class PictureKinds : public ::testing::TestWithParam<Kind> {};

TEST_P(PictureKinds, StoredAsWhatTheBytesAre) {
    const Kind& k = GetParam();
    PPTPtr<PPTPicture> picture;
    const StreamMap streams = saveDeck(oneShape([&] {
        picture = k.file ? PPTPtr<PPTPicture>(new PPTPicture(0, 0, 10, 10))
                         : PPTPtr<PPTPicture>(new StreamPicture(0, 0, 10, 10, k.type, Bytes(k.bytes.begin(), k.bytes.end())));
        if (k.file) picture->setFileName(k.type, picturePath(k.file));
        picture->set_PicId(1);
        return PPTPtr<PPTShape>(picture);
    }));
    EXPECT_EQ(describeProblems(verifyPresentation(streams)), "");
    const Bytes& d = streams.at(u"PowerPoint Document");
    const Bytes pib = recordAt(d, kPib, 0);
    if (k.record == 0) {
        EXPECT_EQ(picture->get_PicId(), -1);
        EXPECT_EQ(streams.count(u"Pictures"), 0u);
        EXPECT_TRUE(recordAt(d, kEntry, 0).empty()); // no store entry, so no store
        EXPECT_EQ(readU32(pib, 8 + 6 + 2), 0u); // pib 0: no picture
        return;
    }
    EXPECT_EQ(picture->get_PicId(), 1);
    const Bytes& pictures = streams.at(u"Pictures");
    EXPECT_EQ(readU16(pictures, 2), k.record);
    EXPECT_EQ(readU32(pib, 8 + 6 + 2), 2u); // the entry after the empty one
    if (!k.pixels) return;
    int w = 0, h = 0, n = 0;
    stbi_uc* rgba = stbi_load_from_memory(pictures.data() + 25, static_cast<int>(pictures.size() - 25), &w, &h, &n, 4);
    ASSERT_NE(rgba, nullptr);
    ASSERT_EQ(w, 16);
    ASSERT_EQ(h, 12);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const stbi_uc* p = rgba + 4 * (y * w + x);
            if (k.pixels == 2 && x < 2 && y < 2) {
                EXPECT_EQ(p[3], 0);
                continue;
            }
            const Rgb want = samplePixel(x, y);
            EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), (std::array<int, 4>{want.r, want.g, want.b, 255}))
                << x << ", " << y;
        }
    }
    stbi_image_free(rgba);
}
INSTANTIATE_TEST_SUITE_P(Pictures, PictureKinds, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

// The type a file's signature announces, which the command-line tool declares its pictures by.
TEST(Pictures, ImageTypeOfASignature) {
    const std::pair<const char*, PPTPicture::ImageType> kFiles[] = {
        {"sample.png", PPTPicture::IMAGE_PNG}, {"sample.jpg", PPTPicture::IMAGE_JPEG},
        {"sample.wmf", PPTPicture::IMAGE_WMF}, {"sample.emf", PPTPicture::IMAGE_EMF},
        {"sample.bmp", PPTPicture::IMAGE_ANY}, {"sample.gif", PPTPicture::IMAGE_ANY},
        {"sample.tif", PPTPicture::IMAGE_ANY}, {"empty.png", PPTPicture::IMAGE_NONE}};
    for (const auto& [name, type] : kFiles) {
        const Bytes b = pictureBytes(name);
        EXPECT_EQ(PPTPicture::imageTypeOf(b.data(), b.size()), type) << name;
    }
    // Signatures that are nearly those of a kind; the bitmap header sizes of V5 and OS/2 2.x.
    const std::pair<std::string, PPTPicture::ImageType> kHeads[] = {
        {"BM, then text", PPTPicture::IMAGE_NONE}, {"\xFF\xD8\x00 JPEG without a marker", PPTPicture::IMAGE_NONE},
        {std::string("\1\0\0\0", 4) + std::string(46, '\0'), PPTPicture::IMAGE_NONE}, // EMR_HEADER without " EMF"
        {std::string("BM", 2) + std::string(12, '\0') + std::string("\x7C\0\0\0", 4), PPTPicture::IMAGE_ANY},
        {std::string("BM", 2) + std::string(12, '\0') + std::string("\x40\0\0\0", 4), PPTPicture::IMAGE_ANY}};
    for (const auto& [head, type] : kHeads) EXPECT_EQ(PPTPicture::imageTypeOf(head.data(), head.size()), type) << head;
}

// The last source set wins; a host stream is read once, and copies share what was read: the
// three pictures show one PNG, stored once.
TEST(Pictures, SourcesAndCopies) {
    const Bytes png = pictureBytes("sample.png");
    std::istringstream jpeg(asString(pictureBytes("sample.jpg"))), stream(asString(png));
    PPTPtr<PPTPicture> p(new PPTPicture(0, 0, 10, 10)), original(new PPTPicture(0, 0, 10, 10));
    p->setFileStream(PPTPicture::IMAGE_JPEG, jpeg);
    p->setFileName(PPTPicture::IMAGE_PNG, picturePath("sample.png"));
    original->setFileStream(PPTPicture::IMAGE_PNG, stream);
    PPTDocument doc;
    for (PPTPtr<PPTPicture> shape : {p, original, PPTPtr<PPTPicture>(new PPTPicture(*original))}) {
        doc.addSlides(720, 540)->addShape(shape);
    }
    for (int save = 0; save < 2; ++save) {
        const std::vector<unsigned char> file = doc.saveToMemory();
        std::vector<std::string> problems;
        const Bytes pictures = readCompoundFile(Bytes(file.begin(), file.end()), problems).at(u"Pictures");
        EXPECT_EQ(pictures.size(), 25 + png.size()); // the file, not the JPEG stream set before it
        EXPECT_TRUE(sameBytes(png, slice(pictures, 25, png.size()))) << "save " << save;
    }
}

// A picture without data has PicId -1; once a save finds the data, it has its entry's number again.
TEST(Pictures, ThePictureIdComesBackWithTheData) {
    const std::string file = ::testing::TempDir() + "quorv-late-" + std::to_string(getpid()) + ".png";
    std::remove(file.c_str());
    PPTDocument doc;
    PPTPtr<PPTPicture> p(new PPTPicture(0, 0, 10, 10));
    p->setFileName(PPTPicture::IMAGE_PNG, file);
    p->set_PicId(1);
    doc.addSlides(720, 540)->addShape(p);
    doc.saveToMemory();
    EXPECT_EQ(p->get_PicId(), -1);
    const Bytes png = pngOfSize(80);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), 80);
    doc.saveToMemory();
    EXPECT_EQ(p->get_PicId(), 1);
    std::remove(file.c_str());
}

} // namespace
