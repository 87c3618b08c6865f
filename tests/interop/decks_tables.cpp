// Decks of the table interoperability tests: a plain table, vertical merges, a cell spanning two
// columns, borders switched off, fills, formatted cell text, and two tables on one slide.
//
// test_tables.py repeats the values given here and states what the readers must see.
#include <string>
#include <vector>

#include "interop_decks.h"

using namespace Quorv;

namespace {

constexpr int kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF;

// A cell of a row: its offset from the table's left edge, its width (ignored for a row's last
// cell) and its text ("" for none).
struct CellSpec {
    float offset;
    float width;
    std::wstring text;
};

PPTSlides& oneSlide(PPTDocument& doc) {
    doc.set_Width(720);
    doc.set_Hight(540);
    return *doc.addSlides(720, 540);
}

// A table of rows of the given heights and cells; returns it after putting it on the slide.
PPTPtr<PPTTable> table(PPTSlides& slide, float x, float y, float w, const std::vector<float>& heights,
                       const std::vector<std::vector<CellSpec>>& rows) {
    PPTPtr<PPTTable> t(new PPTTable(x, y, w, 0.0f));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        PPTPtr<PPTRow> row(new PPTRow);
        row->setRowHigh(heights[r]);
        for (const CellSpec& wanted : rows[r]) {
            PPTPtr<PPTCell> cell(new PPTCell);
            cell->set_celloffsetx(wanted.offset);
            cell->set_cellWidth(wanted.width);
            if (!wanted.text.empty()) {
                Font font;
                font.set_Size(16);
                cell->getCellTextBox()->addText(wanted.text, font);
            }
            row->addCell(cell);
        }
        t->addRow(row);
    }
    t->set_ShapeNum(static_cast<int>(slide.getShapes().size()));
    slide.addShape(t);
    return t;
}

// Rows of equal columns 150 points wide, with the texts given ("" leaves a cell empty).
std::vector<std::vector<CellSpec>> columns(const std::vector<std::vector<std::wstring>>& texts) {
    std::vector<std::vector<CellSpec>> rows;
    for (const auto& row : texts) {
        std::vector<CellSpec> cells;
        for (std::size_t c = 0; c < row.size(); ++c) cells.push_back({150.0f * static_cast<float>(c), 150.0f, row[c]});
        rows.push_back(cells);
    }
    return rows;
}

PPTPtr<PPTCell> at(PPTTable& t, int r, int c) { return t.item(r)->item(c); }

// Three rows of four columns, a text in every cell.
void tablesPlain(PPTDocument& doc, PPTProperties&) {
    PPTSlides& slide = oneSlide(doc);
    table(slide, 60, 80, 600, {40, 40, 40},
          columns({{L"A1", L"B1", L"C1", L"D1"}, {L"A2", L"B2", L"C2", L"D2"}, {L"A3", L"B3", L"C3", L"D3"}}));
}

// Four rows of three columns: the first column's first cell spans three rows, the last
// column's second cell two.
void tablesVerticalMerge(PPTDocument& doc, PPTProperties&) {
    PPTSlides& slide = oneSlide(doc);
    PPTPtr<PPTTable> t = table(slide, 60, 60, 450, {40, 40, 40, 40},
                               columns({{L"Tall", L"B1", L"C1"},
                                        {L"", L"B2", L"Two rows"},
                                        {L"", L"B3", L""},
                                        {L"A4", L"B4", L"C4"}}));
    at(*t, 0, 0)->set_Downmerge(true);
    at(*t, 1, 0)->set_Upmerge(true);
    at(*t, 2, 0)->set_Upmerge(true);
    at(*t, 1, 2)->set_Downmerge(true);
    at(*t, 2, 2)->set_Upmerge(true);
}

// Three rows of four columns; the second row's first cell spans two columns (no cell of that
// row starts at the second column's offset).
void tablesHorizontalSpan(PPTDocument& doc, PPTProperties&) {
    PPTSlides& slide = oneSlide(doc);
    table(slide, 60, 100, 600, {40, 40, 40},
          {{{0, 150, L"A1"}, {150, 150, L"B1"}, {300, 150, L"C1"}, {450, 150, L"D1"}},
           {{0, 300, L"Wide"}, {300, 150, L"C2"}, {450, 150, L"D2"}},
           {{0, 150, L"A3"}, {150, 150, L"B3"}, {300, 150, L"C3"}, {450, 150, L"D3"}}});
}

