// The "PowerPoint Document" stream: document container, persist directory and user edit, byte
// for byte from the layouts of [MS-PPT] 2.4.1, 2.3.3 and 2.3.4.
#include <gtest/gtest.h>

#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

Bytes fontEntity(unsigned index, const Bytes& utf16Name, unsigned charset) {
    Bytes b;
    appendHeader(b, 0, index, 0x0FB7, 68);
    appendBytes(b, utf16Name);
    b.resize(b.size() + (64 - utf16Name.size()), 0);
    appendU32(b, charset);
    return b;
}

// RT_Document of a document with the default fonts, no pictures, and n slides of 720 x 540 points.
Bytes expectedDocumentContainer(std::size_t n) {
    const std::uint32_t F = 3, D = 144;
    Bytes b;
    appendHeader(b, 0xF, 0, 0x03E8, static_cast<std::uint32_t>(633 + 76 * F + D + 88 * n));
    // Document atom: 5760 x 4320 master units, notes 4320 x 5760, zoom 5/10.
    appendHeader(b, 1, 0, 0x03E9, 40);
    appendBytes(b, hex("80 16 00 00 E0 10 00 00 E0 10 00 00 80 16 00 00 05 00 00 00 0A 00 00 00"
                       "00 00 00 00 00 00 00 00 01 00 06 00 00 00 00 01"));
    // Environment.
    appendHeader(b, 0xF, 0, 0x03F2, 202 + 76 * F);
    appendHeader(b, 0xF, 2, 0x0FC8, 12);
    appendHeader(b, 0, 3, 0x0FD2, 4);
    appendU32(b, 1);
    appendHeader(b, 0xF, 0, 0x07D5, 76 * F);
    appendBytes(b, fontEntity(0, hex("41 00 72 00 69 00 61 00 6C 00"), 0));
    appendBytes(b, fontEntity(1, hex("2D FF 33 FF 20 00 30 FF B4 30 B7 30 C3 30 AF 30"), 128));
    appendBytes(b, fontEntity(2, hex("2D FF 33 FF 20 00 30 FF 0E 66 1D 67"), 128));
    appendHeader(b, 0, 0, 0x0FA4, 8);
    appendBytes(b, hex("80 00 40 00 80 00 00 00"));
    appendHeader(b, 0, 0, 0x0FA5, 14);
    appendBytes(b, hex("00 00 00 88 2E 00 00 00 24 00 07 00 00 00"));
    appendHeader(b, 0, 0, 0x0FA9, 10);
    appendBytes(b, hex("07 00 00 00 02 00 11 04 09 04"));
    appendHeader(b, 0, 4, 0x0FA3, 110);
    appendBytes(b, hex("05 00 FF FD 3F 00 00 00 22 20 00 00 64 00 00 00 00 FF 00 00 64 00 00 00 00 00 00 00 00 00 40 02"
                       "00 00 00 00 07 00 00 00 FF FF EF 00 80 00 00 00 01 00 00 00 FF FF 12 00 00 00 00 01 00 00 00 05"
                       "00 00 20 01 20 01 00 00 00 00 00 05 00 00 40 02 40 02 00 00 00 00 00 05 00 00 60 03 60 03 00 00"
                       "00 00 00 05 00 00 80 04 80 04 00 00 00 00"));
    // Drawing group: FDGG block, no picture store, FOPT, split-menu colours.
    appendHeader(b, 0xF, 0, 0x040B, D);
    appendHeader(b, 0xF, 0, 0xF000, D - 8);
    appendHeader(b, 0, 0, 0xF006, 48);
    for (std::uint32_t v : {0x1004u, 5u, 7u, 2u, 1u, 7u, 0u, 4u, 0u, 4u, 2u, 4u}) appendU32(b, v);
    appendHeader(b, 3, 8, 0xF00B, 48);
    appendBytes(b, hex("81 01 04 00 00 08  83 01 00 00 00 08  86 41 00 00 00 00  BF 01 10 00 10 00"
                       "C0 01 01 00 00 08  C5 41 00 00 00 00  FF 01 08 00 08 00  01 02 02 00 00 08"));
    appendHeader(b, 0, 4, 0xF11E, 16);
    appendBytes(b, hex("04 00 00 08 01 00 00 08 02 00 00 08 F7 00 00 10"));
    // Master list.
    appendHeader(b, 0xF, 1, 0x0FF0, 28);
    appendHeader(b, 0, 0, 0x03F3, 20);
    appendBytes(b, hex("02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 80 00 00 00 00"));
    // View settings.
    appendHeader(b, 0xF, 0, 0x07D0, 307);
    appendHeader(b, 0xF, 1, 0x0414, 28);
    appendHeader(b, 0, 0, 0x0415, 20);
    appendBytes(b, hex("BA 93 B0 F6 00 CA 9A 3B AD 07 94 C7 00 CA 9A 3B 01 01 00 00"));
    appendHeader(b, 0xF, 0, 0x03FA, 103);
    appendHeader(b, 0, 0, 0x03FE, 3);
    appendBytes(b, hex("00 01 00"));
    appendHeader(b, 0, 0, 0x03FD, 52);
    appendBytes(b, hex("41 00 00 00 64 00 00 00 41 00 00 00 64 00 00 00 00 00 00 00 88 81 C9 00 14 97 12 00"
                       "07 C9 0C 30 00 00 00 00 00 00 00 00 CC FD FF FF 8E FF FF FF 01 00 12 00"));
    appendHeader(b, 0, 7, 0x03FB, 8);
    appendBytes(b, hex("00 00 00 00 70 08 00 00"));
    appendHeader(b, 0, 7, 0x03FB, 8);
    appendBytes(b, hex("01 00 00 00 40 0B 00 00"));
    appendHeader(b, 0xF, 1, 0x03FF, 20);
    appendHeader(b, 2, 0, 0x0400, 12);
    appendBytes(b, hex("00 00 00 00 00 00 00 00 02 00 00 00"));
    appendHeader(b, 0xF, 1, 0x0413, 60);
    appendHeader(b, 0, 0, 0x03FD, 52);
    appendBytes(b, hex("64 00 00 00 64 00 00 00 64 00 00 00 64 00 00 00 02 00 00 00 B3 78 0C 30 74 A9 12 00"
                       "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 12 00"));
    appendHeader(b, 0xF, 0, 0x1388, 56);
    appendHeader(b, 0xF, 0, 0x138A, 48);
    appendHeader(b, 0, 0, 0x0FBA, 16);
    appendBytes(b, hex("5F 00 5F 00 5F 00 50 00 50 00 54 00 31 00 30 00"));
    appendHeader(b, 0, 0, 0x138B, 16);
    appendHeader(b, 0, 0, 0x040D, 8);
    appendBytes(b, hex("00 C0 00 00 00 C0 00 00"));
    // Slide list.
    appendHeader(b, 0xF, 0, 0x0FF0, static_cast<std::uint32_t>(88 * n));
    for (std::size_t i = 0; i < n; ++i) {
        appendHeader(b, 0, 0, 0x03F3, 20);
        appendU32(b, i == 0 ? 3 : static_cast<std::uint32_t>(i + 4));
        appendU32(b, 4);
        appendU32(b, 2);
        appendU32(b, static_cast<std::uint32_t>(256 + i));
        appendU32(b, 0);
        appendHeader(b, 0, 0, 0x0F9F, 4);
        appendU32(b, i == 0 ? 6 : 0);
        appendHeader(b, 0, 0, 0x0FAA, 10);
        appendBytes(b, hex("01 00 00 00 01 00 00 00 00 00"));
        appendHeader(b, 0, 1, 0x0F9F, 4);
        appendU32(b, i == 0 ? 5 : 1);
        appendHeader(b, 0, 0, 0x0FAA, 10);
        appendBytes(b, hex("01 00 00 00 01 00 00 00 00 00"));
    }
    appendHeader(b, 0, 0, 0x03EA, 0);
    return b;
}

