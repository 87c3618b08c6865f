// A table's group byte for byte from the layouts of [MS-ODRAW] 2.2 (OfficeArtSpgrContainer,
// OfficeArtSpContainer, OfficeArtFSPGR, OfficeArtFSP, OfficeArtFOPT, OfficeArtTertiaryFOPT,
// OfficeArtChildAnchor, IMsoArray) and [MS-PPT] 2.7.1 / 2.13 (OfficeArtClientAnchor,
// PlaceholderAtom): the head shape with the table properties, the cells' shapes, and the order of
// the group's children.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/records.h"
#include "table/table_layout.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

// At (50, 100), 300 points wide; rows of 20, 20 and 30 points; two cells per row at offsets 0
// and 150. Laid out: left 50.125, top 100.125, right 350, bottom 170.5, rows 20.125, 20.125 and
// 30.125 points.
PPTPtr<PPTTable> threeRows() {
    PPTPtr<PPTTable> t(new PPTTable(50.0f, 100.0f, 300.0f, 80.0f));
    for (float height : {20.0f, 20.0f, 30.0f}) {
        PPTPtr<PPTRow> row(new PPTRow);
        row->setRowHigh(height);
        for (float offset : {0.0f, 150.0f}) {
            PPTPtr<PPTCell> cell(new PPTCell);
            cell->set_celloffsetx(offset);
            cell->set_cellWidth(150.0f);
            row->addCell(cell);
        }
        t->addRow(row);
    }
    return t;
}

Bytes tailOf(PPTTextFrame& frame) {
    QvOutputStream s;
    frame.output(s, true);
    return s.bytes();
}

// Child i of the table's group as written by the table.
Bytes groupChild(PPTTable& t, std::size_t i) {
    QvOutputStream s;
    t.output(s, false);
    Record group = parseRecord(s.bytes(), 0);
    const Record& child = group.children.at(i);
    return slice(s.bytes(), child.offset, 8 + child.length);
}

} // namespace

TEST(TableBytes, HeadShapeWithTheTableProperties) {
    PPTPtr<PPTTable> t = threeRows();
    int counter = 40;
    t->calSize(&counter, false); // cells 40..47, rules 49..55, group 56 + 7 - 1 = 62
    const Bytes expected = hex(
        "0F 00 04 F0 8A 00 00 00"                         // OfficeArtSpContainer, recLen 126 + 4 x 3
        "01 00 09 F0 10 00 00 00"                         // OfficeArtFSPGR
        "91 01 00 00 21 03 00 00 F0 0A 00 00 54 05 00 00" // 401, 801, 2800, 1364
        "02 00 0A F0 08 00 00 00"                         // OfficeArtFSP, ver 2, inst 0
        "3E 4D 00 00 01 02 00 00"                         // spid 0x4D00 + 62; fGroup | fHaveAnchor
        "23 00 0B F0 0C 00 00 00"                         // OfficeArtFOPT, 2 properties
        "04 00 00 00 00 00"                               // rotation 0
        "7F 00 00 01 00 01"                               // Protection Booleans 0x01000100
        "23 00 22 F1 1E 00 00 00"                         // OfficeArtTertiaryFOPT, 2 properties, 30 bytes
        "9F 03 03 00 00 00"                               // tableProperties 3
        "A0 C3 12 00 00 00"                               // tableRowProperties, fBid | fComplex, 18 bytes
        "03 00 04 00 04 00"                               // nElems 3, nElemsAlloc 4, cbElem 4
        "A1 00 00 00 A1 00 00 00 F1 00 00 00"             // 161, 161, 241
        "00 00 10 F0 08 00 00 00"                         // OfficeArtClientAnchor
        "21 03 91 01 F0 0A 54 05"                         // top 801, left 401, right 2800, bottom 1364
        "0F 00 11 F0 10 00 00 00"                         // OfficeArtClientData
        "00 00 C3 0B 08 00 00 00"                         // RT_PlaceholderAtom
        "00 00 00 00 13 00 A9 04");                       // position 0, PT_Object, PS_Full, unused
    EXPECT_TRUE(sameBytes(expected, groupChild(*t, 0)));
    QvOutputStream s;
    detail::TableAccess::outhead(*t, s);
    EXPECT_TRUE(sameBytes(expected, s.bytes()));
    EXPECT_EQ(detail::TableAccess::calheadsize(*t), 138);
}

