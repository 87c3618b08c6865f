// What a table's layout pass decides: the stepped edges and row heights, every cell's rectangle
// and shape id, which cells a merge covers, the grid lines and the group's id. The pass works on
// a copy of the host's values taken when it starts, so the size and write passes of the same
// save see exactly what it decided, even when two tables share rows or a cell object appears
// twice in one table.
#pragma once

#include <vector>

#include "quorv/table.h"

namespace Quorv {
namespace detail {

struct LayoutCell {
    PPTPtr<PPTCell> cell;
    PPTPtr<PPTTextFrame> frame; // the cell's text frame, set by the cell pass
    // The host's values.
    float offset = 0.0f;
    float hostWidth = 0.0f;
    bool upmerge = false;
    bool downmerge = false;
    bool noLeftLine = false;
    bool noTopLine = false;
    bool noRightLine = false;
    bool noBottomLine = false;
    int fill = -1;
    // Decided by the layout.
    bool covered = false; // a merge from above covers the cell: it is not written
    float width = 0.0f;   // the host's width; the last cell of a row reaches the right edge
    float height = 0.0f;  // the row's height, or the rows a merge spans
    int shapeId = 0;

    // Left and right x of the cell, as the grid lines use them.
    float leftX(float tableLeft) const noexcept { return tableLeft + offset; }
    float rightX(float tableLeft) const noexcept { return (tableLeft + offset) + width; }
};

struct LayoutRow {
    float hostHeight = 0.0f;
    float height = 0.0f; // stepped
    float top = 0.0f;
    std::vector<LayoutCell> cells;

    float bottom() const noexcept { return top + height; }
};

// A grid line: its shape id and its end points in points.
struct Rule {
    int shapeId;
    float x1, y1, x2, y2;
};

struct TableLayout {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    std::vector<LayoutRow> rows;
    std::vector<Rule> rules;
    int groupShapeId = 0;
};

// The next multiple of 1/8 point strictly above v (for v >= 0): (trunc(8 v) + 1) / 8.
float eighthPointStep(float v) noexcept;

} // namespace detail
} // namespace Quorv
