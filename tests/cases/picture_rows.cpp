// Pictures byte for byte: the BLIPs of the "Pictures" stream ([MS-ODRAW] 2.2.23-2.2.32), the
// picture store's OfficeArtFBSE entries (2.2.32) and the picture shape (pib, pibName, pibFlags).
#include <gtest/gtest.h>

#include <zlib.h>

#include "cases/decks.h"
#include "support/picture_samples.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const std::vector<unsigned> kStore = {0x03E8, 0x040B, 0xF000, 0xF001};
// The identifiers the fixed save context gives the first and second picture records: the GUIDs
// 01 01 ... and 02 02 ... as "{0101010101010101..." cut to 16 characters.
const std::string kUid1 = "7B 30 31 30 31 30 31 30 31 30 31 30 31 30 31 30";
const std::string kUid2 = "7B 30 32 30 32 30 32 30 32 30 32 30 32 30 32 30";
// The store's first entry, the empty one the document writes.
const std::string kEmptyEntry = "02 00 07 F0 24 00 00 00"
                                "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF"
                                "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";

std::string hexOf(const Bytes& b) {
    std::string s;
    char buf[4];
    for (std::uint8_t v : b) {
        std::snprintf(buf, sizeof buf, "%02X ", v);
        s += buf;
    }
    return s;
}

std::string u32(std::size_t v) { return hexOf({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                                static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)}); }

// zlib's own compress2 at level 9: the stream format the metafile BLIPs hold.
Bytes compress9(const Bytes& data) {
    Bytes out(compressBound(static_cast<uLong>(data.size())));
    uLongf n = static_cast<uLongf>(out.size());
    compress2(out.data(), &n, data.data(), static_cast<uLong>(data.size()), 9);
    out.resize(n);
    return out;
}

// A picture at (10, 20), 100 x 50 points, from a file or from bytes given as a stream.
Deck picture(PPTPicture::ImageType type, const std::string& file, Bytes data = {}, int rotation = 0) {
    return oneShape([=] {
        PPTPtr<PPTPicture> p(file.empty() ? new StreamPicture(10, 20, 100, 50, type, data)
                                          : new PPTPicture(10, 20, 100, 50));
        if (!file.empty()) p->setFileName(type, file);
        p->set_PicId(1);
        p->set_iRotate(rotation);
        return PPTPtr<PPTShape>(p);
    });
}

// The picture shape (shape id 2, pib 2) with the name bytes (UTF-16LE and terminator) and an
// optional rotation property.
std::string pictureShape(const std::string& rotation, const std::string& name) {
    const std::size_t properties = rotation.empty() ? 4 : 5, nameSize = hex(name).size();
    const std::size_t fopt = 6 * properties + nameSize;
    return "0F 00 04 F0" + u32(16 + 8 + fopt + 16) + "B2 04 0A F0 08 00 00 00  02 08 00 00 00 0A 00 00" +
           hexOf({static_cast<std::uint8_t>(3 | (properties << 4)), 0}) + "0B F0" + u32(fopt) + rotation +
           "7F 00 80 00 80 00  04 41 02 00 00 00  05 C1" + u32(nameSize) + "06 01 01 00 00 00" + name +
           "00 00 10 F0 08 00 00 00  A0 00 50 00 70 03 30 02";
}

const Bytes kWmf = pictureBytes("sample.wmf"), kEmf = pictureBytes("sample.emf"), kPng = pngOfSize(1000);
const Bytes kWmfZ = compress9(Bytes(kWmf.begin() + 22, kWmf.end())), kEmfZ = compress9(kEmf);