TEST(TableBytes, RowListAllocatesInFours) {
    for (int rows = 1; rows <= 9; ++rows) {
        PPTPtr<PPTTable> t(new PPTTable(0, 0, 100, 100));
        for (int r = 0; r < rows; ++r) {
            PPTPtr<PPTRow> row(new PPTRow);
            row->setRowHigh(10);
            row->addCell(PPTPtr<PPTCell>(new PPTCell));
            t->addRow(row);
        }
        Bytes head = groupChild(*t, 0);
        // The complex data follows the two entries of the tertiary property table.
        const std::size_t at = 8 + 24 + 16 + 20 + 8 + 12;
        EXPECT_EQ(readU32(head, 4), static_cast<std::uint32_t>(126 + 4 * rows));
        EXPECT_EQ(readU16(head, at), rows);
        EXPECT_EQ(readU16(head, at + 2), rows <= 4 ? 4 : rows <= 8 ? 8 : 12);
        EXPECT_EQ(readU32(head, at + 6), 81u); // 10.125 points
    }
}

TEST(TableBytes, CellWithAFillAndTextInsets) {
    PPTPtr<PPTTable> t = threeRows();
    PPTPtr<PPTCell> cell = t->item(0)->item(1);
    cell->setCellFill(0x00336699);
    PPTPtr<PPTTextFrame> frame = cell->getCellTextBox();
    frame->addText(L"Hi", Font());
    frame->set_textleft(5.0f);
    frame->set_texttop(2.5f);
    frame->set_textright(10.0f);
    frame->set_textbottom(0.5f);
    int counter = 40;
    t->calSize(&counter, false);

    const Bytes tail = tailOf(*frame);
    int scratch = 0;
    ASSERT_EQ(tail.size(), static_cast<std::size_t>(frame->calSize(&scratch, false) + 8));
    Bytes expected;
    appendHeader(expected, 0xF, 0, 0xF004, static_cast<std::uint32_t>(16 + 104 + 62 + 24 + tail.size()));
    appendBytes(expected, hex(
        "12 00 0A F0 08 00 00 00"  // OfficeArtFSP, ver 2, inst 1 (msosptRectangle)
        "29 4D 00 00 02 0A 00 00"  // spid 0x4D00 + 41; fChild | fHaveAnchor | fHaveSpt
        "03 01 0B F0 60 00 00 00"  // OfficeArtFOPT, 16 properties, 96 bytes
        "7F 00 00 00 04 00"        // Protection Booleans 0x00040000
        "80 00 00 00 00 00"        // lTxid 0
        "81 00 0C F8 00 00"        // dxTextLeft 63500 (5 pt)
        "82 00 06 7C 00 00"        // dyTextTop 31750 (2.5 pt)
        "83 00 18 F0 01 00"        // dxTextRight 127000 (10 pt)
        "84 00 CE 18 00 00"        // dyTextBottom 6350 (0.5 pt)
        "BF 00 00 00 0F 00"        // Text Booleans 0x000F0000
        "81 01 99 66 33 00"        // fillColor: the cell's fill
        "83 01 00 00 00 08"        // fillBackColor: scheme colour 0
        "BF 01 19 00 1F 00"        // Fill Style Booleans 0x001F0019: filled
        "C0 01 01 00 00 08"        // lineColor: scheme colour 1
        "CB 01 35 25 00 00"        // lineWidth 9525
        "FF 01 06 00 0E 00"        // Line Style Booleans 0x000E0006: no line
        "01 02 02 00 00 08"        // shadowColor: scheme colour 2
        "3F 02 00 00 03 00"        // Shadow Style Booleans 0x00030000
        "7F 03 00 00 0F 00"        // Callout Booleans 0x000F0000
        "93 00 22 F1 36 00 00 00"  // OfficeArtTertiaryFOPT, 9 properties, 54 bytes
        "7F 01 00 00 40 00"        // Geometry Booleans 0x00400000
        "BF 01 00 00 20 00"        // Fill Style Booleans 0x00200000
        "FF 01 00 00 C0 00"        // Line Style Booleans 0x00C00000
        "BF 03 00 82 00 82"        // Group Shape Booleans 0x82008200
        "7F 05 06 00 4E 00  BF 05 06 00 4E 00  FF 05 06 00 4E 00  3F 06 06 00 4E 00"
        "7F 06 06 00 0E 00"        // Column Line Style Booleans 0x000E0006
        "00 00 0F F0 10 00 00 00"  // OfficeArtChildAnchor
        "41 06 00 00 21 03 00 00 F0 0A 00 00 C2 03 00 00")); // 1601, 801, 2800, 962
    appendBytes(expected, tail);
    // Cells go last row first, last cell first: (0, 1) is the fifth of six.
    EXPECT_TRUE(sameBytes(expected, groupChild(*t, 5)));
    QvOutputStream own;
    cell->out_Stream(own);
    EXPECT_TRUE(sameBytes(expected, own.bytes()));
    EXPECT_EQ(cell->cal_Size(), static_cast<int>(expected.size()));
}

