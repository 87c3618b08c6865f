// Lines, rectangles and freeforms on a slide, and a table's grid line, byte for byte from the
// layouts of [MS-ODRAW] 2.2 (OfficeArtSpContainer, OfficeArtFSP, OfficeArtFOPT, IMsoArray,
// MSOPATHINFO) and [MS-PPT] 2.7.1 (OfficeArtClientAnchor).
#include <gtest/gtest.h>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

constexpr int kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

Bytes written(PPTShape& shape, bool flag) {
    QvOutputStream s;
    shape.output(s, flag);
    return s.bytes();
}

} // namespace

// A grid line of a table from (10, 20) to (110, 20) points with shape id 40.
TEST(ShapeBytes, TableRuleRecord) {
    PPTLine rule(10, 20, 110, 20);
    rule.set_ShapeId(40);
    rule.set_LineColor(kRed); // ignored: a rule always looks the same
    rule.set_LineStyle(2);
    rule.set_LineWidth(5);
    const Bytes expected = hex(
        "0F 00 04 F0 A4 00 00 00"             // OfficeArtSpContainer, recLen 164
        "42 01 0A F0 08 00 00 00"             // OfficeArtFSP, ver 2, inst 0x014 msosptLine
        "28 4D 00 00 02 0A 00 00"             // spid 0x4D28; fChild | fHaveAnchor | fHaveSpt
        "A3 00 0B F0 3C 00 00 00"             // OfficeArtFOPT, ver 3, 10 properties, 60 bytes
        "BF 00 00 00 0F 00"                   // Text Boolean Properties 0x000F0000
        "BF 01 00 00 10 00"                   // Fill Style Booleans: fUsefFilled, not filled
        "C0 01 01 00 00 08"                   // lineColor: scheme colour 1
        "CB 01 35 25 00 00"                   // lineWidth 9525 EMU
        "D7 01 01 00 00 00"                   // lineEndCapStyle 1
        "FF 01 0C 00 0E 00"                   // Line Style Booleans 0x000E000C
        "01 02 02 00 00 08"                   // shadowColor: scheme colour 2
        "3F 02 00 00 03 00"                   // Shadow Style Booleans 0x00030000
        "BF 02 00 00 08 00"                   // 3D Object Booleans 0x00080000
        "7F 03 00 00 0F 00"                   // Callout Booleans 0x000F0000
        "83 00 22 F1 30 00 00 00"             // OfficeArtTertiaryFOPT, 8 properties, 48 bytes
        "7F 01 00 00 40 00"                   // Geometry Booleans 0x00400000
        "FF 01 00 00 80 00"                   // Line Style Booleans 0x00800000
        "BF 03 00 82 00 82"                   // Group Shape Booleans 0x82008200
        "7F 05 06 00 4E 00  BF 05 06 00 4E 00" // left, top line style booleans 0x004E0006
        "FF 05 06 00 4E 00  3F 06 06 00 4E 00" // right, bottom
        "7F 06 06 00 0E 00"                   // Column Line Style Booleans 0x000E0006
        "00 00 0F F0 10 00 00 00"             // OfficeArtChildAnchor
        "50 00 00 00 A0 00 00 00 70 03 00 00 A0 00 00 00"); // 80, 160, 880, 160
    ASSERT_EQ(expected.size(), 172u);
    EXPECT_TRUE(sameBytes(expected, written(rule, true)));
    EXPECT_EQ(rule.calSize(nullptr, false), 164);
}

TEST(ShapeBytes, TableRuleAnchorIsTruncatedAndUnordered) {
    PPTLine rule(10.1f, 20, -3.9f, 5.5f); // 80.8 -> 80; -31.2 -> -31; written right to left
    rule.set_ShapeId(1);
    Bytes b = written(rule, true);
    ASSERT_EQ(b.size(), 172u);
    EXPECT_TRUE(sameBytes(hex("01 4D 00 00"), slice(b, 16, 4)));
    EXPECT_TRUE(sameBytes(hex("50 00 00 00 A0 00 00 00 E1 FF FF FF 2C 00 00 00"), slice(b, 156, 16)));
}

