// Tables: PPTTable, PPTRow and PPTCell.
//
// A table is a rectangle of rows, each row a list of cells from left to right. The host gives the
// table's box, every row's height, every cell's offset from the table's left edge and (for all
// but the last cell of a row) its width, and per cell its fill, which outer borders to leave out,
// its vertical merges and its text. Saving lays the table out on a grid of 1/8 point and stores
// it as a group of text boxes (the cells) and lines (the grid), marked as a table.
//
// Laying out, once per save:
// - The table's top and left edges and every row height move up to the next multiple of 1/8
//   point (always up: 20.0 becomes 20.125, 20.125 becomes 20.25). The table's bottom becomes its
//   top plus the row heights; its right edge stays. The last cell of each row is stretched (or
//   shrunk) to end at the right edge.
// - A cell with Downmerge extends over the cells directly below it (the first cell of each
//   following row at the same offset) as long as those have Upmerge; the cells it covers are
//   not written. An Upmerge cell that no Downmerge cell above covers is written as an ordinary
//   cell, so no host text is lost and the table has no holes.
// - Grid lines run along every cell edge, broken only where the host switched an outer border
//   off (noTopLine in the first row, noBottomLine in the last, noLeftLine on a row's first
//   cell, noRightLine on its last) and where a merged cell covers them.
// Every save lays the table out afresh from the values the host set: saving twice writes the
// same table, and what the getters show after a save (row heights, cell rectangles, the last
// cells' widths) is the result of one layout. A value the host sets between two saves is used
// by the next save as given (setRowHigh(20.125) after a save gives a row of 20.25).
//
// Saving throws QvException:
// - code 2 for a table without rows and code 1 for a row without cells (as item(0) does);
// - QV_ERR_TABLE_NOT_FINITE (17) when the table's left, top or right edge, a row height, or
//   the width of a cell other than a row's last is infinite or NaN;
// - QV_ERR_TABLE_GEOMETRY (18) when a row height or such a cell width is negative, a cell
//   does not start left of the table's right edge (by at least 0.001 point), or the table or a
//   cell reaches beyond the 4096 points from the slide's corner that a slide's anchor can hold;
// - QV_ERR_TOO_LARGE (12) for more than 65,532 rows (the row list of the table's properties).
// A table that fails is left as it was, and nothing is written.
#pragma once

#include <memory>
#include <vector>

#include "quorv/drawing.h"
#include "quorv/export.h"
#include "quorv/length.h"
#include "quorv/shape.h"
#include "quorv/text.h"

namespace Quorv {

class QvOutputStream;

namespace detail {
struct TableLayout;
class DocumentWriter;
} // namespace detail

// One cell of a row: where it starts, how wide it is, its fill, borders, merges and text.
class QUORV_EXPORT PPTCell : public ShapeRCObject {
public:
    PPTCell();
    PPTCell(const PPTCell&) = delete;
    PPTCell& operator=(const PPTCell&) = delete;
    ~PPTCell() override;

    // Back to no fill, offset 0, width 0 and all flags clear (Cell included); the computed
    // rectangle and the text are kept.
    void initialize();

    // Set by the layout: true for a cell that is written, false for one a merge covers.
    void set_Cell(bool v) noexcept { cell_ = v; }
    bool get_Cell() const noexcept { return cell_; }
    // Merged into the cell above it (the previous row's cell at the same offset).
    void set_Upmerge(bool v) noexcept { upmerge_ = v; }
    bool get_Upmerge() const noexcept { return upmerge_; }
    // The top of a vertical merge: extends over the Upmerge cells below it.
    void set_Downmerge(bool v) noexcept { downmerge_ = v; }
    bool get_Downmerge() const noexcept { return downmerge_; }
    // Leave out the table's left border along this cell (read for a row's first cell).
    void set_noLeftLine(bool v) noexcept { noLeftLine_ = v; }
    bool get_noLeftLine() const noexcept { return noLeftLine_; }
    // Leave out the table's top border along this cell (read in the first row).
    void set_noTopLine(bool v) noexcept { noTopLine_ = v; }
    bool get_noTopLine() const noexcept { return noTopLine_; }
    // Leave out the table's right border along this cell (read for a row's last cell).
    void set_noRightLine(bool v) noexcept { noRightLine_ = v; }
    bool get_noRightLine() const noexcept { return noRightLine_; }
    // Leave out the table's bottom border along this cell (read in the last row).
    void set_noBottomLine(bool v) noexcept { noBottomLine_ = v; }
    bool get_noBottomLine() const noexcept { return noBottomLine_; }

