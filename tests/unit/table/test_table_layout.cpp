// The layout pass of a table: eighth-point stepping, cell rectangles, merges, text frame
// positions, shape ids, the column list, repeated layouts and what the pass refuses.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "table_helpers.h"

using namespace Quorv;
using namespace table_test;
using Access = Quorv::detail::TableAccess;

namespace {

float f(const Length& l) { return static_cast<float>(l); }

template <class F>
QvException thrown(F fn) {
    try {
        fn();
    } catch (const QvException& e) {
        return e;
    }
    ADD_FAILURE() << "no QvException";
    return QvException(0, "");
}

} // namespace

TEST(TableLayout, EighthPointStepAlwaysMovesUp) {
    EXPECT_EQ(detail::eighthPointStep(20.0f), 20.125f);
    EXPECT_EQ(detail::eighthPointStep(20.06f), 20.125f);
    EXPECT_EQ(detail::eighthPointStep(20.125f), 20.25f);
    EXPECT_EQ(detail::eighthPointStep(0.0f), 0.125f);
    EXPECT_EQ(detail::eighthPointStep(-1.0f), -0.875f); // (trunc(-8) + 1) / 8
    EXPECT_EQ(detail::eighthPointStep(3.0e30f), 3.0e30f); // no eighths left that far out
}

TEST(TableLayout, SteppedEdgesRowsAndCellRectangles) {
    // Top 100.0, rows 20.0 and 30.0: top 100.125, rows 20.125 and 30.125, bottom 150.375,
    // whatever bottom the host gave (999 here).
    PPTPtr<PPTTable> t = grid(50.0f, 100.0f, 300.0f, {20.0f, 30.0f}, {{0.0f, 120.0f}});
    layOut(*t);
    EXPECT_EQ(Access::tableTop(*t), 100.125f);
    EXPECT_EQ(Access::tableLeft(*t), 50.125f);
    EXPECT_EQ(Access::tableRight(*t), 350.0f); // the right edge stays
    EXPECT_EQ(Access::tableBottom(*t), 150.375f);
    EXPECT_EQ(Access::boundsTop(*t), 100.125f);
    EXPECT_EQ(Access::boundsLeft(*t), 50.125f);
    EXPECT_EQ(Access::boundsRight(*t), 350.0f);
    EXPECT_EQ(Access::boundsBottom(*t), 150.375f);
    EXPECT_EQ(f(t->item(0)->getRowHigh()), 20.125f);
    EXPECT_EQ(f(t->item(1)->getRowHigh()), 30.125f);

    PPTPtr<PPTCell> a = cellAt(*t, 0, 0), b = cellAt(*t, 0, 1), c = cellAt(*t, 1, 0), d = cellAt(*t, 1, 1);
    for (const auto& cell : {a, b, c, d}) EXPECT_TRUE(cell->get_Cell());
    EXPECT_EQ(f(a->get_cellLeft()), 50.125f);
    EXPECT_EQ(f(a->get_cellTop()), 100.125f);
    EXPECT_EQ(f(a->get_cellHight()), 20.125f);
    EXPECT_EQ(f(a->get_cellWidth()), 120.0f);
    EXPECT_EQ(f(b->get_cellLeft()), 170.125f);
    EXPECT_EQ(f(b->get_cellWidth()), 350.0f - 170.125f); // stretched to the right edge
    EXPECT_EQ(f(d->get_cellTop()), 120.25f);
    EXPECT_EQ(f(d->get_cellHight()), 30.125f); // the last row ends at the bottom edge

    // The text frames sit on the cells.
    std::array<float, 4> box = frameBox(*b->getCellTextBox());
    EXPECT_EQ(box, (std::array<float, 4>{170.125f, 100.125f, 350.0f, 120.25f}));
    box = frameBox(*c->getCellTextBox());
    EXPECT_EQ(box, (std::array<float, 4>{50.125f, 120.25f, 170.125f, 150.375f}));
}

TEST(TableLayout, OneRowTableAndAHostWidthForTheLastCell) {
    PPTPtr<PPTTable> t = grid(10.0f, 10.0f, 200.0f, {15.0f}, {{0.0f, 50.0f}});
    cellAt(*t, 0, 1)->set_cellWidth(500.0f); // overwritten: the last cell ends at the right edge
    layOut(*t);
    EXPECT_EQ(f(cellAt(*t, 0, 0)->get_cellHight()), 15.125f);
    EXPECT_EQ(f(cellAt(*t, 0, 1)->get_cellHight()), 15.125f);
    EXPECT_EQ(f(cellAt(*t, 0, 1)->get_cellWidth()), 210.0f - 60.125f);
}

