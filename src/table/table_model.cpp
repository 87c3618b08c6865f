// PPTTable, PPTRow and PPTCell: the model the host builds, and its accessors.
#include <cmath>
#include <string>
#include <utility>

#include "quorv/exception.h"
#include "quorv/table.h"
#include "table/table_layout.h"

namespace Quorv {

// ---- PPTCell -------------------------------------------------------------------------------

PPTCell::PPTCell() = default;

PPTCell::~PPTCell() = default;

void PPTCell::initialize() {
    cell_ = false;
    fill_ = -1;
    offsetx_ = Length(0.0f, 3);
    width_ = Length(0.0f, 3);
    hostWidth_ = width_;
    upmerge_ = downmerge_ = false;
    noLeftLine_ = noTopLine_ = noRightLine_ = noBottomLine_ = false;
}

void PPTCell::set_cellWidth(float points) noexcept {
    width_ = Length(points, 3);
    hostWidth_ = width_;
}

void PPTCell::set_celloffsetx(float points) {
    // NaN and infinity are no offsets either; they are refused like a negative one.
    if (!(points >= 0.0f) || !std::isfinite(points)) throw makeException(QV_ERR_CELL_OFFSET, "cell offset false");
    offsetx_ = Length(points, 3);
}

void PPTCell::setCellTextBox(PPTPtr<PPTTextFrame> frame) { textBox_ = std::move(frame); }

PPTPtr<PPTTextFrame> PPTCell::getCellTextBox() {
    if (!textBox_) {
        // A 1 x 1 point box; the layout moves it onto the cell.
        textBox_ = PPTPtr<PPTTextFrame>(new PPTTextFrame(1.0f, 1.0f, 1.0f, 1.0f));
        PPTParagraphFormat format;
        format.SetSpaceBefore(0);
        textBox_->setParagraphFormat(format, false);
    }
    return textBox_;
}

// ---- PPTRow --------------------------------------------------------------------------------

PPTRow::PPTRow() = default;

PPTRow::~PPTRow() = default;

void PPTRow::addCell(PPTPtr<PPTCell> cell) {
    if (cell) cells_.push_back(std::move(cell));
}

PPTPtr<PPTCell> PPTRow::item(int i) {
    if (static_cast<unsigned>(i) >= cells_.size()) {
        throw makeException(QV_ERR_CELL_INDEX, "the cell in row is : " + std::to_string(i));
    }
    return cells_[static_cast<unsigned>(i)];
}

void PPTRow::setRowHigh(float points) noexcept {
    high_ = Length(points, 3);
    hostHigh_ = high_;
}

// ---- PPTTable ------------------------------------------------------------------------------

PPTTable::PPTTable(float x, float y, float w, float h)
    : PPTShape(Length(x, 3), Length(y, 3), Length(x + w, 3), Length(y + h, 3)) {
    setObjType(OT_Table);
    tableLeft_ = left;
    tableTop_ = top;
    tableRight_ = right;
    tableBottom_ = bottom;
    hostLeft_ = left;
    hostTop_ = top;
    hostRight_ = right;
}

PPTTable::PPTTable(const PPTTable& other)
    : PPTShape(other), groupShapeId_(other.groupShapeId_), rows_(other.rows_),
      tableLeft_(other.tableLeft_), tableTop_(other.tableTop_), tableRight_(other.tableRight_),
      tableBottom_(other.tableBottom_), hostLeft_(other.hostLeft_), hostTop_(other.hostTop_),
      hostRight_(other.hostRight_) {
    setObjType(OT_Table);
}

PPTTable::~PPTTable() = default;

void PPTTable::addRow(PPTPtr<PPTRow> row) {
    if (row) rows_.push_back(std::move(row));
}

PPTPtr<PPTRow> PPTTable::item(int i) {
    if (static_cast<unsigned>(i) >= rows_.size()) {
        throw makeException(QV_ERR_ROW_INDEX, " in table is : " + std::to_string(i));
    }
    return rows_[static_cast<unsigned>(i)];
}

bool PPTTable::outputPicture(QvOutputStream&) { return false; }

} // namespace Quorv
