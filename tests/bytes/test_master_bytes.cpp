// The main master: 2,560 fixed bytes ([MS-PPT] 2.5.3 MainMasterContainer).
#include <gtest/gtest.h>

#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

Bytes masterOf(PPTDocument& doc) {
    Bytes stream = documentStream(doc);
    std::vector<Record> top = parseRecords(stream, 0, stream.size());
    return slice(stream, top.at(1).offset, top.at(1).length + 8);
}

struct Expected {
    std::size_t offset;
    unsigned ver, inst, type;
    std::uint32_t len;
};

// Offset, header fields and length of every record of the master, in order.
const Expected kLayout[] = {
    {0, 0xF, 0, 0x03F8, 2552},   {8, 2, 0, 0x03EF, 24},       {520, 0, 0, 0x0FA3, 62},     {590, 0, 1, 0x0FA3, 124},
    {722, 0, 2, 0x0FA3, 110},    {840, 0, 5, 0x0FA3, 82},     {930, 0, 6, 0x0FA3, 12},     {950, 0, 7, 0x0FA3, 62},
    {1020, 0, 8, 0x0FA3, 62},    {1090, 0xF, 0, 0x040C, 1322}, {1098, 0xF, 0, 0xF002, 1314}, {1106, 0, 1, 0xF008, 8},
    {1122, 0xF, 0, 0xF003, 1210}, {1130, 0xF, 0, 0xF004, 40},  {1178, 0xF, 0, 0xF004, 210}, {1396, 0xF, 0, 0xF004, 278},
    {1682, 0xF, 0, 0xF004, 210}, {1900, 0xF, 0, 0xF004, 212}, {2120, 0xF, 0, 0xF004, 212}, {2340, 0xF, 0, 0xF004, 72},
    {2420, 0, 1, 0x07F0, 32},    {2460, 0xF, 0, 0x1388, 56},  {2468, 0xF, 0, 0x138A, 48},  {2476, 0, 0, 0x0FBA, 16},
    {2500, 0, 0, 0x138B, 16},    {2524, 0, 2, 0x0FBA, 28},
};

} // namespace

TEST(MasterBytes, RecordLayout) {
    PPTDocument doc;
    doc.addSlides(720, 540);
    Bytes m = masterOf(doc);
    ASSERT_EQ(m.size(), 2560u);
    EXPECT_TRUE(sameBytes(hex("0F 00 F8 03 F8 09 00 00"), slice(m, 0, 8)));
    for (const Expected& e : kLayout) {
        SCOPED_TRACE(e.offset);
        EXPECT_EQ(readU16(m, e.offset) & 0xF, e.ver);
        EXPECT_EQ(readU16(m, e.offset) >> 4, e.inst);
        EXPECT_EQ(readU16(m, e.offset + 2), e.type);
        EXPECT_EQ(readU32(m, e.offset + 4), e.len);
    }
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(readU16(m, 40 + 40 * i), 0x60u);
        EXPECT_EQ(readU16(m, 40 + 40 * i + 2), 0x07F0u);
    }
    parseRecord(m, 0); // every container length adds up
}

TEST(MasterBytes, SameInEveryFile) {
    PPTDocument a, b;
    a.addSlides(720, 540);
    b.set_Width(100);
    b.get_FontNamesIndex(L"Other", 0);
    for (int i = 0; i < 3; ++i) b.addSlides(100, 100);
    EXPECT_EQ(masterOf(a), masterOf(b));
    PPTDocument empty;
    EXPECT_EQ(masterOf(empty), masterOf(a));
}

