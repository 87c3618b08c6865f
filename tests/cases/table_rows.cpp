// Tables byte for byte: the group of shapes that stores a table ([MS-ODRAW] 2.2 SpgrContainer,
// FSPGR, FSP, FOPT, TertiaryFOPT, ChildAnchor, IMsoArray; [MS-PPT] 2.7.1 ClientAnchor and 2.13
// PlaceholderAtom): the head shape with the table properties, the cells last first, the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "cases/decks.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

// The table's group inside the slide's group, and its shapes.
const std::vector<unsigned> kTableShape = {0x03EE, 0x040C, 0xF002, 0xF003, 0xF003, 0xF004};

// A table at (x, y), w wide, with rows of the given heights; each row's cells start at the given
// offsets, each as wide as the distance to the next (the last one reaches the right edge).
PPTPtr<PPTTable> grid(float x, float y, float w, const std::vector<float>& heights,
                      const std::vector<std::vector<float>>& offsets) {
    PPTPtr<PPTTable> table(new PPTTable(x, y, w, 999.0f));
    for (std::size_t r = 0; r < heights.size(); ++r) {
        PPTPtr<PPTRow> row(new PPTRow);
        row->setRowHigh(heights[r]);
        const std::vector<float>& at = offsets[std::min(r, offsets.size() - 1)];
        for (std::size_t c = 0; c < at.size(); ++c) {
            PPTPtr<PPTCell> cell(new PPTCell);
            cell->set_celloffsetx(at[c]);
            if (c + 1 < at.size()) cell->set_cellWidth(at[c + 1] - at[c]);
            row->addCell(cell);
        }
        table->addRow(row);
    }
    return table;
}

// Edges and rows that fall on the eighth-point grid once stepped: left 100, top 50, right 400,
// rows of 20 points; change sets merges and border flags as cell (row, column).
std::function<PPTPtr<PPTTable>()> onGrid(int rows, std::vector<std::vector<float>> offsets,
                                         std::function<void(PPTTable&)> change = {}) {
    return [=] {
        PPTPtr<PPTTable> t = grid(99.875f, 49.875f, 300.125f, std::vector<float>(rows, 19.875f), offsets);
        if (change) change(*t);
        return t;
    };
}
PPTPtr<PPTCell> at(PPTTable& t, int r, int c) { return t.item(r)->item(c); }

// At (50, 100), 300 points wide; rows of 20, 20 and 30 points (9 rows: 20 after the third);
// two 150-point cells per row. Laid out on the eighth-point grid: left 50.125, top 100.125,
// right 350, bottom 170.5, rows 20.125, 20.125 and 30.125. Alone on a slide it numbers its
// shapes from 2 + 32 = 34.
Deck table(std::function<void(PPTTable&)> change = {}, int rows = 3) {
    return oneShape([change, rows] {
        std::vector<float> heights(static_cast<std::size_t>(rows), 20.0f);
        heights[2] = 30.0f;
        PPTPtr<PPTTable> t = grid(50, 100, 300, heights, {{0, 150}});
        if (change) change(*t);
        return PPTPtr<PPTShape>(t);
    });
}

// A cell's text: client data without entries, then the client text box.
std::string cellText(const std::string& utf16) {
    const unsigned n = static_cast<unsigned>(hex(utf16).size());
    char head[160];
    std::snprintf(head, sizeof head, "0F 00 0D F0 %02X 00 00 00  00 00 9F 0F 04 00 00 00 04 00 00 00 00 00 A0 0F %02X 00 00 00",
                  34 + n, n);
    return clientData(0, "") + head + utf16 + "00 00 A6 0F 06 00 00 00 01 00 00 00 20 01";
}

// The tertiary properties every cell has: geometry, fill, line and group booleans, and the line
// style booleans of its four sides and columns.
const char* const kCellTertiary =
    "93 00 22 F1 36 00 00 00 7F 01 00 00 40 00 BF 01 00 00 20 00 FF 01 00 00 C0 00 BF 03 00 82 00 82"
    "7F 05 06 00 4E 00  BF 05 06 00 4E 00  FF 05 06 00 4E 00  3F 06 06 00 4E 00  7F 06 06 00 0E 00";

