// Picture records, store entries and picture shapes, byte for byte from the layouts of
// [MS-ODRAW] 2.2.23-2.2.32 (BLIPs and OfficeArtFBSE) and 2.2.14-2.2.40 (shape records).
#include <gtest/gtest.h>

#include <sstream>

#include <zlib.h>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/picture_samples.h"
#include "support/records.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

// The identifiers the fixed test context gives the first and second picture records: the
// GUIDs 01 01 ... and 02 02 ... as "{0101010101010101..." cut to 16 characters.
const Bytes kUid1 = hex("7B 30 31 30 31 30 31 30 31 30 31 30 31 30 31 30");
const Bytes kUid2 = hex("7B 30 32 30 32 30 32 30 32 30 32 30 32 30 32 30");

struct Saved {
    Bytes pictures;
    Bytes store; // the whole OfficeArtBStoreContainer
};

Saved save(PPTDocument& doc) {
    auto streams = streamsOf(doc);
    Saved out;
    out.pictures = streams[u"Pictures"];
    const Bytes& d = streams.at(u"PowerPoint Document");
    const std::vector<Record> top = parseRecords(d, 0, d.size());
    const Record* store = top.at(0).findAll(0xF001).at(0);
    out.store = slice(d, store->offset, store->length + 8);
    return out;
}

Bytes emptyEntry() {
    Bytes b;
    appendHeader(b, 2, 0, 0xF007, 36);
    appendBytes(b, Bytes(18, 0));
    b.push_back(0xFF);
    appendBytes(b, Bytes(17, 0));
    return b;
}

// The picture shape of a picture at (10, 20) sized 100 x 50 points with shape id 2, pib 2 and the
// given name bytes (UTF-16LE, terminator included), with an optional rotation property.
Bytes pictureShape(const Bytes& rotation, const Bytes& name) {
    const std::uint32_t properties = rotation.empty() ? 4 : 5;
    const std::uint32_t fopt = 6 * properties + static_cast<std::uint32_t>(name.size());
    Bytes b;
    appendHeader(b, 0xF, 0, 0xF004, 16 + 8 + fopt + 16);
    appendHeader(b, 2, 75, 0xF00A, 8);
    appendBytes(b, hex("02 08 00 00  00 0A 00 00")); // spid 0x802; fHaveAnchor, fHaveSpt
    appendHeader(b, 3, properties, 0xF00B, fopt);
    appendBytes(b, rotation);
    appendBytes(b, hex("7F 00 80 00 80 00")); // protection: lock aspect ratio
    appendBytes(b, hex("04 41 02 00 00 00")); // pib (fBid) = entry 2
    appendU16(b, 0xC105);                      // pibName (fBid, fComplex)
    appendU32(b, static_cast<std::uint32_t>(name.size()));
    appendBytes(b, hex("06 01 01 00 00 00")); // pibFlags: a file name
    appendBytes(b, name);
    appendHeader(b, 0, 0, 0xF010, 8);
    appendBytes(b, hex("A0 00 50 00 70 03 30 02")); // top 160, left 80, right 880, bottom 560
    return b;
}

Bytes shapeBytes(PPTPicture& p) {
    p.set_ShapeId(2);
    p.set_PicId(1);
    QvOutputStream s;
    p.output(s, false);
    return s.bytes();
}

Bytes compress9(const Bytes& data) {
    Bytes out(compressBound(static_cast<uLong>(data.size())));
    uLongf n = static_cast<uLongf>(out.size());
    EXPECT_EQ(compress2(out.data(), &n, data.data(), static_cast<uLong>(data.size()), 9), Z_OK);
    out.resize(n);
    return out;
}

} // namespace