PPTDocument deck(std::size_t slides) {
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    for (std::size_t i = 0; i < slides; ++i) doc.addSlides(720, 540);
    return doc;
}

} // namespace

TEST(DocumentBytes, DocumentContainerOfOneSlide) {
    PPTDocument doc = deck(1);
    Bytes stream = documentStream(doc);
    Bytes expected = expectedDocumentContainer(1);
    ASSERT_EQ(expected.size(), 1101u); // recLen 633 + 228 + 144 + 88 = 1093
    EXPECT_TRUE(sameBytes(expected, slice(stream, 0, expected.size())));
}

TEST(DocumentBytes, DocumentContainerOfThreeSlides) {
    PPTDocument doc = deck(3);
    Bytes expected = expectedDocumentContainer(3);
    EXPECT_TRUE(sameBytes(expected, slice(documentStream(doc), 0, expected.size())));
}

TEST(DocumentBytes, SlideSizeIsTruncatedMasterUnits) {
    PPTDocument doc = deck(1);
    doc.set_Width(720.9f);
    Bytes stream = documentStream(doc);
    EXPECT_EQ(readU32(stream, 16), 5767u); // 5767.2 truncated
}

TEST(DocumentBytes, FontTableGrowsAndNamesAreCut) {
    PPTDocument doc = deck(1);
    EXPECT_EQ(doc.get_FontNamesIndex(L"Arial", 128), 0);
    EXPECT_EQ(doc.getFontNames().size(), 3u);
    EXPECT_EQ(doc.get_FontNamesIndex(L"Courier New", 0), 3);
    EXPECT_EQ(doc.get_FontNamesIndex(L"Courier New", 2), 3);
    std::wstring longName(40, L'x');
    EXPECT_EQ(doc.get_FontNamesIndex(longName, 0), 4);

    Bytes stream = documentStream(doc);
    Record root = parseRecord(stream, 0);
    EXPECT_EQ(root.length, 633u + 76 * 5 + 144 + 88);
    auto entities = root.findAll(0x0FB7);
    ASSERT_EQ(entities.size(), 5u);
    EXPECT_EQ(entities[3]->instance, 3u);
    // A name longer than the field keeps 31 code units and its terminating null.
    const Record& cut = *entities[4];
    for (std::size_t i = 0; i < 31; ++i) EXPECT_EQ(readU16(stream, cut.bodyOffset() + 2 * i), 'x');
    EXPECT_EQ(readU16(stream, cut.bodyOffset() + 62), 0);
}

