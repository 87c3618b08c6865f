#include "table/table_rules.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace Quorv {
namespace detail {

namespace {

bool same(float a, float b) noexcept { return Length(a).equals(Length(b)); }

// Creates the lines of one pass, numbering them from the counter.
class Rules {
public:
    Rules(TableLayout& t, int* counter) noexcept : t_(t), counter_(counter) {}

    void emit(float x1, float y1, float x2, float y2) {
        t_.rules.push_back(Rule{(*counter_)++, x1, y1, x2, y2});
        ++count_;
    }
    int count() const noexcept { return count_; }

    // A horizontal line at y along the cells of a row: runs of cells that have it, each from
    // the right edge of the cell before the run (or the table's left edge) to the right edge of
    // its last cell.
    template <class Breaks>
    void across(const LayoutRow& row, float y, Breaks breaks) {
        const float left = t_.left;
        float sx = left;
        float ex = left;
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const LayoutCell& cell = row.cells[c];
            if (breaks(cell)) {
                if (!same(sx, ex)) emit(sx, y, ex, y);
                sx = ex = cell.rightX(left);
            } else {
                ex = cell.rightX(left);
                if (c + 1 == row.cells.size()) emit(sx, y, ex, y);
            }
        }
    }

    // A vertical border at x along one cell of every row (pick chooses it).
    template <class Pick, class Breaks>
    void down(float x, Pick pick, Breaks breaks) {
        float sy = t_.top;
        float ey = t_.top;
        for (std::size_t r = 0; r < t_.rows.size(); ++r) {
            const LayoutRow& row = t_.rows[r];
            if (breaks(pick(row))) {
                if (!same(sy, ey)) emit(x, sy, x, ey);
                sy = ey = row.bottom();
            } else {
                ey = row.bottom();
                if (r + 1 == t_.rows.size()) emit(x, sy, x, ey);
            }
        }
    }

private:
    TableLayout& t_;
    int* counter_;
    int count_ = 0;
};

// The distinct cell offsets in ascending order: one within 0.001 point of an offset already kept
// counts as that one, taken in the order the cells come. The kept values are ordered, so only the
// nearest on each side can be that close.
std::vector<float> columnOffsets(const TableLayout& t) {
    std::vector<float> kept; // sorted
    for (const LayoutRow& row : t.rows) {
        for (const LayoutCell& cell : row.cells) {
            const float v = cell.offset;
            auto it = std::lower_bound(kept.begin(), kept.end(), v);
            const bool near = (it != kept.end() && same(*it, v)) || (it != kept.begin() && same(*std::prev(it), v));
            if (!near) kept.insert(it, v);
        }
    }
    return kept;
}

int rowLines(TableLayout& t, int* counter) {
    Rules rules(t, counter);
    rules.across(t.rows.front(), t.top, [](const LayoutCell& c) { return c.noTopLine; });
    // Between two rows the line is broken only by a cell that a merge from above covers.
    for (std::size_t r = 1; r < t.rows.size(); ++r) {
        rules.across(t.rows[r], t.rows[r].top, [](const LayoutCell& c) { return c.covered; });
    }
    rules.across(t.rows.back(), t.bottom, [](const LayoutCell& c) { return c.noBottomLine; });
    return rules.count();
}

int columnLines(TableLayout& t, int* counter) {
    Rules rules(t, counter);
    rules.down(
        t.left, [](const LayoutRow& row) -> const LayoutCell& { return row.cells.front(); },
        [](const LayoutCell& c) { return c.noLeftLine; });

    // Every cell by its left edge, to find the cells that start at a column's x.
    struct Edge {
        float x;
        std::size_t row;
        std::size_t cell;
    };
    std::vector<Edge> edges;
    edges.reserve(t.rows.size() * t.rows.front().cells.size());
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        for (std::size_t c = 0; c < t.rows[r].cells.size(); ++c) {
            edges.push_back({t.rows[r].cells[c].leftX(t.left), r, c});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.x < b.x; });

    // The first offset is the table's own left edge when the cells start there; the border
    // stands for it.
    const std::vector<float> columns = columnOffsets(t);
    std::vector<Edge> at;
    for (std::size_t k = 1; k < columns.size(); ++k) {
        const float x = t.left + columns[k];
        at.clear();
        auto it = std::lower_bound(edges.begin(), edges.end(), x - 0.002f,
                                   [](const Edge& e, float v) { return e.x < v; });
        for (; it != edges.end() && it->x <= x + 0.002f; ++it) {
            if (same(it->x, x)) at.push_back(*it);
        }
        std::sort(at.begin(), at.end(),
                  [](const Edge& a, const Edge& b) { return std::tie(a.row, a.cell) < std::tie(b.row, b.cell); });

        // Down the rows: the line continues through each row in which a cell starts at x (or a
        // merge covers the cell that starts there), and breaks where a cell spans across x.
        float sy = t.top;
        float ey = t.top;
        for (std::size_t i = 0; i < at.size();) {
            const std::size_t r = at[i].row;
            const LayoutRow& row = t.rows[r];
            bool ended = false;
            for (; i < at.size() && at[i].row == r; ++i) {
                if (ended) continue;
                const LayoutCell& cell = row.cells[at[i].cell];
                if (same(row.top, ey)) {
                    ey = row.bottom();
                    ended = true;
                } else if (!cell.covered) {
                    // The line had a gap above this row: what came before is one line.
                    if (!same(sy, ey)) rules.emit(x, sy, x, ey);
                    sy = row.top;
                    ey = row.bottom();
                    ended = true;
                }
            }
        }
        if (!same(sy, ey)) rules.emit(x, sy, x, ey);
    }

    rules.down(
        t.right, [](const LayoutRow& row) -> const LayoutCell& { return row.cells.back(); },
        [](const LayoutCell& c) { return c.noRightLine; });
    return rules.count();
}

} // namespace

int buildRules(TableLayout& t, int* counter) {
    // A plain grid has a line along each side of every cell.
    std::size_t cells = 0, widest = 0;
    for (const LayoutRow& row : t.rows) {
        cells += row.cells.size();
        widest = std::max(widest, row.cells.size());
    }
    t.rules.reserve(2 * cells + t.rows.size() + widest);
    const int across = rowLines(t, counter);
    return across + columnLines(t, counter);
}

} // namespace detail
} // namespace Quorv