TEST(MasterBytes, SlideAtomSchemesAndTitleStyle) {
    PPTDocument doc;
    Bytes m = masterOf(doc);
    EXPECT_TRUE(sameBytes(hex("01 00 00 00 01 02 07 09 08 00 00 00 00 00 00 00 00 00 00 00 00 00 0C 30"), slice(m, 16, 24)));
    // Scheme 1 (offset 48) and scheme 12 (offset 488): ColorStructs red, green, blue, 0.
    EXPECT_TRUE(sameBytes(hex("FF FF FF 00 00 00 00 00 80 80 80 00 00 00 00 00 BB E0 E3 00 33 33 99 00 00 99 99 00 99 CC 00 00"),
                          slice(m, 48, 32)));
    EXPECT_TRUE(sameBytes(hex("52 3E 26 00 FF FF FF 00 2D 20 15 00 DF C0 8D 00 8C 7B 70 00 8F 5F 2F 00 CC B4 00 00 8C 9F A0 00"),
                          slice(m, 488, 32)));
    EXPECT_EQ(slice(m, 2428, 32), slice(m, 48, 32)); // the master's own scheme is scheme 1
    // Title style: centred, 44 points, title colour.
    EXPECT_TRUE(sameBytes(hex("01 00"
                              "FF FD 3F 00 00 00 22 20 00 00 64 00 00 00 00 FF 01 00 64 00 00 00 00 00 00 00 00 00 40 02"
                              "00 00 00 00 07 00 00 00"
                              "FF FF EF 00 80 00 00 00 01 00 00 00 FF FF 2C 00 00 00 00 03 00 00"),
                          slice(m, 528, 62)));
    // Centre title: one level numbered 0, no properties.
    EXPECT_TRUE(sameBytes(hex("01 00 00 00 00 00 00 00 00 00 00 00"), slice(m, 938, 12)));
    // Quarter body: levels 0 to 4 with sizes 24, 20, 18, 16, 16.
    EXPECT_TRUE(sameBytes(hex("05 00 00 00 00 00 00 00 00 00 02 00 18 00 01 00 00 00 00 00 00 00 02 00 14 00"
                              "02 00 00 00 00 00 00 00 02 00 12 00 03 00 00 00 00 00 00 00 02 00 10 00"
                              "04 00 00 00 00 00 00 00 02 00 10 00"),
                          slice(m, 1028, 62)));
}

TEST(MasterBytes, TitleAndDatePlaceholders) {
    PPTDocument doc;
    Bytes m = masterOf(doc);
    Bytes title;
    appendHeader(title, 0xF, 0, 0xF004, 210);
    appendHeader(title, 2, 1, 0xF00A, 8);
    appendBytes(title, hex("02 04 00 00 00 0A 00 00"));
    appendHeader(title, 3, 9, 0xF00B, 54);
    appendBytes(title, hex("7F 00 01 00 01 00  80 00 B0 D8 D7 00  87 00 01 00 00 00  81 01 04 00 00 08  83 01 00 00 00 08"
                           "BF 01 01 00 11 00  C0 01 01 00 00 08  FF 01 01 00 09 00  01 02 02 00 00 08"));
    appendHeader(title, 0, 0, 0xF010, 8);
    appendBytes(title, hex("AD 00 20 01 60 15 7D 03"));
    appendHeader(title, 0xF, 0, 0xF011, 16);
    appendHeader(title, 0, 0, 0x0BC3, 8);
    appendBytes(title, hex("00 00 00 00 01 00 D7 00"));
    appendHeader(title, 0xF, 0, 0xF00D, 84);
    appendHeader(title, 0, 0, 0x0F9F, 4);
    appendU32(title, 0);
    appendHeader(title, 0, 0, 0x0FA8, 32);
    for (char c : std::string("Click to edit Master title style")) title.push_back(static_cast<std::uint8_t>(c));
    appendHeader(title, 0, 0, 0x0FA2, 6);
    appendBytes(title, hex("21 00 00 00 00 00"));
    appendHeader(title, 0, 0, 0x0FAA, 10);
    appendBytes(title, hex("21 00 00 00 01 00 00 00 00 00"));
    EXPECT_TRUE(sameBytes(title, slice(m, 1178, 218)));

    Bytes date;
    appendHeader(date, 0xF, 0, 0xF004, 210);
    appendHeader(date, 2, 1, 0xF00A, 8);
    appendBytes(date, hex("04 04 00 00 00 0A 00 00"));
    appendHeader(date, 3, 8, 0xF00B, 48);
    appendBytes(date, hex("7F 00 01 00 01 00  80 00 B0 D8 D7 00  81 01 04 00 00 08  83 01 00 00 00 08"
                          "BF 01 01 00 11 00  C0 01 01 00 00 08  FF 01 01 00 09 00  01 02 02 00 00 08"));
    appendHeader(date, 0, 0, 0xF010, 8);
    appendBytes(date, hex("5E 0F 20 01 60 06 8A 10"));
    appendHeader(date, 0xF, 0, 0xF011, 16);
    appendHeader(date, 0, 0, 0x0BC3, 8);
    appendBytes(date, hex("02 00 00 00 07 01 C9 00"));
    appendHeader(date, 0xF, 0, 0xF00D, 90);
    appendHeader(date, 0, 0, 0x0F9F, 4);
    appendU32(date, 4);
    appendHeader(date, 0, 0, 0x0FA0, 2);
    appendBytes(date, hex("2A 00"));
    appendHeader(date, 0, 0, 0x0FA1, 20);
    appendBytes(date, hex("02 00 00 00 00 00 00 00 00 00  02 00 00 00 00 00 02 00 0E 00"));
    appendHeader(date, 0, 0, 0x0FF8, 4);
    appendU32(date, 0);
    appendHeader(date, 0, 0, 0x0FAA, 20);
    appendBytes(date, hex("01 00 00 00 01 00 00 00 00 00 01 00 00 00 01 00 00 00 00 00"));
    EXPECT_TRUE(sameBytes(date, slice(m, 1682, 218)));

    // Slide number: right-aligned, RT_SlideNumberMetaCharAtom.
    EXPECT_TRUE(sameBytes(hex("00 00 A1 0F 16 00 00 00 02 00 00 00 00 00 00 08 00 00 02 00"), slice(m, 2120 + 8 + 16 + 56 + 16 + 24 + 8 + 12 + 10, 20)));
    EXPECT_EQ(readU16(m, 2120 + 8 + 16 + 56 + 16 + 24 + 8 + 12 + 10 + 8 + 22 + 2), 0x0FD8u);
}

