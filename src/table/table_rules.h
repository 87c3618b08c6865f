// The grid lines of a table, drawn from its layout: one line shape per maximal run of grid,
// horizontal lines first (top border, the lines between rows, bottom border), then vertical ones
// (left border, the lines between columns in ascending order, right border). Border flags break
// only the outer border; lines inside the table break only where a merged cell covers them.
#pragma once

#include "table/table_layout.h"

namespace Quorv {
namespace detail {

// Appends the grid lines of a laid-out table (cells placed, covered cells known) to
// layout.rules, numbering them from *counter up; returns how many there are.
int buildRules(TableLayout& layout, int* counter);

} // namespace detail
} // namespace Quorv