const Row kRows[] = {
    // The head shape: the table's box, tableProperties 3 and the row heights (IMsoArray of three
    // in an allocation of four) in master units: 161, 161, 241; a PT_Object placeholder.
    {"head_shape", table(),
     {{kTableShape, golden("table", "head_shape")}}},
    // Nine rows: the row list is allocated in fours (12).
    {"row_list_in_fours", table({}, 9), {{kTableShape, "09 00 0C 00 04 00", 0, 8 + 24 + 16 + 20 + 8 + 12}}},
    // Cell (0, 1), filled, with text insets: the fifth shape of the group (cells go last row
    // first, last cell first).
    {"cell_with_fill_and_insets", table([](PPTTable& t) {
         PPTPtr<PPTCell> cell = t.item(0)->item(1);
         cell->setCellFill(0x00336699);
         PPTPtr<PPTTextFrame> frame = cell->getCellTextBox();
         frame->addText(L"Hi", Font());
         frame->set_textleft(5.0f);
         frame->set_texttop(2.5f);
         frame->set_textright(10.0f);
         frame->set_textbottom(0.5f);
     }),
     {{kTableShape,
       "0F 00 04 F0 3A 01 00 00  12 00 0A F0 08 00 00 00  23 4D 00 00 02 0A 00 00" // spid 0x4D00 + 35
       "03 01 0B F0 60 00 00 00 7F 00 00 00 04 00 80 00 00 00 00 00 81 00 0C F8 00 00 82 00 06 7C 00 00 83 00 18 F0"
       "01 00 84 00 CE 18 00 00 BF 00 00 00 0F 00 81 01 99 66 33 00 83 01 00 00 00 08 BF 01 19 00 1F 00 C0 01 01 00"
       "00 08"
       "CB 01 35 25 00 00  FF 01 06 00 0E 00  01 02 02 00 00 08  3F 02 00 00 03 00  7F 03 00 00 0F 00" +
           std::string(kCellTertiary) +
           "00 00 0F F0 10 00 00 00  41 06 00 00 21 03 00 00 F0 0A 00 00 C2 03 00 00" + cellText("48 00 69 00"),
       5}}},
    // Cell (1, 0), not filled (fill booleans 0x001F0009), its text anchored in the middle (anchorText
    // between dyTextBottom and the text booleans), at (50.125, 120.25) - (200.125, 140.375).
    {"empty_cell_in_the_middle", table([](PPTTable& t) { t.item(1)->item(0)->getCellTextBox()->set_anchor(1); }),
     {{kTableShape, "87 00 01 00 00 00 BF 00 00 00 0F 00 81 01 04 00 00 08 83 01 00 00 00 08 BF 01 09 00 1F 00", 4, 68},
      {kTableShape, "91 01 00 00 C2 03 00 00 41 06 00 00 63 04 00 00", 4, 204}}},
    // A 2 x 2 table: head (group 51), cells last first (38, 37, 35, 34), then six rules in the
    // table-rule form, numbered from 40.
    {"group_order_and_rules", oneShape([] { return PPTPtr<PPTShape>(onGrid(2, {{0, 100}})()); }),
     {{kTableShape, "33 4D 00 00", 0, 24 + 8 + 8}, {kTableShape, "26 4D 00 00", 1, 16},
      {kTableShape, "25 4D 00 00", 2, 16}, {kTableShape, "23 4D 00 00", 3, 16},
      {kTableShape, "22 4D 00 00", 4, 16},
      {kTableShape, golden("table", "group_order_and_rules"), 5, 8},
      {kTableShape, "2D 4D 00 00", 10, 16}}},
};

