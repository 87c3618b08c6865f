// The grid lines of a table: where they run, where borders and merges break them, and the order
// in which they are created. The tables lie on the grid after stepping: left 100, top 50,
// right 400, rows of 20 points.
#include <gtest/gtest.h>

#include "table_helpers.h"

using namespace Quorv;
using namespace table_test;

namespace {

Line h(float x1, float x2, float y) { return {x1, y, x2, y}; }
Line v(float x, float y1, float y2) { return {x, y1, x, y2}; }

std::vector<Line> laidOutRules(PPTTable& t) {
    layOut(t);
    return rules(t);
}

} // namespace

TEST(TableRules, PlainTwoByTwoHasSixLinesAcrossTheWholeTable) {
    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f}});
    EXPECT_EQ(laidOutRules(*t), (std::vector<Line>{h(100, 400, 50), h(100, 400, 70), h(100, 400, 90),
                                                   v(100, 50, 90), v(200, 50, 90), v(400, 50, 90)}));
    // Ids follow the order of creation.
    const auto& lines = detail::TableAccess::ruleLines(*t);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i]->get_ShapeId(), lines[i - 1]->get_ShapeId() + 1);
}

TEST(TableRules, BorderFlagsBreakTheOuterBorder) {
    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f}});
    cellAt(*t, 0, 0)->set_noTopLine(true);
    EXPECT_EQ(laidOutRules(*t).front(), h(200, 400, 50)); // from the first cell's right edge

    PPTPtr<PPTTable> none = onGrid(2, {{0.0f, 100.0f}});
    cellAt(*none, 0, 0)->set_noTopLine(true);
    cellAt(*none, 0, 1)->set_noTopLine(true);
    std::vector<Line> lines = laidOutRules(*none);
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines.front(), h(100, 400, 70));

    PPTPtr<PPTTable> left = onGrid(3, {{0.0f, 100.0f}});
    cellAt(*left, 1, 0)->set_noLeftLine(true);
    lines = laidOutRules(*left);
    EXPECT_EQ(lines[4], v(100, 50, 70));
    EXPECT_EQ(lines[5], v(100, 90, 110));

    PPTPtr<PPTTable> right = onGrid(3, {{0.0f, 100.0f}});
    cellAt(*right, 2, 1)->set_noRightLine(true);
    cellAt(*right, 2, 1)->set_noBottomLine(true);
    lines = laidOutRules(*right);
    EXPECT_EQ(lines[3], h(100, 200, 110)); // bottom border only under the first cell
    EXPECT_EQ(lines.back(), v(400, 50, 90));

    // Flags of inner cells do not break inner lines.
    PPTPtr<PPTTable> inner = onGrid(3, {{0.0f, 100.0f}});
    cellAt(*inner, 1, 1)->set_noTopLine(true);
    cellAt(*inner, 1, 1)->set_noLeftLine(true);
    EXPECT_EQ(laidOutRules(*inner).size(), 7u);
}

TEST(TableRules, AVerticalMergeBreaksTheLineBetweenItsRows) {
    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f, 200.0f}});
    cellAt(*t, 0, 1)->set_Downmerge(true);
    cellAt(*t, 1, 1)->set_Upmerge(true);
    EXPECT_EQ(laidOutRules(*t),
              (std::vector<Line>{h(100, 400, 50), h(100, 200, 70), h(300, 400, 70), h(100, 400, 90), v(100, 50, 90),
                                 v(200, 50, 90), v(300, 50, 90), v(400, 50, 90)}));
}

TEST(TableRules, ACellSpanningTwoColumnsBreaksTheColumnLine) {
    PPTPtr<PPTTable> t = onGrid(3, {{0.0f, 100.0f, 200.0f}, {0.0f, 200.0f}, {0.0f, 100.0f, 200.0f}});
    std::vector<Line> lines = laidOutRules(*t);
    ASSERT_EQ(lines.size(), 4u + 1u + 2u + 1u + 1u);
    EXPECT_EQ(lines[4], v(100, 50, 110));
    EXPECT_EQ(lines[5], v(200, 50, 70));
    EXPECT_EQ(lines[6], v(200, 90, 110));
    EXPECT_EQ(lines[7], v(300, 50, 110));
}

TEST(TableRules, OneRowTable) {
    PPTPtr<PPTTable> t = onGrid(1, {{0.0f, 100.0f}});
    EXPECT_EQ(laidOutRules(*t), (std::vector<Line>{h(100, 400, 50), h(100, 400, 70), v(100, 50, 70),
                                                   v(200, 50, 70), v(400, 50, 70)}));
}

TEST(TableRules, AMergedLastColumnKeepsItsBottomBorder) {
    // The covered last cell of the last row reaches the right edge like any last cell, so the
    // bottom border runs under the whole merged cell.
    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f}});
    cellAt(*t, 0, 1)->set_Downmerge(true);
    cellAt(*t, 1, 1)->set_Upmerge(true);
    std::vector<Line> lines = laidOutRules(*t);
    EXPECT_EQ(lines[1], h(100, 200, 70));
    EXPECT_EQ(lines[2], h(100, 400, 90));
    EXPECT_EQ(lines[4], v(200, 50, 90));
}

TEST(TableRules, AnUpmergeCellThatIsWrittenKeepsTheLineAboveIt) {
    PPTPtr<PPTTable> t = onGrid(2, {{0.0f, 100.0f}});
    cellAt(*t, 1, 1)->set_Upmerge(true); // nothing above merges down into it
    EXPECT_EQ(laidOutRules(*t).at(1), h(100, 400, 70));
}