// A red, 1 pt, dashed line from (216, 144) to (72, 72) points: drawn up and to the left.
TEST(ShapeBytes, LineRecord) {
    PPTLine line(216, 144, 72, 72);
    line.set_ShapeId(2);
    line.set_LineColor(kRed);
    line.set_LineWidth(1.0f);
    line.set_LineStyle(1);
    const Bytes expected = hex(
        "0F 00 04 F0 46 00 00 00"             // OfficeArtSpContainer, recLen 70
        "42 01 0A F0 08 00 00 00"             // OfficeArtFSP, msosptLine
        "02 08 00 00 C0 0A 00 00"             // spid 0x802; fFlipH | fFlipV | fHaveAnchor | fHaveSpt
        "53 00 0B F0 1E 00 00 00"             // OfficeArtFOPT, 5 properties, 30 bytes
        "BF 01 00 00 10 00"                   // not filled
        "C0 01 FF 00 00 00"                   // lineColor red
        "CB 01 9C 31 00 00"                   // lineWidth 12700 EMU
        "CE 01 01 00 00 00"                   // lineDashing msolineDashSys
        "FF 01 08 00 08 00"                   // fUsefLine | fLine
        "00 00 10 F0 08 00 00 00"             // OfficeArtClientAnchor, 8 bytes
        "40 02 40 02 C0 06 80 04");           // top 576, left 576, right 1728, bottom 1152
    EXPECT_TRUE(sameBytes(expected, written(line, false)));
    EXPECT_EQ(line.calSize(nullptr, true), 70);
}

// A rectangle at (288, 72), 144 x 72 points, outlined blue, filled green at 50 % opacity.
TEST(ShapeBytes, RectangleRecord) {
    PPTRectangle rect(288, 72, 144, 72);
    rect.set_ShapeId(3);
    rect.set_LineColor(kBlue);
    rect.set_FillColor(kGreen);
    rect.set_ShapeOpac(50);
    const Bytes expected = hex(
        "0F 00 04 F0 4C 00 00 00"             // OfficeArtSpContainer, recLen 76
        "12 00 0A F0 08 00 00 00"             // OfficeArtFSP, inst 1 msosptRectangle
        "03 08 00 00 00 0A 00 00"             // spid 0x803; fHaveAnchor | fHaveSpt
        "63 00 0B F0 24 00 00 00"             // OfficeArtFOPT, 6 properties, 36 bytes
        "81 01 00 FF 00 00"                   // fillColor green
        "82 01 00 80 00 00"                   // fillOpacity 0x8000 (0.5 in 16.16)
        "BF 01 10 00 10 00"                   // fUsefFilled | fFilled
        "C0 01 00 00 FF 00"                   // lineColor blue
        "CB 01 35 25 00 00"                   // lineWidth 9525 EMU (0.75 pt)
        "FF 01 08 00 08 00"                   // line drawn
        "00 00 10 F0 08 00 00 00"
        "40 02 00 09 80 0D 80 04");           // top 576, left 2304, right 3456, bottom 1152
    EXPECT_TRUE(sameBytes(expected, written(rect, false)));
    EXPECT_EQ(rect.calSize(nullptr, true), 76);
}