TEST(TableLayout, ShapeIdsOfCellsRulesAndGroup) {
    // 2 x 2 from v: cells v, v+1, v+3, v+4; six rules v+6..v+11; group v+12+6-1.
    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f}});
    int counter = 40;
    EXPECT_EQ(t->calSize(&counter, false), 4 + 6);
    EXPECT_EQ(cellAt(*t, 0, 0)->getCellTextBox()->get_ShapeId(), 40);
    EXPECT_EQ(cellAt(*t, 0, 1)->getCellTextBox()->get_ShapeId(), 41);
    EXPECT_EQ(cellAt(*t, 1, 0)->getCellTextBox()->get_ShapeId(), 43);
    EXPECT_EQ(cellAt(*t, 1, 1)->getCellTextBox()->get_ShapeId(), 44);
    const auto& lines = Access::ruleLines(*t);
    ASSERT_EQ(lines.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i)]->get_ShapeId(), 46 + i);
    EXPECT_EQ(Access::groupShapeId(*t), 57);
    EXPECT_EQ(counter, 58); // one past the group: nothing after the table can take its numbers

    // Two rows of three cells: v, v+1, v+2, (v+3), v+4, v+5, v+6, (v+7); rules from v+8.
    PPTPtr<PPTTable> wide = onGrid(2, {{0.0f, 100.0f, 200.0f}});
    layOut(*wide, 10);
    EXPECT_EQ(cellAt(*wide, 0, 2)->getCellTextBox()->get_ShapeId(), 12);
    EXPECT_EQ(cellAt(*wide, 1, 0)->getCellTextBox()->get_ShapeId(), 14);
    EXPECT_EQ(cellAt(*wide, 1, 2)->getCellTextBox()->get_ShapeId(), 16);
    EXPECT_EQ(Access::ruleLines(*wide).front()->get_ShapeId(), 18);

    PPTPtr<PPTTable> any = onGrid(1, {{0.0f}});
    EXPECT_EQ(any->calSize(nullptr, false), 1 + 4); // no counter: numbered from 0
}

TEST(TableLayout, DownmergeSpansTheUpmergeCellsBelow) {
    PPTPtr<PPTTable> t = onGrid(3, {{0.0f, 100.0f}});
    cellAt(*t, 0, 0)->set_Downmerge(true);
    cellAt(*t, 1, 0)->set_Upmerge(true);
    cellAt(*t, 2, 0)->set_Upmerge(true);
    EXPECT_EQ(layOut(*t, 40), 4 + 7);
    PPTPtr<PPTCell> top = cellAt(*t, 0, 0);
    EXPECT_EQ(f(top->get_cellHight()), 60.0f);
    EXPECT_FALSE(cellAt(*t, 1, 0)->get_Cell());
    EXPECT_FALSE(cellAt(*t, 2, 0)->get_Cell());
    EXPECT_EQ(frameBox(*top->getCellTextBox())[3], 50.0f + 60.0f);
    // Covered cells take no id; every row still leaves one unused.
    EXPECT_EQ(cellAt(*t, 0, 1)->getCellTextBox()->get_ShapeId(), 41);
    EXPECT_EQ(cellAt(*t, 1, 1)->getCellTextBox()->get_ShapeId(), 43);
    EXPECT_EQ(cellAt(*t, 2, 1)->getCellTextBox()->get_ShapeId(), 45);
}

TEST(TableLayout, MergesAtTheTablesEdges) {
    // Upmerge in the first row and Downmerge in the last row: ordinary cells.
    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f}});
    cellAt(*t, 0, 1)->set_Upmerge(true);
    cellAt(*t, 1, 1)->set_Downmerge(true);
    layOut(*t);
    EXPECT_TRUE(cellAt(*t, 0, 1)->get_Cell());
    EXPECT_TRUE(cellAt(*t, 1, 1)->get_Cell());
    EXPECT_EQ(f(cellAt(*t, 1, 1)->get_cellHight()), 20.0f);

    // Upmerge and Downmerge in the first row: nothing above to merge into, so the cell is the
    // top of a merge over the Upmerge cell below (rather than a hole in the table).
    PPTPtr<PPTTable> both = onGrid(2, {{0.0f, 100.0f}});
    cellAt(*both, 0, 0)->set_Upmerge(true);
    cellAt(*both, 0, 0)->set_Downmerge(true);
    cellAt(*both, 1, 0)->set_Upmerge(true);
    layOut(*both);
    EXPECT_TRUE(cellAt(*both, 0, 0)->get_Cell());
    EXPECT_EQ(f(cellAt(*both, 0, 0)->get_cellHight()), 40.0f);
    EXPECT_FALSE(cellAt(*both, 1, 0)->get_Cell());
}