TEST(DocumentBytes, FontTableHoldsAtMost129Faces) {
    PPTDocument doc;
    for (int i = 0; i < 200; ++i) doc.get_FontNamesIndex(L"Face " + std::to_wstring(i), 0);
    EXPECT_EQ(doc.getFontNames().size(), 129u);
    EXPECT_EQ(doc.get_FontNamesIndex(L"Face 125", 0), 128);
    EXPECT_EQ(doc.get_FontNamesIndex(L"One more", 0), 0); // no room: the default face
}

TEST(DocumentBytes, PersistDirectoryAndUserEditOfOneSlide) {
    PPTDocument doc = deck(1);
    Bytes stream = documentStream(doc);
    const std::uint32_t master = 1101, slide = master + 2560, directory = slide + 312, userEdit = directory + 24;
    ASSERT_EQ(stream.size(), userEdit + 36u);
    Bytes expected;
    appendHeader(expected, 0, 0, 0x1772, 16);
    appendU32(expected, 0x00300001);
    appendU32(expected, 0);
    appendU32(expected, master);
    appendU32(expected, slide);
    appendHeader(expected, 0, 0, 0x0FF5, 28);
    appendBytes(expected, hex("00 01 00 00 99 15 00 03 00 00 00 00"));
    appendU32(expected, directory);
    appendBytes(expected, hex("01 00 00 00 03 00 00 00 01 00 12 00"));
    EXPECT_TRUE(sameBytes(expected, slice(stream, directory, expected.size())));
}

