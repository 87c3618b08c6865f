// Text boxes byte for byte: the shape container of a text frame ([MS-ODRAW] OfficeArtSpContainer
// with OfficeArtFSP, OfficeArtFOPT, OfficeArtClientAnchor), its client data with the "___PPT9"
// tag and RT_StyleTextProp9Atom, its client text box, and the paragraph and character runs of
// RT_StyleTextPropAtom ([MS-PPT] 2.9.44 TextPFRun, 2.9.45 TextCFRun, 2.9.18 TextPFException,
// 2.9.1 TextCFException). Expected bytes follow the layout tables.
#include <gtest/gtest.h>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/records.h"
#include "text/text_frame_access.h"

using namespace Quorv;
using namespace quorv_test;
using detail::TextFrameAccess;

namespace {

Bytes paragraphRuns(const PPTTextFrame& f) {
    QvOutputStream s;
    TextFrameAccess::writeParamInfo(f, s);
    EXPECT_EQ(TextFrameAccess::calparalen(f), s.size());
    return s.bytes();
}

Bytes characterRuns(const PPTTextFrame& f) {
    QvOutputStream s;
    TextFrameAccess::writeFontInfo(f, s);
    EXPECT_EQ(TextFrameAccess::calfontlen(f), s.size());
    return s.bytes();
}

Bytes utf16(const std::string& ascii) {
    Bytes b;
    for (char c : ascii) appendU16(b, static_cast<unsigned char>(c));
    return b;
}

// The client data of a frame whose RT_StyleTextProp9Atom holds `entries`.
Bytes clientData(const Bytes& entries) {
    const std::uint32_t e = static_cast<std::uint32_t>(entries.size());
    Bytes b;
    appendHeader(b, 0xF, 0, 0xF011, 54 + e);
    appendHeader(b, 0xF, 0, 0x1388, 46 + e); // RT_ProgTags
    appendHeader(b, 0xF, 0, 0x138A, 38 + e); // RT_ProgBinaryTag
    appendHeader(b, 0, 0, 0x0FBA, 14);       // RT_CString
    appendBytes(b, utf16("___PPT9"));
    appendHeader(b, 0, 0, 0x138B, 8 + e); // RT_BinaryTagDataBlob
    appendHeader(b, 0, 0, 0x0FAC, e);     // RT_StyleTextProp9Atom
    appendBytes(b, entries);
    return b;
}

} // namespace

// Hello, a paragraph mark and World in two fonts, no paragraph format, at x 100, y 50, 300 by 80
// points: 280 bytes of container body, plus the 12 of the default paragraph run that keeps the
// style atom well-formed.
TEST(TextBytes, HelloWorldFrame) {
    PPTTextFrame f(100, 50, 300, 80);
    Font first;
    first.set_Bold(true);
    first.set_Color(0x0000FF);
    Font second;
    second.set_Italic(true);
    second.set_Color(0x00FF00);
    second.set_Script(5);
    f.addText(L"Hello", first);
    f.addPar(first);
    f.addText(L"World", second);

    Bytes e;
    appendHeader(e, 0xF, 0, 0xF004, 280 + 12);
    appendHeader(e, 2, 202, 0xF00A, 8);
    appendBytes(e, hex("00 08 00 00  00 0A 00 00")); // spid 0x800, fHaveAnchor | fHaveSpt
    appendHeader(e, 3, 12, 0xF00B, 72);
    appendBytes(e, hex("80 00 00 00 00 00"    // lTxid
                       "81 00 00 00 00 00"    // dxTextLeft
                       "82 00 00 00 00 00"    // dyTextTop
                       "83 00 00 00 00 00"    // dxTextRight
                       "84 00 00 00 00 00"    // dyTextBottom
                       "BF 00 02 00 02 00"    // text booleans
                       "81 01 04 00 00 08"    // fillColor: scheme colour 4
                       "83 01 00 00 00 08"    // fillBackColor: scheme colour 0
                       "BF 01 00 00 10 00"    // fill booleans: not filled
                       "C0 01 01 00 00 08"    // lineColor: scheme colour 1
                       "FF 01 10 00 08 00"    // line booleans: no line
                       "01 02 02 00 00 08")); // shadowColor: scheme colour 2
    appendHeader(e, 0, 0, 0xF010, 8);
    appendBytes(e, hex("90 01  20 03  80 0C  10 04")); // top 400, left 800, right 3200, bottom 1040
    appendBytes(e, clientData({}));
    appendHeader(e, 0xF, 0, 0xF00D, 98 + 12);
    appendHeader(e, 0, 0, 0x0F9F, 4);
    appendBytes(e, hex("04 00 00 00"));
    appendHeader(e, 0, 0, 0x0FA0, 22);
    appendBytes(e, utf16("Hello\rWorld"));
    appendHeader(e, 0, 0, 0x0FA1, 12 + 34);
    appendBytes(e, hex("0C 00 00 00  00 00  00 20 00 00  00 00")); // default paragraph run
    appendBytes(e, hex("06 00 00 00  01 00 06 00  81 00  12 00  FF 00 00 FE")); // "Hello\r"
    // "World" and the closing mark: position 5 * 100 / 18 = 27.
    appendBytes(e, hex("06 00 00 00  02 00 0E 00  82 00  12 00  00 FF 00 FE  1B 00"));
    appendHeader(e, 0, 0, 0x0FA6, 6);
    appendBytes(e, hex("01 00 00 00  20 01"));

    QvOutputStream s;
    f.output(s, false);
    EXPECT_TRUE(sameBytes(e, s.bytes()));
    int zero = 0;
    EXPECT_EQ(f.calSize(&zero, true), 292);
    EXPECT_EQ(f.calSize(&zero, false), 62 + 110);
    EXPECT_EQ(TextFrameAccess::calBulletlen(f), 62);

    // The tail form (table cells): client data and client text box only.
    QvOutputStream tail;
    f.output(tail, true);
    EXPECT_TRUE(sameBytes(slice(e, 8 + 16 + 80 + 16, 62 + 118), tail.bytes()));
}