// An open polyline through (72, 216), (144, 288), (216, 216) points, red.
TEST(ShapeBytes, OpenFreeformRecord) {
    PPTPolyLine poly(72, 216, 144, 72);
    for (auto xy : {std::make_pair(72.f, 216.f), std::make_pair(144.f, 288.f), std::make_pair(216.f, 216.f)}) {
        _Tpoint p{xy.first, xy.second};
        poly.addPoint(p);
    }
    poly.set_ShapeId(4);
    poly.set_LineColor(kRed);
    const Bytes expected = hex(
        "0F 00 04 F0 7E 00 00 00"             // OfficeArtSpContainer, recLen 126
        "02 00 0A F0 08 00 00 00"             // OfficeArtFSP, inst 0 msosptNotPrimitive
        "04 08 00 00 00 0A 00 00"             // spid 0x804
        "93 00 0B F0 56 00 00 00"             // OfficeArtFOPT, 9 properties, 86 bytes
        "42 01 80 04 00 00"                   // geoRight 1152
        "43 01 40 02 00 00"                   // geoBottom 576
        "44 01 00 00 00 00"                   // shapePath msoshapeLines (open)
        "45 81 0C 00 00 00"                   // pVertices, complex: 3 x 4 bytes, header not counted
        "46 81 0E 00 00 00"                   // pSegmentInfo, complex, 14 bytes
        "BF 01 00 00 10 00"                   // not filled
        "C0 01 FF 00 00 00"                   // lineColor red
        "CB 01 35 25 00 00"
        "FF 01 08 00 08 00"
        "03 00 03 00 F0 FF"                   // IMsoArray: 3 of 3, cbElem 0xFFF0 (two s16)
        "00 00 00 00  40 02 40 02  80 04 00 00" // (0, 0), (576, 576), (1152, 0)
        "04 00 04 00 02 00"                   // IMsoArray: 4 of 4, 2 bytes each
        "00 40 01 00 01 00 00 80"             // moveTo, lineTo, lineTo, end
        "00 00 10 F0 08 00 00 00"
        "C0 06 40 02 C0 06 00 09");           // top 1728, left 576, right 1728, bottom 2304
    EXPECT_TRUE(sameBytes(expected, written(poly, false)));
    EXPECT_EQ(poly.calSize(nullptr, true), 126);
}

// A closed triangle through (288, 288), (360, 216), (432, 288) points, filled green.
TEST(ShapeBytes, ClosedFreeformRecord) {
    PPTPolyLine poly(288, 216, 144, 72);
    for (auto xy : {std::make_pair(288.f, 288.f), std::make_pair(360.f, 216.f), std::make_pair(432.f, 288.f)}) {
        _Tpoint p{xy.first, xy.second};
        poly.addPoint(p);
    }
    poly.set_PolyFlag(true);
    poly.set_ShapeId(5);
    poly.set_LineColor(kBlue);
    poly.set_FillColor(kGreen);
    const Bytes expected = hex(
        "0F 00 04 F0 8C 00 00 00"             // OfficeArtSpContainer, recLen 140
        "02 00 0A F0 08 00 00 00  05 08 00 00 00 0A 00 00"
        "A3 00 0B F0 64 00 00 00"             // OfficeArtFOPT, 10 properties, 100 bytes
        "42 01 80 04 00 00  43 01 40 02 00 00"
        "44 01 01 00 00 00"                   // shapePath msoshapeLinesClosed
        "45 81 10 00 00 00"                   // pVertices: 4 x 4 bytes, header not counted
        "46 81 12 00 00 00"                   // pSegmentInfo, 18 bytes
        "81 01 00 FF 00 00"                   // fillColor green
        "BF 01 10 00 10 00"                   // filled
        "C0 01 00 00 FF 00  CB 01 35 25 00 00  FF 01 08 00 08 00"
        "04 00 04 00 F0 FF"
        "00 00 40 02  40 02 00 00  80 04 40 02  00 00 40 02" // the first point repeated last
        "06 00 06 00 02 00"
        "00 40 01 00 01 00 01 00 01 60 00 80" // moveTo, 3 x lineTo, close, end
        "00 00 10 F0 08 00 00 00"
        "C0 06 00 09 80 0D 00 09");           // top 1728, left 2304, right 3456, bottom 2304
    EXPECT_TRUE(sameBytes(expected, written(poly, false)));
}