const Row kRows[] = {
    // A 1,000-byte PNG: its record at offset 0 of "Pictures" (8 + 17 + 1000 bytes), its entry
    // (size 1025, cRef 1, foDelay 0) after the empty one.
    {"png_record_and_store_entry", picture(PPTPicture::IMAGE_PNG, "", kPng),
     {{{}, "00 6E 1E F0 F9 03 00 00" + kUid1 + "FF" + hexOf(kPng), 0, kWhole, u"Pictures"},
      {kStore, "2F 00 01 F0 58 00 00 00" + kEmptyEntry + "62 00 07 F0 24 00 00 00  06 06" + kUid1 +
                   "FF 00  01 04 00 00  01 00 00 00  00 00 00 00  00 00 00 00"}}},
    // Two PNGs on three slides: A from a picture shown on two slides, another stream of the same
    // bytes and a copy of the picture, B from two streams. Each is stored once, with its own
    // identifier, B after A; cRef counts the shapes showing it (4 and 2) and every shape's pib
    // names its entry (shapes are drawn by ShapeNum, which the picture on two slides last got as 3).
    {"shared_pictures_stored_once", [](PPTDocument& doc, PPTProperties&) {
         const Bytes a = pngOfSize(60), b = pngOfSize(61);
         PPTPtr<PPTPicture> first(new StreamPicture(0, 0, 10, 10, PPTPicture::IMAGE_PNG, a));
         auto png = [](const Bytes& data) { return new StreamPicture(0, 0, 10, 10, PPTPicture::IMAGE_PNG, data); };
         int num = 0;
         for (std::vector<PPTPicture*> slide : {std::vector<PPTPicture*>{first.get(), png(b)}, {png(a), first.get()},
                                                {new PPTPicture(*first), png(b)}}) {
             PPTPtr<PPTSlides> s = doc.addSlides(720, 540);
             for (PPTPicture* p : slide) {
                 p->set_ShapeNum(num++);
                 s->addShape(PPTPtr<PPTShape>(p));
             }
         }
     },
     {{{}, "00 6E 1E F0 4D 00 00 00" + kUid1 + "FF" + hexOf(pngOfSize(60)) + "00 6E 1E F0 4E 00 00 00" + kUid2 + "FF" +
               hexOf(pngOfSize(61)), 0, kWhole, u"Pictures"},
      {kStore, "3F 00 01 F0 84 00 00 00" + kEmptyEntry + "62 00 07 F0 24 00 00 00  06 06" + kUid1 +
                   "FF 00  55 00 00 00  04 00 00 00  00 00 00 00  00 00 00 00"
                   "62 00 07 F0 24 00 00 00  06 06" + kUid2 +
                   "FF 00  56 00 00 00  02 00 00 00  55 00 00 00  00 00 00 00"},
      {below({0xF00B}), "03 00 00 00", 0, 16}, {below({0xF00B}), "02 00 00 00", 1, 16},
      {below({0xF00B}), "02 00 00 00", 2, 16}, {below({0xF00B}), "02 00 00 00", 3, 16},
      {below({0xF00B}), "02 00 00 00", 4, 16}, {below({0xF00B}), "03 00 00 00", 5, 16}}},
    // The shape names its file by its last component.
    {"shape_with_file_name", picture(PPTPicture::IMAGE_PNG, picturePath("sample.png")),
     {{kSlideShape, pictureShape("", "73 00 61 00 6D 00 70 00 6C 00 65 00 2E 00 70 00 6E 00 67 00 00 00"), 1}}},
    // A picture from a stream has an empty name; rotation in 16.16 degrees: 725 as 5.
    {"rotation_725", picture(PPTPicture::IMAGE_PNG, "", kPng, 725),
     {{kSlideShape, pictureShape("04 00 00 00 05 00", "00 00"), 1}}},
    // A placeable WMF: stored without its 22-byte header, deflated; its entry is of type WMF
    // (btWin32 3, btMacOS 4 PICT).
    {"wmf_record", picture(PPTPicture::IMAGE_WMF, picturePath("sample.wmf")),
     {{{}, "60 21 1B F0" + u32(50 + kWmfZ.size()) + kUid1 + "8C 00 00 00  DB FE FF FF 0B 00 00 00 00 00 00 00"
               "00 00 00 00  38 D6 06 00 1C 6B 03 00" + u32(kWmfZ.size()) + "00 FE" + hexOf(kWmfZ),
       0, kWhole, u"Pictures"},
      {kStore, "32 00 07 F0 24 00 00 00  03 04", 0, 52}}},
    // An EMF, shown twice from two streams: stored once, whole, deflated; bounds from rclBounds,
    // size in EMU.
    {"emf_record", slideWith([] {
         auto emf = [] { return PPTPtr<PPTShape>(new StreamPicture(10, 20, 100, 50, PPTPicture::IMAGE_EMF, kEmf)); };
         return std::vector<PPTPtr<PPTShape>>{emf(), emf()};
     }),
     {{{}, "40 3D 1A F0" + u32(50 + kEmfZ.size()) + kUid1 + "E4 00 00 00  00 00 00 00 00 00 00 00 63 00 00 00"
               "3B 00 00 00  FC 58 14 00 E0 F3 0D 00" + u32(kEmfZ.size()) + "00 FE" + hexOf(kEmfZ),
       0, kWhole, u"Pictures"},
      {kStore, "22 00 07 F0 24 00 00 00  02 04", 0, 52}}},
};

class PictureRows : public ::testing::TestWithParam<Row> {};
TEST_P(PictureRows, FileHoldsTheRecords) { runRow(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Pictures, PictureRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