TEST(TableLayout, UpmergeWithoutATopAboveIsAnOrdinaryCell) {
    PPTPtr<PPTTable> t = onGrid(3, {{0.0f, 100.0f}});
    cellAt(*t, 1, 1)->set_Upmerge(true); // no Downmerge above
    cellAt(*t, 2, 1)->set_Upmerge(true);
    layOut(*t);
    EXPECT_TRUE(cellAt(*t, 1, 1)->get_Cell());
    EXPECT_TRUE(cellAt(*t, 2, 1)->get_Cell());
    EXPECT_EQ(f(cellAt(*t, 1, 1)->get_cellHight()), 20.0f);
}

TEST(TableLayout, AMergeStopsAtARowWithoutACellAtItsOffset) {
    // Row 1 has one cell across the table; the merge from row 0's second cell cannot pass it,
    // so row 2's Upmerge cell is an ordinary cell.
    PPTPtr<PPTTable> t = onGrid(3, {{0.0f, 100.0f}, {0.0f}, {0.0f, 100.0f}});
    cellAt(*t, 0, 1)->set_Downmerge(true);
    cellAt(*t, 2, 1)->set_Upmerge(true);
    layOut(*t);
    EXPECT_EQ(f(cellAt(*t, 0, 1)->get_cellHight()), 20.0f);
    EXPECT_TRUE(cellAt(*t, 2, 1)->get_Cell());
}

TEST(TableLayout, ColumnList) {
    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f, 200.0f}, {0.0f, 150.0f, 200.0f}});
    std::vector<Length> cols = Access::calColNum(*t);
    ASSERT_EQ(cols.size(), 4u);
    EXPECT_EQ(f(cols[0]), 0.0f);
    EXPECT_EQ(f(cols[1]), 100.0f);
    EXPECT_EQ(f(cols[2]), 150.0f);
    EXPECT_EQ(f(cols[3]), 200.0f);

    // Offsets within 0.001 point are one column; the first one seen stands for it.
    PPTPtr<PPTTable> close = onGrid(2, {{0.0f, 100.0005f}, {0.0f, 100.0f}});
    cols = Access::calColNum(*close);
    ASSERT_EQ(cols.size(), 2u);
    EXPECT_EQ(f(cols[1]), 100.0005f);

    std::vector<Length> list{Length(5.0f), Length(3.0f), Length(9.0f), Length(1.0f)};
    Access::orderColNum(list, 1, 3);
    EXPECT_EQ(f(list[0]), 5.0f);
    EXPECT_EQ(f(list[1]), 1.0f);
    EXPECT_EQ(f(list[3]), 9.0f);
}

TEST(TableLayout, LayingOutAgainGivesTheSameTable) {
    PPTPtr<PPTTable> t = grid(50.0f, 100.0f, 300.0f, {20.0f, 30.0f}, {{0.0f, 120.0f}});
    layOut(*t, 40);
    std::vector<Line> first = rules(*t);
    layOut(*t, 40);
    EXPECT_EQ(Access::tableTop(*t), 100.125f);
    EXPECT_EQ(Access::tableBottom(*t), 150.375f);
    EXPECT_EQ(f(t->item(0)->getRowHigh()), 20.125f);
    EXPECT_EQ(f(cellAt(*t, 1, 1)->get_cellTop()), 120.25f);
    EXPECT_EQ(rules(*t), first); // one set of grid lines, in the same places
    EXPECT_EQ(Access::groupShapeId(*t), 57);
}

TEST(TableLayout, ValuesTheHostSetsBetweenLayoutsAreTakenAsGiven) {
    PPTPtr<PPTTable> t = grid(50.0f, 100.0f, 300.0f, {20.0f, 30.0f}, {{0.0f, 120.0f}});
    layOut(*t);
    PPTPtr<PPTCell> formerLast = cellAt(*t, 0, 1);
    formerLast->set_cellWidth(80.0f);
    t->item(0)->setRowHigh(25.0f);
    PPTPtr<PPTCell> added(new PPTCell);
    added->set_celloffsetx(200.0f);
    t->item(0)->addCell(added);
    layOut(*t);
    EXPECT_EQ(f(t->item(0)->getRowHigh()), 25.125f);
    EXPECT_EQ(f(formerLast->get_cellWidth()), 80.0f); // no longer last: the host's width
    EXPECT_EQ(f(added->get_cellWidth()), 350.0f - 250.125f);
    EXPECT_EQ(Access::tableBottom(*t), 100.125f + 25.125f + 30.125f);

    // A width the layout gave the last cell goes back to the host's once another cell follows.
    PPTPtr<PPTTable> u = grid(0.0f, 0.0f, 100.0f, {10.0f}, {{0.0f, 40.0f}});
    PPTPtr<PPTCell> last = cellAt(*u, 0, 1);
    last->set_cellWidth(30.0f);
    layOut(*u);
    EXPECT_EQ(f(last->get_cellWidth()), 100.0f - 40.125f);
    PPTPtr<PPTCell> next(new PPTCell);
    next->set_celloffsetx(70.0f);
    u->item(0)->addCell(next);
    layOut(*u);
    EXPECT_EQ(f(last->get_cellWidth()), 30.0f);
}

