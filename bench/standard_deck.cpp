#include "standard_deck.h"

#include <string>

namespace quorv_bench {

using namespace Quorv;

namespace {

template <class Shape>
void place(PPTSlides& slide, Shape* shape) {
    PPTPtr<Shape> p(shape);
    p->set_ShapeNum(static_cast<int>(slide.getShapes().size()));
    slide.addShape(p);
}

void addSlide(PPTDocument& doc, int index, const std::string& picture) {
    PPTSlides& slide = *doc.addSlides(720.0f, 540.0f);
    const std::wstring number = std::to_wstring(index + 1);

    auto* title = new PPTTextFrame(36.0f, 20.0f, 648.0f, 50.0f);
    Font titleFont;
    titleFont.set_Size(32);
    titleFont.set_Bold(true);
    titleFont.set_Color(0x00663300);
    title->addText(L"Slide " + number + L": quarterly figures", titleFont);
    place(slide, title);

    auto* body = new PPTTextFrame(36.0f, 80.0f, 330.0f, 200.0f);
    Font plain;
    plain.set_Size(18);
    Font bold = plain;
    bold.set_Bold(true);
    Font red = plain;
    red.set_Color(0x000000CC);
    red.set_Italic(true);
    PPTParagraphFormat first;
    body->setParagraphFormat(first, false);
    body->addText(L"Revenue grew ", plain);
    body->addText(L"12 per cent", bold);
    body->addText(L" over the quarter.", plain);
    body->addPar(plain);
    PPTParagraphFormat bullet;
    bullet.SetBullet(true);
    bullet.SetLeftMargin(24);
    bullet.SetSpaceBefore(6);
    body->setParagraphFormat(bullet, false);
    body->addText(L"Costs fell in ", plain);
    body->addText(L"every region", red);
    body->addPar(plain);
    PPTParagraphFormat right;
    right.SetAlignment(2);
    right.SetSpaceBefore(6);
    body->setParagraphFormat(right, false);
    body->addText(L"Prepared for slide " + number, plain);
    place(slide, body);

    auto* r1 = new PPTRectangle(400.0f, 80.0f, 120.0f, 80.0f);
    r1->set_FillColor(0x00B0E0F0);
    r1->set_LineColor(0x00803319);
    place(slide, r1);
    auto* r2 = new PPTRectangle(540.0f, 80.0f, 120.0f, 80.0f);
    r2->set_FillColor(0x00F0C890);
    r2->set_ShapeOpac(50);
    place(slide, r2);

    auto* l1 = new PPTLine(36.0f, 75.0f, 684.0f, 75.0f);
    l1->set_LineColor(0x00803319);
    l1->set_LineWidth(2.0f);
    place(slide, l1);
    auto* l2 = new PPTLine(400.0f, 180.0f, 660.0f, 260.0f);
    l2->set_LineStyle(1);
    place(slide, l2);

    auto* poly = new PPTPolyLine(400.0f, 280.0f, 120.0f, 110.0f);
    const float pts[5][2] = {{460, 280}, {520, 322}, {497, 390}, {423, 390}, {400, 322}};
    for (const auto& xy : pts) {
        _Tpoint p{xy[0], xy[1]};
        poly->addPoint(p);
    }
    poly->set_PolyFlag(true);
    poly->set_FillColor(0x000080FF);
    place(slide, poly);

    auto* pic = new PPTPicture(560.0f, 280.0f, 64.0f, 48.0f);
    pic->setFileName(PPTPicture::IMAGE_PNG, picture);
    pic->set_PicId(index + 1); // one picture per slide
    place(slide, pic);

    // A 3 x 4 table with text: a header row and two rows of figures.
    auto* table = new PPTTable(36.0f, 400.0f, 320.0f, 90.0f);
    Font cellFont;
    cellFont.set_Size(12);
    for (int r = 0; r < 3; ++r) {
        PPTPtr<PPTRow> row(new PPTRow());
        row->setRowHigh(30.0f);
        for (int c = 0; c < 4; ++c) {
            PPTPtr<PPTCell> cell(new PPTCell());
            cell->set_celloffsetx(80.0f * static_cast<float>(c));
            cell->set_cellWidth(80.0f);
            cell->getCellTextBox()->addText(r == 0 ? L"Q" + std::to_wstring(c + 1) : std::to_wstring(r * 100 + c),
                                            cellFont);
            row->addCell(cell);
        }
        table->addRow(row);
    }
    place(slide, table);
}

} // namespace

void buildStandardDeck(PPTDocument& doc, int slides, const std::string& picture) {
    doc.set_Width(720.0f);
    doc.set_Hight(540.0f);
    for (int i = 0; i < slides; ++i) addSlide(doc, i, picture);
}

} // namespace quorv_bench
