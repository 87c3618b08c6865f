// The layout pass of a table: checks, eighth-point stepping, cell rectangles and vertical
// merges, text frame positions and shape ids.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "quorv/exception.h"
#include "quorv/table.h"
#include "table/table_layout.h"
#include "table/table_rules.h"
#include "text/text_frame_access.h"

namespace Quorv {

namespace detail {

float eighthPointStep(float v) noexcept {
    // In double, so that no value of a float overflows an integer; for a finite v the result
    // is exactly representable or v itself (beyond 2^21 points a float has no eighths).
    const double t = std::trunc(static_cast<double>(v) * 8.0);
    return static_cast<float>((t + 1.0) / 8.0);
}

} // namespace detail

namespace {

using detail::LayoutCell;
using detail::LayoutRow;
using detail::TableLayout;

// The row list of the table properties counts its elements in 16 bits, allocated in fours.
constexpr std::size_t kMaxRows = 65532;

// A slide's client anchor holds master units in 16 bits: -4096 <= points < 4096.
constexpr float kSlideLow = -4096.0f;
constexpr float kSlideHigh = 4096.0f;

bool onSlide(float v) noexcept { return v >= kSlideLow && v < kSlideHigh; }

std::string points(float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v); // locale-independent
    return std::string(buf, r.ptr) + " pt";
}

std::string cellName(std::size_t r, std::size_t c) {
    return "cell " + std::to_string(c) + " of row " + std::to_string(r);
}

// what() names the value; the message is made only when the value is refused.
template <class What>
void requireFinite(float v, What what) {
    if (!std::isfinite(v)) throw makeException(QV_ERR_TABLE_NOT_FINITE, what());
}

[[noreturn]] void refuse(const std::string& why) { throw makeException(QV_ERR_TABLE_GEOMETRY, why); }

// The host's values: finite, and no negative heights or widths.
void checkValues(const TableLayout& t) {
    requireFinite(t.left, [] { return "the table's left edge"; });
    requireFinite(t.top, [] { return "the table's top edge"; });
    requireFinite(t.right, [] { return "the table's right edge"; });
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const LayoutRow& row = t.rows[r];
        requireFinite(row.hostHeight, [r] { return "the height of row " + std::to_string(r); });
        if (row.hostHeight < 0.0f) refuse("row " + std::to_string(r) + " has a negative height");
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const LayoutCell& cell = row.cells[c];
            requireFinite(cell.offset, [r, c] { return "the offset of " + cellName(r, c); });
            if (c + 1 == row.cells.size()) continue; // the last cell's width is the layout's
            requireFinite(cell.hostWidth, [r, c] { return "the width of " + cellName(r, c); });
            if (cell.hostWidth < 0.0f) refuse(cellName(r, c) + " has a negative width");
        }
    }
}

// After stepping: the table where a slide can hold it, every cell starting inside it.
void checkPlacement(const TableLayout& t) {
    if (!onSlide(t.left) || !onSlide(t.top) || !onSlide(t.right) || !onSlide(t.bottom)) {
        refuse("the table reaches beyond 4096 points from the slide's corner (left " + points(t.left) + ", top " +
               points(t.top) + ", right " + points(t.right) + ", bottom " + points(t.bottom) + ")");
    }
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const LayoutRow& row = t.rows[r];
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const LayoutCell& cell = row.cells[c];
            const float x = cell.leftX(t.left);
            if (!(static_cast<double>(t.right - x) >= 0.001)) {
                refuse(cellName(r, c) + " starts at " + points(x) + ", not left of the table's right edge at " +
                       points(t.right));
            }
            if (c + 1 < row.cells.size() && !onSlide(x + cell.hostWidth)) {
                refuse(cellName(r, c) + " reaches beyond 4096 points from the slide's corner");
            }
        }
    }
}

// For each row, its cells' offsets in ascending order with their index, to find the first cell
// of a row at a given offset without scanning the row.
class OffsetIndex {
public:
    explicit OffsetIndex(const TableLayout& t) : rows_(t.rows.size()) {
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            auto& index = rows_[r];
            const auto& cells = t.rows[r].cells;
            index.reserve(cells.size());
            for (std::size_t c = 0; c < cells.size(); ++c) index.emplace_back(cells[c].offset, c);
            std::sort(index.begin(), index.end());
        }
    }

    // The index of the first cell of row r whose offset equals ox (within 0.001), or -1.
    long firstAt(std::size_t r, float ox) const {
        const auto& index = rows_[r];
        auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(ox - 0.002f, std::size_t{0}));
        long best = -1;
        for (; it != index.end() && it->first <= ox + 0.002f; ++it) {
            if (Length(it->first).equals(Length(ox)) && (best < 0 || static_cast<long>(it->second) < best)) {
                best = static_cast<long>(it->second);
            }
        }
        return best;
    }

private:
    std::vector<std::vector<std::pair<float, std::size_t>>> rows_;
};

} // namespace

void PPTTable::checkTable() {
    if (rows_.empty()) item(0); // throws: a table needs rows
    for (const auto& row : rows_) {
        if (row->getCells() == 0) row->item(0); // throws: a row needs cells
    }
    if (rows_.size() > kMaxRows) {
        throw makeException(QV_ERR_TOO_LARGE, "a table has more than " + std::to_string(kMaxRows) + " rows");
    }
}