TEST(TableLayout, RowsAndCellsAreRequired) {
    PPTTable empty(0, 0, 100, 100);
    QvException e = thrown([&] { layOut(empty); });
    EXPECT_EQ(e.get_Code(), QV_ERR_ROW_INDEX);
    EXPECT_STREQ(e.what(), "Illegal row number value  in table is : 0");

    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f}});
    t->addRow(PPTPtr<PPTRow>(new PPTRow));
    e = thrown([&] { layOut(*t); });
    EXPECT_EQ(e.get_Code(), QV_ERR_CELL_INDEX);
    EXPECT_STREQ(e.what(), "Illegal cell number value the cell in row is : 0");
    // Nothing was changed: no stepping, no grid lines, no frames placed.
    EXPECT_EQ(f(t->item(0)->getRowHigh()), 19.875f);
    EXPECT_EQ(Access::tableTop(*t), 49.875f);
    EXPECT_TRUE(Access::ruleLines(*t).empty());
    EXPECT_FALSE(cellAt(*t, 0, 0)->get_Cell());
}

TEST(TableLayout, GeometryThatCannotBeLaidOut) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        int code;
        std::function<PPTPtr<PPTTable>()> make;
    };
    auto plain = [] { return onGrid(2, {{0.0f, 100.0f}}); };
    const Case cases[] = {
        {"NaN row height", QV_ERR_TABLE_NOT_FINITE,
         [&] {
             auto t = plain();
             t->item(1)->setRowHigh(nan);
             return t;
         }},
        {"infinite table edge", QV_ERR_TABLE_NOT_FINITE,
         [&] { return grid(inf, 0.0f, 100.0f, {10.0f}, {{0.0f}}); }},
        {"NaN table width", QV_ERR_TABLE_NOT_FINITE,
         [&] { return grid(0.0f, 0.0f, nan, {10.0f}, {{0.0f}}); }},
        {"NaN cell width", QV_ERR_TABLE_NOT_FINITE,
         [&] {
             auto t = plain();
             cellAt(*t, 0, 0)->set_cellWidth(nan);
             return t;
         }},
        {"negative row height", QV_ERR_TABLE_GEOMETRY,
         [&] {
             auto t = plain();
             t->item(0)->setRowHigh(-5.0f);
             return t;
         }},
        {"negative cell width", QV_ERR_TABLE_GEOMETRY,
         [&] {
             auto t = plain();
             cellAt(*t, 1, 0)->set_cellWidth(-1.0f);
             return t;
         }},
        {"cell beyond the right edge", QV_ERR_TABLE_GEOMETRY,
         [&] { return onGrid(1, {{0.0f, 350.0f}}); }},
        {"cell at the right edge", QV_ERR_TABLE_GEOMETRY,
         [&] { return onGrid(1, {{0.0f, 300.0f}}); }},
        {"table without width", QV_ERR_TABLE_GEOMETRY,
         [&] { return grid(10.0f, 10.0f, 0.0f, {10.0f}, {{0.0f}}); }},
        {"table wider than a slide holds", QV_ERR_TABLE_GEOMETRY,
         [&] { return grid(10.0f, 10.0f, 5000.0f, {10.0f}, {{0.0f}}); }},
        {"rows taller than a slide holds", QV_ERR_TABLE_GEOMETRY,
         [&] { return grid(10.0f, 10.0f, 100.0f, {3.0e38f, 3.0e38f}, {{0.0f}}); }},
        {"cell reaching beyond a slide", QV_ERR_TABLE_GEOMETRY,
         [&] {
             auto t = plain();
             cellAt(*t, 0, 0)->set_cellWidth(1.0e9f);
             return t;
         }},
    };
    for (const Case& c : cases) {
        PPTPtr<PPTTable> t = c.make();
        QvException e = thrown([&] { layOut(*t); });
        EXPECT_EQ(e.get_Code(), c.code) << c.name << ": " << e.what();
        EXPECT_NE(std::string(e.what()), "") << c.name;
        EXPECT_TRUE(Access::ruleLines(*t).empty()) << c.name;
        EXPECT_FALSE(cellAt(*t, 0, 0)->get_Cell()) << c.name;
    }
}

TEST(TableLayout, AtMost65532Rows) {
    PPTPtr<PPTTable> t(new PPTTable(0, 0, 100, 100));
    PPTPtr<PPTRow> row(new PPTRow);
    row->addCell(PPTPtr<PPTCell>(new PPTCell));
    for (int i = 0; i < 65533; ++i) t->addRow(row); // one row object, many times
    QvException e = thrown([&] { layOut(*t); });
    EXPECT_EQ(e.get_Code(), QV_ERR_TOO_LARGE);
}