TEST(TableBytes, CellWithoutFillAnchoredInTheMiddle) {
    PPTPtr<PPTTable> t = threeRows();
    PPTPtr<PPTCell> cell = t->item(1)->item(0);
    PPTPtr<PPTTextFrame> frame = cell->getCellTextBox();
    frame->set_anchor(1);
    int counter = 40;
    t->calSize(&counter, false);

    const Bytes tail = tailOf(*frame); // an empty cell is written with one space
    Bytes expected;
    appendHeader(expected, 0xF, 0, 0xF004, static_cast<std::uint32_t>(16 + 110 + 62 + 24 + tail.size()));
    appendBytes(expected, hex(
        "12 00 0A F0 08 00 00 00"
        "2B 4D 00 00 02 0A 00 00"  // spid 0x4D00 + 43
        "13 01 0B F0 66 00 00 00"  // OfficeArtFOPT, 17 properties, 102 bytes
        "7F 00 00 00 04 00  80 00 00 00 00 00"
        "81 00 00 00 00 00  82 00 00 00 00 00  83 00 00 00 00 00  84 00 00 00 00 00"
        "87 00 01 00 00 00"        // anchorText 1, between dyTextBottom and the text booleans
        "BF 00 00 00 0F 00"
        "81 01 04 00 00 08"        // fillColor: scheme colour 4
        "83 01 00 00 00 08"
        "BF 01 09 00 1F 00"        // Fill Style Booleans 0x001F0009: not filled
        "C0 01 01 00 00 08  CB 01 35 25 00 00  FF 01 06 00 0E 00"
        "01 02 02 00 00 08  3F 02 00 00 03 00  7F 03 00 00 0F 00"
        "93 00 22 F1 36 00 00 00"
        "7F 01 00 00 40 00  BF 01 00 00 20 00  FF 01 00 00 C0 00  BF 03 00 82 00 82"
        "7F 05 06 00 4E 00  BF 05 06 00 4E 00  FF 05 06 00 4E 00  3F 06 06 00 4E 00"
        "7F 06 06 00 0E 00"
        "00 00 0F F0 10 00 00 00"
        "91 01 00 00 C2 03 00 00 41 06 00 00 63 04 00 00")); // 401, 962, 1601, 1123
    appendBytes(expected, tail);
    EXPECT_TRUE(sameBytes(expected, groupChild(*t, 4)));
    const std::vector<std::uint8_t> chars = {0x20, 0x00};
    EXPECT_NE(std::search(tail.begin(), tail.end(), chars.begin(), chars.end()), tail.end());
}

TEST(TableBytes, GroupHoldsHeadThenCellsBackwardsThenRules) {
    PPTPtr<PPTTable> t(new PPTTable(100, 50, 300, 40));
    for (int r = 0; r < 2; ++r) {
        PPTPtr<PPTRow> row(new PPTRow);
        row->setRowHigh(20);
        for (float offset : {0.0f, 100.0f}) {
            PPTPtr<PPTCell> cell(new PPTCell);
            cell->set_celloffsetx(offset);
            cell->set_cellWidth(100.0f);
            row->addCell(cell);
        }
        t->addRow(row);
    }
    int counter = 40;
    t->calSize(&counter, false);
    QvOutputStream s;
    t->output(s, false);
    Record group = parseRecord(s.bytes(), 0);
    EXPECT_EQ(group.version, 0xFu);
    EXPECT_EQ(group.type, 0xF003u);
    int zero = 0;
    EXPECT_EQ(group.length, static_cast<std::uint32_t>(t->calSize(&zero, true)));
    std::vector<std::uint32_t> spids;
    for (const Record& child : group.children) {
        ASSERT_EQ(child.type, 0xF004u);
        for (const Record& atom : child.children) {
            if (atom.type == 0xF00A) spids.push_back(readU32(s.bytes(), atom.bodyOffset()) - 0x4D00);
        }
    }
    EXPECT_EQ(spids, (std::vector<std::uint32_t>{57, 44, 43, 41, 40, 46, 47, 48, 49, 50, 51}));
    // The rules are the 172-byte table-rule records.
    for (std::size_t i = 5; i < group.children.size(); ++i) EXPECT_EQ(group.children[i].length, 164u);
}