TEST(TextBytes, EveryParagraphField) {
    PPTTextFrame f(0, 0, 100, 100);
    PPTParagraphFormat p;
    p.SetAlignment(1);
    p.SetLineSpace(12);
    p.SetSpaceBefore(6);
    p.SetSpaceAfter(3);
    p.SetLeftMargin(10);
    p.SetIndent(5);
    p.SetBullet(true);
    p.SetbTypeface(true);
    p.SetbuChar(1);
    p.SetbuTypeface(3);
    p.SetbColor(true);
    p.SetbuColor(0x112233);
    p.SetbSize(true);
    p.SetbuSize(80);
    p.SetLevel(1);
    f.setParagraphFormat(p, false);
    Font twenty;
    twenty.set_Size(20);
    f.addText(L"Item", twenty); // default line space 24

    EXPECT_TRUE(sameBytes(hex("05 00 00 00  01 00  FF 7D 00 00"
                              "0F 00  6C 00  03 00  50 00  33 22 11 FE"
                              "01 00  32 00  19 00  0C 00  50 00  28 00"),
                          paragraphRuns(f)));
}

TEST(TextBytes, BulletOnlyAndBulletSizeZero) {
    PPTTextFrame f(0, 0, 100, 100);
    PPTParagraphFormat bullet;
    bullet.SetBullet(true);
    f.setParagraphFormat(bullet, false);
    f.addText(L"a", Font());
    f.addPar(Font());
    PPTParagraphFormat sized;
    sized.SetbSize(true);
    sized.SetAlignment(2);
    f.setParagraphFormat(sized, false);
    f.addText(L"b", Font());
    EXPECT_TRUE(sameBytes(hex("02 00 00 00  00 00  01 20 00 00  01 00  00 00"
                              "02 00 00 00  00 00  48 28 00 00  08 00  19 00  02 00  00 00"), // size 0 -> 25 %
                          paragraphRuns(f)));
}

TEST(TextBytes, EastAsianSymbolAndIndexedRuns) {
    PPTTextFrame f(0, 0, 100, 100);
    Font eastAsian;
    eastAsian.set_Italic(true);
    eastAsian.set_Underline(1);
    eastAsian.set_cfOldtype(true);
    eastAsian.set_Index(1);
    eastAsian.set_Size(20);
    eastAsian.set_Script(5);
    f.addText(L"\x65E5\x672C", eastAsian);
    Font symbol;
    symbol.set_cfSymboltype(true);
    symbol.set_Index(4);
    symbol.set_Color(0x0000FF);
    symbol.set_Script(-3);
    f.addText(L"l", symbol);
    Font indexed;
    indexed.set_Index(5);
    f.addText(L"abc", indexed);
    Font eastAsianAgain = eastAsian; // after a run that is not East Asian: three references
    eastAsianAgain.set_Italic(false);
    eastAsianAgain.set_Underline(0);
    eastAsianAgain.set_Script(0);
    f.addText(L"\x8A9E", eastAsianAgain);

    EXPECT_TRUE(sameBytes(hex("02 00 00 00  06 00 2A 00  86 00  01 00  14 00  19 00"
                              "01 00 00 00  00 00 CF 00  04 00 04 00 04 00  12 00  FF 00 00 FE  F0 FF"
                              "03 00 00 00  00 00 43 00  05 00 05 00  12 00"
                              "02 00 00 00  00 00 63 00  01 00 01 00 01 00  14 00"),
                          characterRuns(f)));
}

TEST(TextBytes, RunGroupsWrapFrom0x1C00To0x400) {
    PPTTextFrame f(0, 0, 100, 100);
    for (int list = 0; list < 9; ++list) {
        Font font;
        font.set_listNumInfo(list);
        f.addText(L"n", font);
        f.addPar(font);
    }
    // The first run opens the numbering; each change of list moves to the next group.
    Bytes e = hex("02 00 00 00  00 00 02 00  12 00");
    const unsigned groups[8] = {0x400, 0x800, 0xC00, 0x1000, 0x1400, 0x1800, 0x1C00, 0x400};
    for (int i = 0; i < 8; ++i) {
        appendU32(e, i == 7 ? 3 : 2);
        appendU32(e, 0x00020000u | groups[i]);
        appendU16(e, groups[i] | 0x80);
        appendU16(e, 18);
    }
    EXPECT_TRUE(sameBytes(e, characterRuns(f)));
}