TEST(MasterBytes, BodyTextCoversEightyThreeCharacters) {
    PPTDocument doc;
    Bytes m = masterOf(doc);
    Record body = parseRecord(m, 1396);
    auto texts = body.findAll(0x0FA8);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->length, 82u);
    auto levels = body.findAll(0x0FA2);
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_TRUE(sameBytes(hex("21 00 00 00 00 00 0D 00 00 00 01 00 0C 00 00 00 02 00 0D 00 00 00 03 00 0C 00 00 00 04 00"),
                          slice(m, levels[0]->bodyOffset(), 30)));
    auto spelling = body.findAll(0x0FAA);
    EXPECT_EQ(readU32(m, spelling.at(0)->bodyOffset()), 83u);
}

TEST(MasterBytes, BackgroundTagsAndDesignName) {
    PPTDocument doc;
    Bytes m = masterOf(doc);
    Bytes expected;
    appendHeader(expected, 0xF, 0, 0xF004, 72);
    appendHeader(expected, 2, 1, 0xF00A, 8);
    appendBytes(expected, hex("01 04 00 00 00 0C 00 00"));
    appendHeader(expected, 3, 8, 0xF00B, 48);
    appendBytes(expected, hex("81 01 00 00 00 08  83 01 00 00 00 08  93 01 8E 9F 8B 00  94 01 DE BD 68 00"
                              "BF 01 12 00 12 00  FF 01 00 08 00 00  04 03 09 00 00 00  3F 03 01 00 01 00"));
    EXPECT_TRUE(sameBytes(expected, slice(m, 2340, 80)));
    EXPECT_TRUE(sameBytes(hex("00 00 EB 2E 08 00 00 00 F8 0E C9 01 E0 3D D4 E5"), slice(m, 2508, 16)));
    Bytes name;
    for (char c : std::string("Default Design")) appendU16(name, static_cast<unsigned char>(c));
    EXPECT_TRUE(sameBytes(name, slice(m, 2532, 28)));
    // The group shape's rectangle is sixteen 0xF5 bytes.
    EXPECT_TRUE(sameBytes(Bytes(16, 0xF5), slice(m, 1146, 16)));
}