    // The cell's rectangle in points on the slide; the layout sets the top, left and height of
    // every cell it writes, and the width of each row's last cell.
    void set_cellTop(float points) noexcept { top_ = Length(points, 3); }
    Length get_cellTop() const noexcept { return top_; }
    void set_cellLeft(float points) noexcept { left_ = Length(points, 3); }
    Length get_cellLeft() const noexcept { return left_; }
    void set_cellHight(float points) noexcept { height_ = Length(points, 3); }
    Length get_cellHight() const noexcept { return height_; }
    // The host's width in points; the layout replaces it for the last cell of a row.
    void set_cellWidth(float points) noexcept;
    Length get_cellWidth() const noexcept { return width_; }
    // The offset of the cell's left edge from the table's left edge, in points. A value below 0
    // (or NaN or infinite) throws QvException code 10 and changes nothing.
    void set_celloffsetx(float points);
    Length get_celloffsetx() const noexcept { return offsetx_; }
    // The fill colour 0x00BBGGRR; -1: no fill.
    void setCellFill(int color) noexcept { fill_ = color; }

    // Replaces the cell's text frame.
    void setCellTextBox(PPTPtr<PPTTextFrame> frame);
    // The cell's text frame; a cell without one first gets an empty frame whose paragraphs have
    // no space before them. Fill the cell's text through it.
    PPTPtr<PPTTextFrame> getCellTextBox();

    // The size of the cell's shape record with its header, or 0 when get_Cell() is false.
    int cal_Size();
    // Writes the cell's shape record (nothing when get_Cell() is false); returns true.
    bool out_Stream(QvOutputStream& stream);

private:
    friend class PPTTable;

    bool cell_ = false;
    int fill_ = -1;
    bool upmerge_ = false;
    bool downmerge_ = false;
    bool noLeftLine_ = false;
    bool noTopLine_ = false;
    bool noRightLine_ = false;
    bool noBottomLine_ = false;
    Length offsetx_;
    Length width_;     // what get_cellWidth shows
    Length hostWidth_; // what the host set; the layout works from it
    Length left_;
    Length top_;
    Length height_;
    PPTPtr<PPTTextFrame> textBox_;
};

// One row of a table: its height and its cells, left to right.
class QUORV_EXPORT PPTRow : public ShapeRCObject {
public:
    PPTRow();
    PPTRow(const PPTRow&) = delete;
    PPTRow& operator=(const PPTRow&) = delete;
    ~PPTRow() override;

    // Appends a cell (a null handle is not kept).
    void addCell(PPTPtr<PPTCell> cell);
    // Cell i (0-based). An index not below the cell count (compared as unsigned, so -1 too)
    // throws QvException code 1.
    PPTPtr<PPTCell> item(int i);
    int getCells() const noexcept { return static_cast<int>(cells_.size()); }

    // The row's height in points. After a save getRowHigh shows the height as laid out.
    void setRowHigh(float points) noexcept;
    Length getRowHigh() const noexcept { return high_; }

private:
    friend class PPTTable;

    Length high_;     // what getRowHigh shows
    Length hostHigh_; // what the host set; the layout works from it
    std::vector<PPTPtr<PPTCell>> cells_;
};

// A table on a slide. See the top of this header for how it is laid out and written.
class QUORV_EXPORT PPTTable : public PPTShape {
public:
    // The table's box: left x, top y, width w and height h in points. The height is replaced by
    // the sum of the row heights when the table is laid out.
    PPTTable(float x, float y, float w, float h);
    // The copy shares the rows (and so the cells) of the original.
    PPTTable(const PPTTable& other);
    PPTTable& operator=(const PPTTable&) = delete;
    ~PPTTable() override;

    int getType() const noexcept { return OT_Table; }

    // Appends a row (a null handle is not kept).
    void addRow(PPTPtr<PPTRow> row);
    // Row i (0-based). An index not below the row count (compared as unsigned) throws
    // QvException code 2.
    PPTPtr<PPTRow> item(int i);

    // With false: lays the table out and numbers its cells and grid lines from *counter up
    // (the slide calls this while it numbers its shapes); returns the number of cells written
    // plus the number of grid lines, and leaves *counter one past the highest number the table
    // took (its group's). With true: the record length of the table's group.
    int calSize(int* counter, bool flag) override;
    // With false: writes the table's group (laying the table out first unless it is laid out:
    // a save lays it out, and lets the layout go once the table's slide is written). With true:
    // nothing. Returns true.
    bool output(QvOutputStream& stream, bool flag) override;
    // A table has no pictures: writes nothing, returns false.
    bool outputPicture(QvOutputStream& stream) override;

private:
    // The layout pass and its steps, in the order it runs them.
    int layOut(int* counter);
    void checkTable();
    void adjustTable(detail::TableLayout& layout) const;
    int calCells(detail::TableLayout& layout, int* counter);
    // The last layout; a table that was never laid out is laid out first.
    const detail::TableLayout& laidOut();

    int groupShapeId_ = 0;
    std::vector<PPTPtr<PPTRow>> rows_;
    Length tableLeft_;
    Length tableTop_;
    Length tableRight_;
    Length tableBottom_;
    // The box the host gave; every layout starts from it.
    Length hostLeft_;
    Length hostTop_;
    Length hostRight_;
    // What the last layout decided, which the size and write passes of the same save use; the
    // save drops it after writing the slide, so that a saved document holds no layouts.
    std::unique_ptr<detail::TableLayout> layout_;
    friend class detail::DocumentWriter;
};

} // namespace Quorv