TEST(PictureBytes, ThousandBytePngRecordAndStoreEntry) {
    const Bytes png = pngOfSize(1000);
    ASSERT_EQ(png.size(), 1000u);
    std::istringstream in(asString(png));
    PPTDocument doc;
    PPTPtr<PPTPicture> p(new PPTPicture(10, 20, 100, 50));
    p->setFileStream(PPTPicture::IMAGE_PNG, in);
    p->set_PicId(1);
    doc.addSlides(720, 540)->addShape(p);
    Saved saved = save(doc);

    Bytes record;
    appendHeader(record, 0, 0x6E0, 0xF01E, 1017);
    appendBytes(record, kUid1);
    record.push_back(0xFF);
    appendBytes(record, png);
    EXPECT_TRUE(sameBytes(record, saved.pictures)); // pOffset 0, pSize 1025

    Bytes store;
    appendHeader(store, 0xF, 2, 0xF001, 88);
    appendBytes(store, emptyEntry());
    appendHeader(store, 2, 6, 0xF007, 36);
    appendBytes(store, hex("06 06"));                   // btWin32, btMacOS: PNG
    appendBytes(store, kUid1);                          // the record's identifier
    appendBytes(store, hex("FF 00"));                   // tag
    appendBytes(store, hex("01 04 00 00"));             // size 1025
    appendBytes(store, hex("01 00 00 00"));             // cRef 1
    appendBytes(store, hex("00 00 00 00"));             // foDelay 0
    appendBytes(store, hex("00 00 00 00"));             // unused, cbName 0, unused, unused
    EXPECT_TRUE(sameBytes(store, saved.store));
}

TEST(PictureBytes, TwoPicturesGetTheirOwnIdentifiers) {
    const Bytes a = pngOfSize(60), b = pngOfSize(61);
    std::istringstream ina(asString(a)), inb(asString(b));
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTPicture> first(new PPTPicture(0, 0, 10, 10)), second(new PPTPicture(0, 0, 10, 10));
    first->setFileStream(PPTPicture::IMAGE_PNG, ina);
    second->setFileStream(PPTPicture::IMAGE_PNG, inb);
    first->set_ShapeNum(1);
    second->set_ShapeNum(2);
    slide->addShape(first);
    slide->addShape(second);
    Saved saved = save(doc);

    Bytes pictures;
    appendHeader(pictures, 0, 0x6E0, 0xF01E, 77);
    appendBytes(pictures, kUid1);
    pictures.push_back(0xFF);
    appendBytes(pictures, a);
    appendHeader(pictures, 0, 0x6E0, 0xF01E, 78);
    appendBytes(pictures, kUid2);
    pictures.push_back(0xFF);
    appendBytes(pictures, b);
    EXPECT_TRUE(sameBytes(pictures, saved.pictures));

    Bytes store;
    appendHeader(store, 0xF, 3, 0xF001, 132);
    appendBytes(store, emptyEntry());
    appendHeader(store, 2, 6, 0xF007, 36);
    appendBytes(store, hex("06 06"));
    appendBytes(store, kUid1);
    appendBytes(store, hex("FF 00  55 00 00 00  01 00 00 00  00 00 00 00  00 00 00 00")); // 85 bytes at 0
    appendHeader(store, 2, 6, 0xF007, 36);
    appendBytes(store, hex("06 06"));
    appendBytes(store, kUid2);
    appendBytes(store, hex("FF 00  56 00 00 00  01 00 00 00  55 00 00 00  00 00 00 00")); // 86 bytes at 85
    EXPECT_TRUE(sameBytes(store, saved.store));
}

TEST(PictureBytes, PictureShapeWithItsFileName) {
    PPTPicture p(10, 20, 100, 50);
    p.setFileName(PPTPicture::IMAGE_PNG, "C:\\pics\\logo.png");
    const Bytes name = hex("6C 00 6F 00 67 00 6F 00 2E 00 70 00 6E 00 67 00 00 00"); // "logo.png"
    EXPECT_TRUE(sameBytes(pictureShape({}, name), shapeBytes(p)));
    EXPECT_EQ(p.calSize(nullptr, false), 24 + 18);

    // A UTF-8 name after a slash: "é.png" is five UTF-16 code units.
    PPTPicture q(10, 20, 100, 50);
    q.setFileName(PPTPicture::IMAGE_PNG, "/srv/images/\xC3\xA9.png");
    EXPECT_TRUE(sameBytes(pictureShape({}, hex("E9 00 2E 00 70 00 6E 00 67 00 00 00")), shapeBytes(q)));

    // A picture from a stream has an empty name: the terminator alone.
    PPTPicture r(10, 20, 100, 50);
    EXPECT_TRUE(sameBytes(pictureShape({}, hex("00 00")), shapeBytes(r)));
}