class TableRows : public ::testing::TestWithParam<Row> {};
TEST_P(TableRows, FileHoldsTheRecords) { runRow(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Tables, TableRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Layout and grid lines, read from the child anchors of the table's shapes -----------------

using Box = std::array<float, 4>; // left, top, right, bottom (a rule: x1, y1, x2, y2) in points
Box h(float x1, float x2, float y) { return {x1, y, x2, y}; }
Box v(float x, float y1, float y2) { return {x, y1, x, y2}; }

struct Grid {
    const char* name;
    std::function<PPTPtr<PPTTable>()> make;
    std::vector<Box> cells;                 // in the order written: last row first, last cell first
    int ruleCount;                          // -1: not checked
    std::vector<std::pair<int, Box>> rules; // index (-1: the last) and line
};
void PrintTo(const Grid& g, std::ostream* os) { *os << g.name; }


const Grid kGrids[] = {
    // Top 100.0 and rows 20 and 30 step up to 100.125, 20.125 and 30.125; the right edge stays.
    {"stepped_edges", [] { return grid(50, 100, 300, {20, 30}, {{0, 120}}); },
     {{170.125f, 120.25f, 350, 150.375f}, {50.125f, 120.25f, 170.125f, 150.375f},
      {170.125f, 100.125f, 350, 120.25f}, {50.125f, 100.125f, 170.125f, 120.25f}},
     6, {}},
    {"plain_two_by_two", onGrid(2, {{0, 100}}),
     {{200, 70, 400, 90}, {100, 70, 200, 90}, {200, 50, 400, 70}, {100, 50, 200, 70}},
     6, {{0, h(100, 400, 50)}, {1, h(100, 400, 70)}, {2, h(100, 400, 90)}, {3, v(100, 50, 90)},
         {4, v(200, 50, 90)}, {5, v(400, 50, 90)}}},
    // Border flags of outer cells break the border; those of inner cells change nothing.
    {"top_border_broken", onGrid(2, {{0, 100}}, [](PPTTable& t) { at(t, 0, 0)->set_noTopLine(true); }), {},
     6, {{0, h(200, 400, 50)}}},
    {"right_and_bottom_broken", onGrid(3, {{0, 100}}, [](PPTTable& t) {
         at(t, 2, 1)->set_noRightLine(true);
         at(t, 2, 1)->set_noBottomLine(true);
     }),
     {}, -1, {{3, h(100, 200, 110)}, {-1, v(400, 50, 90)}}},
    // A vertical merge: one cell over three rows, the line between the rows broken under it.
    {"merge_down_three_rows", onGrid(3, {{0, 100}}, [](PPTTable& t) {
         at(t, 0, 0)->set_Downmerge(true);
         at(t, 1, 0)->set_Upmerge(true);
         at(t, 2, 0)->set_Upmerge(true);
     }),
     {{200, 90, 400, 110}, {200, 70, 400, 90}, {200, 50, 400, 70}, {100, 50, 200, 110}}, -1, {}},
    {"merge_in_the_middle_column", onGrid(2, {{0, 100, 200}}, [](PPTTable& t) {
         at(t, 0, 1)->set_Downmerge(true);
         at(t, 1, 1)->set_Upmerge(true);
     }),
     {}, 8, {{0, h(100, 400, 50)}, {1, h(100, 200, 70)}, {2, h(300, 400, 70)}, {3, h(100, 400, 90)},
             {4, v(100, 50, 90)}, {5, v(200, 50, 90)}, {6, v(300, 50, 90)}, {7, v(400, 50, 90)}}},
    // Merge flags with nothing to merge with: ordinary cells, lines kept.
    {"merges_at_the_edges", onGrid(2, {{0, 100}}, [](PPTTable& t) {
         at(t, 0, 1)->set_Upmerge(true);
         at(t, 1, 1)->set_Downmerge(true);
     }),
     {{200, 70, 400, 90}, {100, 70, 200, 90}, {200, 50, 400, 70}, {100, 50, 200, 70}}, 6, {{1, h(100, 400, 70)}}},
    {"first_row_with_both_flags", onGrid(2, {{0, 100}}, [](PPTTable& t) {
         at(t, 0, 0)->set_Upmerge(true);
         at(t, 0, 0)->set_Downmerge(true);
         at(t, 1, 0)->set_Upmerge(true);
     }),
     {{200, 70, 400, 90}, {200, 50, 400, 70}, {100, 50, 200, 90}}, -1, {}},
    // A merge stops at a row without a cell at its offset; a cell over two columns breaks the
    // column line.
    {"merge_stops_at_a_gap", onGrid(3, {{0, 100}, {0}, {0, 100}}, [](PPTTable& t) {
         at(t, 0, 1)->set_Downmerge(true);
         at(t, 2, 1)->set_Upmerge(true);
     }),
     {{200, 90, 400, 110}, {100, 90, 200, 110}, {100, 70, 400, 90}, {200, 50, 400, 70}, {100, 50, 200, 70}}, -1, {}},
    {"cell_over_two_columns", onGrid(3, {{0, 100, 200}, {0, 200}, {0, 100, 200}}), {},
     9, {{4, v(100, 50, 110)}, {5, v(200, 50, 70)}, {6, v(200, 90, 110)}, {7, v(300, 50, 110)}}},
};

std::array<int, 4> masterUnits(const Box& b) {
    return {static_cast<int>(b[0] * 8), static_cast<int>(b[1] * 8), static_cast<int>(b[2] * 8),
            static_cast<int>(b[3] * 8)};
}

class TableGrids : public ::testing::TestWithParam<Grid> {};
TEST_P(TableGrids, CellsAndRulesWhereTheLayoutPutsThem) {
    const Grid& g = GetParam();
    const StreamMap streams = saveDeck(oneShape([&g] { return PPTPtr<PPTShape>(g.make()); }));
    EXPECT_EQ(describeProblems(verifyPresentation(streams)), "");
    const Bytes& d = streams.at(u"PowerPoint Document");
    std::vector<std::array<int, 4>> cells, rules;
    for (int i = 1;; ++i) {
        const Bytes shape = recordAt(d, kTableShape, i);
        if (shape.empty()) break;
        const Bytes anchor = recordAt(shape, {0xF004, 0xF00F}, 0);
        ASSERT_EQ(anchor.size(), 24u);
        const std::array<int, 4> box = {static_cast<int>(readU32(anchor, 8)), static_cast<int>(readU32(anchor, 12)),
                                        static_cast<int>(readU32(anchor, 16)), static_cast<int>(readU32(anchor, 20))};
        (readU16(shape, 8) >> 4 == 1 ? cells : rules).push_back(box); // FSP instance 1: a cell
    }
    if (!g.cells.empty()) {
        std::vector<std::array<int, 4>> want;
        for (const Box& b : g.cells) want.push_back(masterUnits(b));
        EXPECT_EQ(cells, want);
    }
    if (g.ruleCount >= 0) EXPECT_EQ(rules.size(), static_cast<std::size_t>(g.ruleCount));
    for (const auto& r : g.rules) {
        const std::size_t i = r.first < 0 ? rules.size() - 1 : static_cast<std::size_t>(r.first);
        ASSERT_LT(i, rules.size());
        EXPECT_EQ(rules[i], masterUnits(r.second)) << "rule " << r.first;
    }
}
INSTANTIATE_TEST_SUITE_P(Tables, TableGrids, ::testing::ValuesIn(kGrids),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
