// The table slides of the sample deck: a timetable with merged cells, fills, borders switched
// off and formatted cell text.
#include <string>

#include "demo_deck.h"

using namespace Quorv;

namespace quorv_tool {

namespace {

constexpr int kNavy = 0x803319, kWhite = 0xFFFFFF, kSand = 0xD8ECF8, kMint = 0xD8F0D8, kRose = 0xE0D8F8;

Font font(int size, bool bold = false, bool italic = false, int color = 0) {
    Font f;
    f.set_Size(size);
    f.set_Bold(bold);
    f.set_Italic(italic);
    f.set_Color(color);
    return f;
}

PPTParagraphFormat aligned(int alignment) {
    PPTParagraphFormat p;
    p.SetSpaceBefore(0);
    p.SetAlignment(alignment);
    return p;
}

} // namespace

void addTableSlides(PPTDocument& doc) {
    PPTSlides& slide = *doc.addSlides(720.0f, 540.0f);

    PPTPtr<PPTTextFrame> title(new PPTTextFrame(40.0f, 24.0f, 640.0f, 48.0f));
    title->addText(L"Conference timetable", font(28, true, false, kNavy));
    title->set_ShapeNum(0);
    slide.addShape(title);

    // Four columns: the time, then three rooms. Row 3 (lunch) has two cells only: the second
    // is its last, so it reaches across all three rooms to the table's right edge.
    const float offsets[4] = {0.0f, 110.0f, 290.0f, 470.0f};
    const float widths[4] = {110.0f, 180.0f, 180.0f, 170.0f};
    PPTPtr<PPTTable> table(new PPTTable(40.0f, 96.0f, 640.0f, 0.0f));
    PPTPtr<PPTCell> cells[5][4];
    for (int r = 0; r < 5; ++r) {
        PPTPtr<PPTRow> row(new PPTRow);
        row->setRowHigh(r == 0 || r == 3 ? 36.0f : 64.0f);
        for (int c = 0; c < (r == 3 ? 2 : 4); ++c) {
            PPTPtr<PPTCell> cell(new PPTCell);
            cell->set_celloffsetx(offsets[c]);
            cell->set_cellWidth(widths[c]);
            PPTPtr<PPTTextFrame> text = cell->getCellTextBox();
            text->set_anchor(1); // in the middle of the cell, a little way in from its sides
            text->set_textleft(6.0f);
            text->set_textright(6.0f);
            row->addCell(cell);
            cells[r][c] = cell;
        }
        table->addRow(row);
    }

    // Header row: white bold text on navy, centred.
    const wchar_t* rooms[4] = {L"Time", L"Hall A", L"Hall B", L"Hall C"};
    for (int c = 0; c < 4; ++c) {
        cells[0][c]->setCellFill(kNavy);
        PPTPtr<PPTTextFrame> text = cells[0][c]->getCellTextBox();
        PPTParagraphFormat centred = aligned(1);
        text->setParagraphFormat(centred, true);
        text->addText(rooms[c], font(18, true, false, kWhite));
    }
    const wchar_t* times[5] = {L"", L"09:00", L"10:30", L"12:00", L"13:30"};
    for (int r = 1; r < 5; ++r) cells[r][0]->getCellTextBox()->addText(times[r], font(16, true));

    auto talk = [&](int r, int c, const std::wstring& name, const std::wstring& speaker, int fill) {
        PPTPtr<PPTTextFrame> text = cells[r][c]->getCellTextBox();
        text->addText(name, font(16, true));
        text->addPar(font(16));
        text->addText(speaker, font(14, false, true, 0x606060));
        if (fill >= 0) cells[r][c]->setCellFill(fill);
    };
    // The keynote fills Hall A for two slots: a vertical merge.
    talk(1, 1, L"Keynote", L"Dr. Ada Example", kSand);
    cells[1][1]->set_Downmerge(true);
    cells[2][1]->set_Upmerge(true);
    talk(1, 2, L"Binary formats", L"J. Smith", -1);
    talk(1, 3, L"Records and atoms", L"K. Tanaka", -1);
    talk(2, 2, L"Compound files", L"L. Moreau", kMint);
    talk(2, 3, L"Drawing layers", L"M. Rossi", -1);
    talk(4, 1, L"Tables", L"N. Okafor", -1);
    talk(4, 2, L"Pictures", L"O. Berg", -1);
    talk(4, 3, L"Text runs", L"P. Novak", -1);

    cells[3][1]->setCellFill(kRose);
    PPTPtr<PPTTextFrame> lunch = cells[3][1]->getCellTextBox();
    PPTParagraphFormat centred = aligned(1);
    lunch->setParagraphFormat(centred, true);
    lunch->addText(L"Lunch in the foyer", font(16, false, true));

    // An open look: no border left of the time column and none under the last row.
    for (int r = 0; r < 5; ++r) cells[r][0]->set_noLeftLine(true);
    for (int c = 0; c < 4; ++c) cells[4][c]->set_noBottomLine(true);

    table->set_ShapeNum(1);
    slide.addShape(table);

    PPTPtr<PPTTextFrame> note(new PPTTextFrame(40.0f, 470.0f, 640.0f, 30.0f));
    note->addText(L"Rows, merges, fills and borders are laid out on a grid of 1/8 point.", font(12, false, true));
    note->set_ShapeNum(2);
    slide.addShape(note);
}

} // namespace quorv_tool