TEST(DocumentBytes, PersistDirectoryOfThreeSlides) {
    PPTDocument doc = deck(3);
    Bytes stream = documentStream(doc);
    const std::uint32_t master = 1101 + 176, first = master + 2560, directory = first + 3 * 312;
    Bytes expected;
    appendHeader(expected, 0, 0, 0x1772, 28);
    appendU32(expected, 0x00300001);
    appendU32(expected, 0);
    appendU32(expected, master);
    appendU32(expected, first);
    appendU32(expected, 0x00200005);
    appendU32(expected, first + 312);
    appendU32(expected, first + 624);
    EXPECT_TRUE(sameBytes(expected, slice(stream, directory, expected.size())));
    // persistIdSeed is the largest persist id, 6.
    EXPECT_EQ(readU32(stream, directory + 36 + 28), 6u);
}

TEST(DocumentBytes, ManySlidesSplitThePersistDirectory) {
    // An entry counts at most 4095 ids (12 bits): slides 2 to 5000 need two entries after the first.
    PPTDocument doc = deck(5000);
    Bytes stream = documentStream(doc);
    std::vector<Record> top = parseRecords(stream, 0, stream.size());
    ASSERT_EQ(top.size(), 5004u); // document, master, 5000 slides, directory, user edit
    const Record& dir = top[5002];
    ASSERT_EQ(dir.type, 0x1772u);
    EXPECT_EQ(dir.length, 16u + 4 + 4 * 4095 + 4 + 4 * 904);
    std::size_t at = dir.bodyOffset() + 16;
    EXPECT_EQ(readU32(stream, at), (4095u << 20) | 5u);
    EXPECT_EQ(readU32(stream, at + 4), top[3].offset);
    at += 4 + 4 * 4095;
    EXPECT_EQ(readU32(stream, at), (904u << 20) | 4100u);
    EXPECT_EQ(readU32(stream, at + 4), top[4098].offset);
    EXPECT_EQ(readU32(stream, top[5003].bodyOffset() + 20), 5003u); // persistIdSeed
}

TEST(DocumentBytes, DocumentWithoutSlides) {
    PPTDocument doc = deck(0);
    Bytes stream = documentStream(doc);
    std::vector<Record> top = parseRecords(stream, 0, stream.size());
    ASSERT_EQ(top.size(), 4u); // document, master, directory, user edit
    EXPECT_EQ(top[0].length, 633u + 228 + 144 - 8); // no slide list
    EXPECT_TRUE(top[0].findAll(0x0FF0).size() == 1); // the master list only
    Bytes expected;
    appendHeader(expected, 0, 0, 0x1772, 12);
    appendU32(expected, 0x00200001);
    appendU32(expected, 0);
    appendU32(expected, static_cast<std::uint32_t>(top[1].offset));
    EXPECT_TRUE(sameBytes(expected, slice(stream, top[2].offset, expected.size())));
    EXPECT_EQ(readU32(stream, top[3].bodyOffset()), 0u);      // lastSlideIdRef: none
    EXPECT_EQ(readU32(stream, top[3].bodyOffset() + 20), 2u); // persistIdSeed
}

TEST(DocumentBytes, SavingTwiceGivesTheSameBytes) {
    PPTDocument doc = deck(2);
    PPTProperties props;
    props.set_Title(L"Twice");
    doc.setProperties(&props, false);
    auto first = streamsOf(doc);
    auto second = streamsOf(doc);
    EXPECT_EQ(first, second);
}
