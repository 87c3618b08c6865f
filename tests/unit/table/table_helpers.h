// Building tables for the table tests, and reading back what their layout decided.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/records.h"
#include "table/table_layout.h"

namespace table_test {

using namespace Quorv;

// A table at (x, y), w wide, with rows of the given heights; each row's cells start at the
// given offsets and are as wide as the distance to the next offset (the last one's width is
// the layout's).
inline PPTPtr<PPTTable> grid(float x, float y, float w, const std::vector<float>& heights,
                             const std::vector<std::vector<float>>& offsets) {
    PPTPtr<PPTTable> table(new PPTTable(x, y, w, 999.0f));
    for (std::size_t r = 0; r < heights.size(); ++r) {
        PPTPtr<PPTRow> row(new PPTRow);
        row->setRowHigh(heights[r]);
        const std::vector<float>& at = offsets[r < offsets.size() ? r : offsets.size() - 1];
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

// A table whose edges and rows lie on the eighth-point grid once stepped: left 100, top 50,
// right 400, rows of 20 points.
inline PPTPtr<PPTTable> onGrid(int rows, const std::vector<std::vector<float>>& offsets) {
    return grid(99.875f, 49.875f, 300.125f, std::vector<float>(static_cast<std::size_t>(rows), 19.875f), offsets);
}

inline PPTPtr<PPTCell> cellAt(PPTTable& t, int r, int c) { return t.item(r)->item(c); }

// Lays the table out numbering from v; returns what calSize returns.
inline int layOut(PPTTable& t, int v = 40) { return t.calSize(&v, false); }

using Line = std::array<float, 4>; // x1, y1, x2, y2

inline std::vector<Line> rules(const PPTTable& t) {
    std::vector<Line> out;
    for (const auto& l : detail::TableAccess::ruleLines(t)) {
        out.push_back({l->get_X1(), l->get_Y1(), l->get_X2(), l->get_Y2()});
    }
    return out;
}

// The box of a text frame in points (left, top, right, bottom), read from the client anchor of
// the frame's record on a slide.
inline std::array<float, 4> frameBox(PPTTextFrame& f) {
    QvOutputStream s;
    f.output(s, false);
    quorv_test::Record r = quorv_test::parseRecord(s.bytes(), 0);
    for (const auto& child : r.children) {
        if (child.type != 0xF010) continue;
        auto at = [&](std::size_t k) {
            return static_cast<float>(static_cast<std::int16_t>(s.bytes()[child.bodyOffset() + k] |
                                                                (s.bytes()[child.bodyOffset() + k + 1] << 8))) /
                   8.0f;
        };
        return {at(2), at(0), at(4), at(6)};
    }
    ADD_FAILURE() << "no client anchor";
    return {};
}

} // namespace table_test