// Two rows of three columns without an outer border (only the inner grid is drawn).
void tablesBorders(PPTDocument& doc, PPTProperties&) {
    PPTSlides& slide = oneSlide(doc);
    PPTPtr<PPTTable> t = table(slide, 100, 100, 450, {50, 50}, columns({{L"a", L"b", L"c"}, {L"d", L"e", L"f"}}));
    for (int c = 0; c < 3; ++c) {
        at(*t, 0, c)->set_noTopLine(true);
        at(*t, 1, c)->set_noBottomLine(true);
    }
    for (int r = 0; r < 2; ++r) {
        at(*t, r, 0)->set_noLeftLine(true);
        at(*t, r, 2)->set_noRightLine(true);
    }
}

// Two rows of three columns with fills: red, green, blue; yellow, none, 0x336699.
void tablesFills(PPTDocument& doc, PPTProperties&) {
    PPTSlides& slide = oneSlide(doc);
    PPTPtr<PPTTable> t =
        table(slide, 100, 100, 450, {50, 50}, columns({{L"red", L"green", L"blue"}, {L"yellow", L"none", L"slate"}}));
    const int fills[2][3] = {{kRed, kGreen, kBlue}, {kYellow, -1, 0x00996633}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) at(*t, r, c)->setCellFill(fills[r][c]);
    }
}

// Cells holding formatted text: runs in bold, italic and colour, two paragraphs with the second
// centred, a cell anchored in the middle with insets.
void tablesText(PPTDocument& doc, PPTProperties&) {
    PPTSlides& slide = oneSlide(doc);
    PPTPtr<PPTTable> t = table(slide, 60, 80, 450, {80, 80}, columns({{L"", L"", L""}, {L"", L"", L""}}));
    Font plain;
    plain.set_Size(16);
    Font bold = plain;
    bold.set_Bold(true);
    Font italic = plain;
    italic.set_Italic(true);
    Font red = plain;
    red.set_Color(kRed);
    Font big = plain;
    big.set_Size(24);

    PPTPtr<PPTTextFrame> runs = at(*t, 0, 0)->getCellTextBox();
    runs->addText(L"Plain ", plain);
    runs->addText(L"Bold ", bold);
    runs->addText(L"Italic ", italic);
    runs->addText(L"Red", red);

    PPTPtr<PPTTextFrame> paras = at(*t, 0, 1)->getCellTextBox();
    paras->addText(L"First line", plain);
    paras->addPar(plain);
    PPTParagraphFormat centred;
    centred.SetAlignment(1);
    paras->setParagraphFormat(centred, false);
    paras->addText(L"Centred", big);

    PPTPtr<PPTTextFrame> middle = at(*t, 0, 2)->getCellTextBox();
    middle->set_anchor(1);
    middle->set_textleft(10);
    middle->set_textright(10);
    middle->addText(L"Middle", bold);

    at(*t, 1, 0)->getCellTextBox()->addText(L"Tab\there", plain);
    at(*t, 1, 1)->getCellTextBox()->addText(L"\u65e5\u672c\u8a9e", plain); // Japanese
    // (1, 2) stays empty: it is written with one space.
}

// Two tables on one slide between two text frames: every shape id of the drawing is its own.
void tablesTwo(PPTDocument& doc, PPTProperties&) {
    PPTSlides& slide = oneSlide(doc);
    PPTPtr<PPTTextFrame> title(new PPTTextFrame(60, 20, 600, 40));
    Font font;
    font.set_Size(20);
    title->addText(L"Two tables", font);
    title->set_ShapeNum(0);
    slide.addShape(title);
    table(slide, 60, 80, 300, {30, 30}, columns({{L"L11", L"L12"}, {L"L21", L"L22"}}));
    table(slide, 400, 80, 300, {30, 30, 30}, columns({{L"R11", L"R12"}, {L"R21", L"R22"}, {L"R31", L"R32"}}));
    PPTPtr<PPTTextFrame> note(new PPTTextFrame(60, 400, 600, 40));
    note->addText(L"Below the tables", font);
    note->set_ShapeNum(10);
    slide.addShape(note);
}

} // namespace

namespace interop_decks {

void addTableDecks(DeckMap& decks) {
    decks["tables_plain"] = tablesPlain;
    decks["tables_vmerge"] = tablesVerticalMerge;
    decks["tables_hspan"] = tablesHorizontalSpan;
    decks["tables_borders"] = tablesBorders;
    decks["tables_fills"] = tablesFills;
    decks["tables_text"] = tablesText;
    decks["tables_two"] = tablesTwo;
}

} // namespace interop_decks
