// Bad input through the public API: every refusal is a QvException with its code and detail,
// thrown before anything is written.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "cases/decks.h"
#include "support/picture_samples.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// Saves a deck into memory (through the public API, with the system's clock).
void save(const Deck& deck) {
    PPTDocument doc;
    PPTProperties props;
    deck(doc, props);
    doc.saveToMemory();
}

PPTPtr<PPTShape> polyline(float x, int points) {
    PPTPtr<PPTPolyLine> p(new PPTPolyLine(0, 0, 10, 10));
    for (int i = 0; i < points; ++i) {
        _Tpoint pt{Length(i % 2 ? x : 0.0f), Length(static_cast<float>(i % 100))};
        p->addPoint(pt);
    }
    return p;
}

// A table at (x, 10), 100 points wide, of rows of cells (one each), the first changed by change.
Deck table(std::function<void(PPTTable&, PPTRow&, PPTCell&)> change, float x = 10, int rows = 1, int cells = 1) {
    return oneShape([=] {
        PPTPtr<PPTTable> t(new PPTTable(x, 10, 100, 20));
        for (int r = 0; r < rows; ++r) {
            PPTPtr<PPTRow> row(new PPTRow);
            row->setRowHigh(20);
            for (int c = 0; c < cells; ++c) row->addCell(PPTPtr<PPTCell>(new PPTCell));
            t->addRow(row);
        }
        if (change) change(*t, *t->item(0), *t->item(0)->item(0));
        return PPTPtr<PPTShape>(t);
    });
}

void longText(std::size_t units, const wchar_t* more) {
    PPTTextFrame f(0, 0, 1, 1);
    f.addText(std::wstring(units, L'a'), Font());
    f.addText(more, Font());
}

PPTPtr<PPTShape> widthOf(PPTShape* s, float width) {
    s->set_LineWidth(width);
    return PPTPtr<PPTShape>(s);
}

// A stream that says it holds 5 GiB: more than the picture records' 32-bit sizes describe.
class HugeBuf : public std::streambuf {
protected:
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
        pos_ = dir == std::ios_base::end ? (off_type{5} << 30) + off : dir == std::ios_base::beg ? off : pos_ + off;
        return pos_type(pos_);
    }
    pos_type seekpos(pos_type p, std::ios_base::openmode) override { return pos_type(pos_ = off_type(p)); }

private:
    off_type pos_ = 0;
};

const ErrorRow kRows[] = {
    {"cell_index", [] { PPTRow().item(0); }, 1, "the cell in row is : 0"},
    {"row_index", [] { PPTTable(0, 0, 1, 1).item(-1); }, 2, " in table is : -1"},
    {"line_style", [] { PPTRectangle(0, 0, 1, 1).set_LineStyle(11); }, 3, "set_LineStyle"},
    {"rectangle_width", [] { PPTRectangle(0, 0, 1, 1).set_Width(Length(-1.0f)); }, 4, "set_Width"},
    {"rectangle_height", [] { PPTRectangle(0, 0, 1, 1).set_Height(Length(-0.5f)); }, 6, "set_Height"},
    {"empty_file_name", [] { PPTDocument().save(std::string()); }, 6, "save"},
    {"empty_wide_file_name", [] { PPTDocument().save(std::wstring()); }, 6, "save"},
    {"null_properties", [] { PPTDocument().setProperties(nullptr, false); }, 7, "setProperties"},
    {"numbering_style", [] { PPTParagraphFormat().SetnumBullet(8); }, 8, "set_NumBullet"},
    {"bullet_symbol", [] { PPTParagraphFormat().SetbuChar(-1); }, 8, "set_SymbolBullet"},
    {"alignment", [] { PPTParagraphFormat().SetAlignment(7); }, 9, "set_ParamAnlign"},
    {"cell_offset", [] { PPTCell().set_celloffsetx(kNaN); }, 10, "cell offset false"},
    {"negative_cell_offset", [] { PPTCell().set_celloffsetx(-1); }, 10, "cell offset false"},
    // 65,535 UTF-16 code units fit; a character outside the BMP counts two.
    {"text_too_long", [] { longText(65535, L"b"); }, 11, "addText"},
    {"text_too_long_in_utf16", [] { longText(65534, L"\U0001D11E"); }, 11, "addText"},
    {"line_not_finite", [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTLine(0, 0, kInf, 1)); })); }, 15,
     "line end point"},
    {"rectangle_not_finite", [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTRectangle(kNaN, 0, 1, 1)); })); },
     15, "rectangle edge"},
    {"polyline_point_not_finite", [] { save(oneShape([] { return polyline(kNaN, 2); })); }, 15, "polyline point"},
    {"line_width_not_finite", [] { save(oneShape([] { return widthOf(new PPTLine(0, 0, 1, 1), kInf); })); }, 15, "line width"},
    {"text_frame_not_finite", [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTTextFrame(kNaN, 0, 1, 1)); })); },
     15, "text frame edge"},
    {"picture_not_finite", [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTPicture(0, 0, kInf, 1)); })); },
     15, "picture edge"},
    {"too_many_points", [] { save(oneShape([] { return polyline(1, 65535); })); }, 16, "65535 points"},
    {"table_edge_not_finite", [] { save(table({}, kInf)); }, 17,
     "the table's left edge"},
    {"row_height_not_finite", [] { save(table([](PPTTable&, PPTRow& r, PPTCell&) { r.setRowHigh(kNaN); })); }, 17,
     "the height of row 0"},
    {"negative_row_height", [] { save(table([](PPTTable&, PPTRow& r, PPTCell&) { r.setRowHigh(-1); })); }, 18,
     "row 0 has a negative height"},
    {"table_without_rows", [] { save(table({}, 10, 0)); }, 2, " in table is : 0"},
    {"row_without_cells", [] { save(table({}, 10, 1, 0)); }, 1, "the cell in row is : 0"},
    {"too_many_rows", [] { save(table({}, 10, 65533)); }, 12, "a table has more than 65532 rows"},
    {"cell_beyond_the_table", [] { save(table([](PPTTable&, PPTRow&, PPTCell& c) { c.set_celloffsetx(100); })); }, 18,
     "cell 0 of row 0 starts at 110.125 pt, not left of the table's right edge at 110 pt"},
    {"stream_beyond_32_bits", [] {
         HugeBuf buffer;
         std::istream huge(&buffer);
         PPTPtr<PPTPicture> p(new PPTPicture(0, 0, 10, 10));
         p->setFileStream(PPTPicture::IMAGE_PNG, huge);
         save(oneShape([&] { return PPTPtr<PPTShape>(p); }));
     },
     13, "a picture stream of 5368709120 bytes"},
};

class ErrorRows : public ::testing::TestWithParam<ErrorRow> {};
TEST_P(ErrorRows, RefusedWithItsCode) { runErrorRow(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Errors, ErrorRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