TEST(TextBytes, BulletAndNumberingExtensions) {
    PPTTextFrame f(0, 0, 100, 100);
    const auto paragraph = [&f](PPTParagraphFormat p, const wchar_t* text) {
        f.setParagraphFormat(p, false);
        f.addText(text, Font());
        f.addPar(Font());
    };
    PPTParagraphFormat bullet;
    bullet.SetBullet(true);
    bullet.SetbuChar(1);
    PPTParagraphFormat arabic;
    arabic.SetBullet(true);
    arabic.SetnumBullet(1);
    PPTParagraphFormat roman = arabic;
    roman.SetnumBullet(3);
    roman.SetStartBulletNum(4);
    PPTParagraphFormat arabicFrom2 = arabic;
    arabicFrom2.SetStartBulletNum(2);
    arabicFrom2.SetSpaceAfter(1); // not equal to the list before it
    PPTParagraphFormat square = bullet;
    square.SetbuChar(4);

    paragraph(bullet, L"a");      // plain bullet start
    paragraph(arabic, L"b");      // numbering from 1 after a bullet
    paragraph(roman, L"c");       // another scheme
    paragraph(square, L"d");      // a bullet after numbering
    paragraph(PPTParagraphFormat(), L"e"); // no bullet: closes the numbering
    paragraph(arabicFrom2, L"f"); // numbering from 2
    paragraph(roman, L"g");

    Bytes entries = hex("00 00 00 00  00 00 00 00 00 00 00 00"
                        "00 00 00 02  01 00  00 00 00 00 00 00 00 00"
                        "00 00 00 03  01 00 07 00 04 00  00 00 00 00 00 00 00 00"
                        "00 00 00 01  03 00 01 00  00 00 00 00 00 00 00 00"
                        "00 00 00 03  01 00 03 00 02 00  00 00 00 00 00 00 00 00"
                        "00 00 00 03  01 00 07 00 04 00  00 00 00 00 00 00 00 00");
    QvOutputStream s;
    f.output(s, true);
    EXPECT_TRUE(sameBytes(clientData(entries), slice(s.bytes(), 0, 62 + entries.size())));
    EXPECT_EQ(TextFrameAccess::calBulletlen(f), 62 + static_cast<int>(entries.size()));
}

TEST(TextBytes, ShapePropertiesFromTheShapeAttributes) {
    PPTTextFrame f(0, 0, 10, 10);
    f.set_Srotate(-90);
    f.set_textleft(1);
    f.set_texttop(2.5f);
    f.set_textright(0.5f);
    f.set_textbottom(7);
    f.set_anchor(4);
    f.set_rotate(true);
    f.set_FillColor(0x00336699);
    f.set_ShapeOpac(50);
    f.set_BackColor(0x00010203);
    f.set_LineColor(0x00FF0000);
    f.set_LineWidth(2);
    f.set_LineStyle(1);
    f.set_ShapeId(5);
    f.addText(L"x", Font());
    QvOutputStream s;
    f.output(s, false);
    Record container = parseRecord(s.bytes(), 0);
    ASSERT_EQ(container.children.size(), 5u);
    const Record& fsp = container.children[0];
    EXPECT_TRUE(sameBytes(hex("05 08 00 00  00 0A 00 00"), slice(s.bytes(), fsp.bodyOffset(), 8)));
    const Record& fopt = container.children[1];
    EXPECT_EQ(fopt.instance, 19u);
    EXPECT_TRUE(sameBytes(hex("04 00 00 00 0E 01"    // rotation 270 (-90)
                              "80 00 00 00 00 00"
                              "81 00 9C 31 00 00"    // 12700
                              "82 00 06 7C 00 00"    // 31750
                              "83 00 CE 18 00 00"    // 6350
                              "84 00 44 5B 01 00"    // 88900
                              "87 00 04 00 00 00"    // anchorText
                              "88 00 01 00 00 00"    // txflTextFlow
                              "BF 00 02 00 02 00"
                              "81 01 99 66 33 00"
                              "82 01 00 80 00 00"    // fillOpacity 50 %
                              "83 01 03 02 01 00"
                              "BF 01 10 00 10 00"    // filled
                              "C0 01 00 00 FF 00"
                              "CB 01 38 63 00 00"    // 2 points
                              "CE 01 02 00 00 00"    // dash style 1 written as 2
                              "D7 01 00 00 00 00"    // end caps
                              "FF 01 00 00 08 00"
                              "01 02 02 00 00 08"),
                          slice(s.bytes(), fopt.bodyOffset(), fopt.length)));
}