TEST(PictureBytes, RotationProperty) {
    const Bytes name = hex("78 00 00 00"); // "x"
    struct Case {
        int set;
        Bytes property; // empty: none
    };
    const Case cases[] = {
        {320, hex("04 00 00 00 40 01")}, // 320 in 16.16 fixed point
        {725, hex("04 00 00 00 05 00")}, // stored as 5
        {-30, hex("04 00 00 00 4A 01")}, // written as 330
        {0, {}},
        {360, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        PPTPicture p(10, 20, 100, 50);
        p.setFileName(PPTPicture::IMAGE_PNG, "x");
        p.set_iRotate(c.set);
        EXPECT_TRUE(sameBytes(pictureShape(c.property, name), shapeBytes(p)));
        EXPECT_EQ(p.calSize(nullptr, false), 24 + (c.property.empty() ? 0 : 6) + 4);
    }
}

TEST(PictureBytes, WindowsMetafileRecord) {
    const Bytes wmf = pictureBytes("sample.wmf");
    ASSERT_EQ(wmf.size(), 162u);
    PPTDocument doc;
    PPTPtr<PPTPicture> p(new PPTPicture(0, 0, 10, 10));
    p->setFileName(PPTPicture::IMAGE_WMF, picturePath("sample.wmf"));
    p->set_PicId(1);
    doc.addSlides(720, 540)->addShape(p);
    Saved saved = save(doc);

    const Bytes compressed = compress9(Bytes(wmf.begin() + 22, wmf.end()));
    Bytes record;
    appendHeader(record, 0, 0x216, 0xF01B, 50 + static_cast<std::uint32_t>(compressed.size()));
    appendBytes(record, kUid1);
    appendBytes(record, hex("8C 00 00 00"));                                  // cbSize 140: without the placeable header
    appendBytes(record, hex("DB FE FF FF  0B 00 00 00  00 00 00 00  00 00 00 00")); // rcBounds -293, 11, 0, 0
    appendBytes(record, hex("38 D6 06 00  1C 6B 03 00"));                     // ptSize 448056, 224028
    appendU32(record, static_cast<std::uint32_t>(compressed.size()));        // cbSave
    appendBytes(record, hex("00 FE"));                                        // deflate, no filter
    appendBytes(record, compressed);
    EXPECT_TRUE(sameBytes(record, saved.pictures));
    // The store entry after the container's header and the empty entry: ver 2, inst 3 (WMF), then
    // btWin32 WMF and btMacOS PICT.
    EXPECT_EQ(readU16(saved.store, 52), 0x0032);
    EXPECT_EQ(slice(saved.store, 60, 2), hex("03 04"));
}

TEST(PictureBytes, EnhancedMetafileRecord) {
    const Bytes emf = pictureBytes("sample.emf");
    ASSERT_EQ(emf.size(), 228u);
    std::istringstream in(asString(emf));
    PPTDocument doc;
    PPTPtr<PPTPicture> p(new PPTPicture(0, 0, 10, 10));
    p->setFileStream(PPTPicture::IMAGE_EMF, in);
    p->set_PicId(1);
    doc.addSlides(720, 540)->addShape(p);
    Saved saved = save(doc);

    const Bytes compressed = compress9(emf);
    Bytes record;
    appendHeader(record, 0, 0x3D4, 0xF01A, 50 + static_cast<std::uint32_t>(compressed.size()));
    appendBytes(record, kUid1);
    appendBytes(record, hex("E4 00 00 00"));                                  // cbSize 228: the whole file
    appendBytes(record, hex("00 00 00 00  00 00 00 00  63 00 00 00  3B 00 00 00")); // 0, 0, 99, 59 from rclBounds
    appendBytes(record, hex("FC 58 14 00  E0 F3 0D 00"));                     // ptSize 1333500, 914400
    appendU32(record, static_cast<std::uint32_t>(compressed.size()));
    appendBytes(record, hex("00 FE"));
    appendBytes(record, compressed);
    EXPECT_TRUE(sameBytes(record, saved.pictures));
    EXPECT_EQ(readU16(saved.store, 52), 0x0022);       // ver 2, inst 2 (EMF)
    EXPECT_EQ(slice(saved.store, 60, 2), hex("02 04")); // btWin32 EMF, btMacOS PICT
}