int PPTTable::layOut(int* counter) {
    checkTable();

    auto layout = std::make_unique<TableLayout>();
    TableLayout& t = *layout;
    t.left = hostLeft_;
    t.top = hostTop_;
    t.right = hostRight_;
    t.rows.resize(rows_.size());
    std::size_t cellCount = 0;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const PPTRow& row = *rows_[r];
        t.rows[r].hostHeight = row.hostHigh_;
        t.rows[r].cells.resize(row.cells_.size());
        for (std::size_t c = 0; c < row.cells_.size(); ++c) {
            const PPTCell& cell = *row.cells_[c];
            LayoutCell& lc = t.rows[r].cells[c];
            lc.cell = row.cells_[c];
            lc.offset = cell.offsetx_;
            lc.hostWidth = cell.hostWidth_;
            lc.upmerge = cell.upmerge_;
            lc.downmerge = cell.downmerge_;
            lc.noLeftLine = cell.noLeftLine_;
            lc.noTopLine = cell.noTopLine_;
            lc.noRightLine = cell.noRightLine_;
            lc.noBottomLine = cell.noBottomLine_;
            lc.fill = cell.fill_;
        }
        cellCount += row.cells_.size();
    }
    checkValues(t);
    adjustTable(t);
    checkPlacement(t);

    int scratch = 0;
    if (!counter) counter = &scratch;
    // The pass takes at most one id per cell, one per row and fewer than eight per cell and row
    // for the grid lines (see the rules pass), and one for the group.
    const long long room = static_cast<long long>(INT_MAX) - *counter;
    if (room < 9 * static_cast<long long>(cellCount + rows_.size()) + 16) {
        throw makeException(QV_ERR_TOO_LARGE, "too many shapes on a slide to number");
    }

    // Nothing below fails: the model takes the layout's values.
    tableLeft_ = Length(t.left, 3);
    tableTop_ = Length(t.top, 3);
    tableBottom_ = Length(t.bottom, 3);
    left = tableLeft_;
    top = tableTop_;
    bottom = tableBottom_;
    for (std::size_t r = 0; r < rows_.size(); ++r) rows_[r]->high_ = Length(t.rows[r].height, 3);

    const int n = calCells(t, counter);
    const int k = detail::buildRules(t, counter);
    t.groupShapeId = *counter + k - 1;
    groupShapeId_ = t.groupShapeId;
    // The counter goes past the group's id, so that what follows cannot take it again.
    if (*counter <= t.groupShapeId) *counter = t.groupShapeId + 1;
    layout_ = std::move(layout);
    return n + k;
}

void PPTTable::adjustTable(TableLayout& t) const {
    t.top = detail::eighthPointStep(t.top);
    t.left = detail::eighthPointStep(t.left);
    float total = 0.0f;
    for (LayoutRow& row : t.rows) {
        row.height = detail::eighthPointStep(row.hostHeight);
        total += row.height;
    }
    // The host's bottom edge gives way to the rows; the right edge stays.
    t.bottom = t.top + total;
}

int PPTTable::calCells(TableLayout& t, int* counter) {
    const std::size_t rowCount = t.rows.size();
    float y = t.top;
    for (LayoutRow& row : t.rows) {
        row.top = y;
        y += row.height;
    }
    // Only a merge down looks cells up by their offset.
    std::optional<OffsetIndex> index;

    int laidOut = 0;
    for (std::size_t r = 0; r < rowCount; ++r) {
        LayoutRow& row = t.rows[r];
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            LayoutCell& cell = row.cells[c];
            PPTCell& model = *cell.cell;
            cell.frame = model.getCellTextBox();
            const bool last = c + 1 == row.cells.size();
            const float x = cell.leftX(t.left);
            // Every last cell reaches the right edge, also one a merge covers: its edge is where
            // the grid lines of its row end.
            cell.width = last ? t.right - x : cell.hostWidth;
            model.width_ = Length(cell.width, 3);
            if (cell.covered) {
                model.cell_ = false;
                continue;
            }

            // A merge runs down through the rows whose first cell at this offset has Upmerge,
            // and stops at the first row without one.
            float span = row.height;
            if (cell.downmerge) {
                if (!index) index.emplace(t);
                for (std::size_t below = r + 1; below < rowCount; ++below) {
                    const long at = index->firstAt(below, cell.offset);
                    if (at < 0) break;
                    LayoutCell& next = t.rows[below].cells[static_cast<std::size_t>(at)];
                    if (!next.upmerge || next.covered) break;
                    next.covered = true;
                    span += t.rows[below].height;
                }
            }
            cell.height = r + 1 < rowCount ? span : t.bottom - row.top;

            model.cell_ = true;
            model.left_ = Length(x, 3);
            model.top_ = Length(row.top, 3);
            model.height_ = Length(cell.height, 3);
            detail::TextFrameAccess::setBounds(*cell.frame, x, row.top, cell.width + cell.offset + t.left,
                                               row.top + span);
            cell.shapeId = (*counter)++;
            cell.frame->set_ShapeId(cell.shapeId);
            ++laidOut;
        }
        ++*counter; // one number after each row is left unused
    }
    return laidOut;
}

} // namespace Quorv
