// PPTTable, PPTRow and PPTCell as the host builds them: defaults, accessors, errors, ownership.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/output_stream.h"
#include "quorv/quorv.h"

using namespace Quorv;

namespace {

template <class F>
QvException thrown(F f) {
    try {
        f();
    } catch (const QvException& e) {
        return e;
    }
    ADD_FAILURE() << "no QvException";
    return QvException(0, "");
}

} // namespace

TEST(TableModel, InitializeKeepsTheRectangleAndTheText) {
    PPTCell cell;
    cell.set_Cell(true);
    cell.set_Upmerge(true);
    cell.set_Downmerge(true);
    cell.set_noLeftLine(true);
    cell.set_noTopLine(true);
    cell.set_noRightLine(true);
    cell.set_noBottomLine(true);
    cell.set_celloffsetx(12.5f);
    cell.set_cellWidth(40.0f);
    cell.set_cellLeft(1.0f);
    cell.set_cellTop(2.0f);
    cell.set_cellHight(3.0f);
    PPTPtr<PPTTextFrame> text = cell.getCellTextBox();

    cell.initialize();
    EXPECT_FALSE(cell.get_Cell() || cell.get_Upmerge() || cell.get_Downmerge());
    EXPECT_FALSE(cell.get_noLeftLine() || cell.get_noTopLine() || cell.get_noRightLine() || cell.get_noBottomLine());
    EXPECT_EQ(static_cast<float>(cell.get_celloffsetx()), 0.0f);
    EXPECT_EQ(static_cast<float>(cell.get_cellWidth()), 0.0f);
    EXPECT_EQ(static_cast<float>(cell.get_cellLeft()), 1.0f);
    EXPECT_EQ(static_cast<float>(cell.get_cellTop()), 2.0f);
    EXPECT_EQ(static_cast<float>(cell.get_cellHight()), 3.0f);
    EXPECT_EQ(cell.getCellTextBox(), text);
    // Not laid out: the cell writes nothing.
    QvOutputStream s;
    EXPECT_TRUE(cell.out_Stream(s));
    EXPECT_EQ(cell.cal_Size(), 0);
    EXPECT_EQ(s.size(), 0);
}

TEST(TableModel, CellOffsetMustBeANonNegativeNumber) {
    PPTCell cell;
    cell.set_celloffsetx(0.0f);
    cell.set_celloffsetx(7.25f);
    for (float bad : {-0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        QvException e = thrown([&] { cell.set_celloffsetx(bad); });
        EXPECT_EQ(e.get_Code(), QV_ERR_CELL_OFFSET);
        EXPECT_STREQ(e.what(), ""); // code 10 carries its text as the detail only
        EXPECT_EQ(e.get_Detail(), "cell offset false");
        EXPECT_EQ(static_cast<float>(cell.get_celloffsetx()), 7.25f) << bad;
    }
}

TEST(TableModel, ACellMakesItsTextFrameOnce) {
    PPTCell cell;
    PPTPtr<PPTTextFrame> first = cell.getCellTextBox();
    ASSERT_TRUE(first);
    EXPECT_EQ(cell.getCellTextBox(), first);
    // One paragraph run with no space before it.
    std::vector<MultiPPTParagraphFormat> params = first->getparams();
    ASSERT_EQ(params.size(), 1u);
    EXPECT_EQ(params[0].start, 0);
    EXPECT_EQ(params[0].format.GetSpaceBefore(), 0);

    PPTPtr<PPTTextFrame> own(new PPTTextFrame(0, 0, 10, 10));
    cell.setCellTextBox(own);
    EXPECT_EQ(cell.getCellTextBox(), own);
    EXPECT_EQ(first->getRefCount(), 1); // the cell let go of the old frame
}

TEST(TableModel, ItemIndexesAreCheckedAsUnsigned) {
    PPTRow row;
    row.addCell(PPTPtr<PPTCell>(new PPTCell));
    row.addCell(PPTPtr<PPTCell>()); // a null handle is not kept
    EXPECT_EQ(row.getCells(), 1);
    EXPECT_TRUE(row.item(0));

    for (int i : {1, -1}) {
        QvException e = thrown([&] { row.item(i); });
        EXPECT_EQ(e.get_Code(), QV_ERR_CELL_INDEX);
        EXPECT_EQ(std::string(e.what()), "Illegal cell number value the cell in row is : " + std::to_string(i));
    }

    PPTTable table(10, 20, 300, 100);
    QvException e = thrown([&] { table.item(0); });
    EXPECT_EQ(e.get_Code(), QV_ERR_ROW_INDEX);
    EXPECT_STREQ(e.what(), "Illegal row number value  in table is : 0");
    EXPECT_EQ(e.get_Detail(), " in table is : 0");
    EXPECT_EQ(thrown([&] { table.item(-1); }).get_Code(), QV_ERR_ROW_INDEX);
}

TEST(TableModel, ATableHasNoPicturesAndNoPictureStoreEntry) {
    PPTTable table(0, 0, 10, 10);
    EXPECT_TRUE(table.isA(OT_Table));
    QvOutputStream s;
    EXPECT_FALSE(table.outputPicture(s));
    EXPECT_TRUE(table.output(s, true));
    EXPECT_EQ(s.size(), 0);
}

TEST(TableModel, TablesShareRowsAndReleaseThem) {
    PPTPtr<PPTRow> row(new PPTRow);
    PPTPtr<PPTCell> cell(new PPTCell);
    row->addCell(cell);
    {
        PPTPtr<PPTTable> table(new PPTTable(0, 0, 100, 50));
        table->addRow(row);
        table->addRow(PPTPtr<PPTRow>()); // not kept
        EXPECT_EQ(row->getRefCount(), 2);
        PPTPtr<PPTTable> copy(new PPTTable(*table));
        EXPECT_EQ(row->getRefCount(), 3);
        EXPECT_EQ(copy->item(0), row); // the copy shares the row
        EXPECT_TRUE(copy->isA(OT_Table));
        EXPECT_EQ(thrown([&] { copy->item(1); }).get_Code(), QV_ERR_ROW_INDEX);
    }
    EXPECT_EQ(row->getRefCount(), 1);
    EXPECT_EQ(cell->getRefCount(), 2);
}
