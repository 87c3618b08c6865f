// A table: a header row with fills, a cell spanning two columns, a vertical merge, text in cells.
//   tables OUT.ppt
#include <iostream>
#include <string>

#include <quorv/quorv.h>

using namespace Quorv;

namespace {

// A cell at offset x from the table's left edge, w wide (the last cell of a row is stretched to
// the table's right edge whatever its width), holding text.
PPTPtr<PPTCell> cell(float x, float w, const std::wstring& text, int fill = -1) {
    PPTPtr<PPTCell> c(new PPTCell());
    c->set_celloffsetx(x);
    c->set_cellWidth(w);
    c->setCellFill(fill);
    Font font;
    font.set_Size(16);
    font.set_Bold(fill != -1);
    c->getCellTextBox()->addText(text, font); // the cell's own text frame
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tables OUT.ppt\n";
        return 2;
    }
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);

    PPTPtr<PPTTable> table(new PPTTable(60, 100, 600, 120)); // the height becomes the rows' sum
    table->set_ShapeNum(1);
    const float col[] = {0, 200, 400};

    PPTPtr<PPTRow> header(new PPTRow());
    header->setRowHigh(40);
    header->addCell(cell(col[0], 200, L"Region", 0x00CCE0FF));
    header->addCell(cell(col[1], 400, L"Results (two columns)", 0x00CCE0FF)); // spans to the edge
    table->addRow(header);

    PPTPtr<PPTRow> first(new PPTRow());
    first->setRowHigh(40);
    PPTPtr<PPTCell> merged = cell(col[0], 200, L"North and South");
    merged->set_Downmerge(true); // extends over the Upmerge cell below it
    first->addCell(merged);
    first->addCell(cell(col[1], 200, L"120"));
    first->addCell(cell(col[2], 200, L"135"));
    table->addRow(first);

    PPTPtr<PPTRow> second(new PPTRow());
    second->setRowHigh(40);
    PPTPtr<PPTCell> covered = cell(col[0], 200, L"");
    covered->set_Upmerge(true);
    second->addCell(covered);
    second->addCell(cell(col[1], 200, L"98"));
    PPTPtr<PPTCell> last = cell(col[2], 200, L"101");
    last->set_noBottomLine(true); // no table border under this cell
    second->addCell(last);
    table->addRow(second);

    slide->addShape(table);
    try {
        doc.save(std::string(argv[1]));
    } catch (const QvException& e) {
        std::cerr << "error " << e.get_Code() << ": " << e.what() << "\n";
        return 1;
    }
    std::cout << "wrote " << argv[1] << "\n";
    return 0;
}
