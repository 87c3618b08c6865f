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

// A one-row table of one cell at (x, 10), changed by change before the save.
Deck table(std::function<void(PPTTable&, PPTRow&, PPTCell&)> change, float x = 10) {
    return oneShape([change, x] {
        PPTPtr<PPTTable> t(new PPTTable(x, 10, 100, 20));
        PPTPtr<PPTRow> row(new PPTRow);
        row->setRowHigh(20);
        PPTPtr<PPTCell> cell(new PPTCell);
        row->addCell(cell);
        t->addRow(row);
        change(*t, *row, *cell);
        return PPTPtr<PPTShape>(t);
    });
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
    {"text_too_long", [] {
         PPTTextFrame f(0, 0, 1, 1);
         f.addText(std::wstring(65535, L'a'), Font());
         f.addText(L"b", Font());
     },
     11, "addText"},
    // A character outside the Basic Multilingual Plane counts two code units.
    {"text_too_long_in_utf16", [] {
         PPTTextFrame f(0, 0, 1, 1);
         f.addText(std::wstring(65534, L'a'), Font());
         f.addText(L"\U0001D11E", Font());
     },
     11, "addText"},
    {"line_not_finite", [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTLine(0, 0, kInf, 1)); })); }, 15,
     "line end point"},
    {"rectangle_not_finite", [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTRectangle(kNaN, 0, 1, 1)); })); },
     15, "rectangle edge"},
    {"polyline_point_not_finite", [] { save(oneShape([] { return polyline(kNaN, 2); })); }, 15, "polyline point"},
    {"line_width_not_finite", [] {
         save(oneShape([] {
             PPTPtr<PPTLine> l(new PPTLine(0, 0, 1, 1));
             l->set_LineWidth(kInf);
             return PPTPtr<PPTShape>(l);
         }));
     },
     15, "line width"},
    {"text_frame_not_finite", [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTTextFrame(kNaN, 0, 1, 1)); })); },
     15, "text frame edge"},
    {"picture_not_finite", [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTPicture(0, 0, kInf, 1)); })); },
     15, "picture edge"},
    {"too_many_points", [] { save(oneShape([] { return polyline(1, 65535); })); }, 16, "65535 points"},
    {"table_edge_not_finite", [] { save(table([](PPTTable&, PPTRow&, PPTCell&) {}, kInf)); }, 17,
     "the table's left edge"},
    {"row_height_not_finite", [] { save(table([](PPTTable&, PPTRow& r, PPTCell&) { r.setRowHigh(kNaN); })); }, 17,
     "the height of row 0"},
    {"negative_row_height", [] { save(table([](PPTTable&, PPTRow& r, PPTCell&) { r.setRowHigh(-1); })); }, 18,
     "row 0 has a negative height"},
    {"table_without_rows",
     [] { save(oneShape([] { return PPTPtr<PPTShape>(new PPTTable(0, 0, 10, 10)); })); }, 2, " in table is : 0"},
    {"row_without_cells", [] {
         save(oneShape([] {
             PPTPtr<PPTTable> t(new PPTTable(0, 0, 10, 10));
             t->addRow(PPTPtr<PPTRow>(new PPTRow));
             return PPTPtr<PPTShape>(t);
         }));
     },
     1, "the cell in row is : 0"},
    {"too_many_rows", [] {
         PPTPtr<PPTTable> t(new PPTTable(0, 0, 100, 100));
         for (int r = 0; r < 65533; ++r) {
             PPTPtr<PPTRow> row(new PPTRow);
             row->addCell(PPTPtr<PPTCell>(new PPTCell));
             t->addRow(row);
         }
         PPTDocument doc;
         doc.addSlides(720, 540)->addShape(t);
         doc.saveToMemory();
     },
     12, "a table has more than 65532 rows"},
    {"cell_beyond_the_table", [] {
         PPTPtr<PPTTable> t(new PPTTable(0, 0, 100, 100));
         PPTPtr<PPTRow> row(new PPTRow);
         PPTPtr<PPTCell> cell(new PPTCell);
         cell->set_celloffsetx(100);
         row->addCell(cell);
         t->addRow(row);
         PPTDocument doc;
         doc.addSlides(720, 540)->addShape(t);
         doc.saveToMemory();
     },
     18, "cell 0 of row 0 starts at 100.125 pt, not left of the table's right edge at 100 pt"},
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
