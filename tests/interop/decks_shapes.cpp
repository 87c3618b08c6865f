// Decks of the shape interoperability tests: lines, rectangles and polylines.
//
// test_shapes.py repeats the values given here and states what the readers must see.
#include <initializer_list>
#include <utility>

#include "interop_decks.h"

using namespace Quorv;

namespace {

constexpr int kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

template <class Shape>
PPTPtr<Shape> add(PPTSlides& slide, Shape* shape) {
    PPTPtr<Shape> p(shape);
    p->set_ShapeNum(static_cast<int>(slide.getShapes().size()));
    slide.addShape(p);
    return p;
}

// Eight lines out of (180.25, 200.5), one per compass direction, then one line per dash style
// -1..10, then a line whose colour is never set.
void shapesLines(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTSlides& slide = *doc.addSlides(720, 540);
    const int dirs[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    for (int i = 0; i < 8; ++i) {
        auto line = add(slide, new PPTLine(180.25f, 200.5f, 180.25f + 100.0f * dirs[i][0],
                                           200.5f + 100.0f * dirs[i][1]));
        line->set_LineColor(0x10 * (i + 1) | kBlue); // (16 (i+1), 0, 255)
        line->set_LineWidth(0.75f * static_cast<float>(i + 1));
    }
    for (int style = -1; style <= 10; ++style) {
        float y = 40.0f + 36.0f * static_cast<float>(style + 1);
        auto line = add(slide, new PPTLine(400.0f, y, 680.0f, y));
        line->set_LineStyle(style);
        line->set_LineColor(kGreen);
        line->set_LineWidth(2.0f);
    }
    add(slide, new PPTLine(40.0f, 500.0f, 300.0f, 480.0f)); // colour and style never set
}

// Rectangles with and without fill, with opacity, with a dashed outline, and one whose left
// edge was moved past its right edge.
void shapesRectangles(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTSlides& slide = *doc.addSlides(720, 540);
    auto filled = add(slide, new PPTRectangle(40, 40, 200, 100));
    filled->set_FillColor(kRed);
    filled->set_LineColor(kBlue);
    filled->set_LineWidth(1.0f);

    auto outline = add(slide, new PPTRectangle(280.5f, 40.25f, 150, 120));
    outline->set_LineColor(kGreen);
    outline->set_LineWidth(3.0f);
    outline->set_LineStyle(7);

    auto half = add(slide, new PPTRectangle(470, 40, 200, 150));
    half->set_FillColor(kGreen);
    half->set_ShapeOpac(50);

    auto quarter = add(slide, new PPTRectangle(40, 250, 120, 80));
    quarter->set_FillColor(0x336699);
    quarter->set_ShapeOpac(25);

    auto reversed = add(slide, new PPTRectangle(300, 250, 100, 60)); // right 400
    reversed->set_Left(Length(450.0f));                              // now left 450 > right 400
    reversed->set_FillColor(kBlue);
    reversed->set_LineColor(kRed);

    auto flat = add(slide, new PPTRectangle(500, 300, 150, 0));
    flat->set_LineColor(kRed);
    flat->set_LineWidth(2.0f);
}

PPTPtr<PPTPolyLine> polyline(PPTSlides& slide, float left, float top, float width, float height,
                             std::initializer_list<std::pair<float, float>> points) {
    auto p = add(slide, new PPTPolyLine(left, top, width, height));
    for (const auto& xy : points) {
        _Tpoint pt{Length(xy.first), Length(xy.second)};
        p->addPoint(pt);
    }
    return p;
}

// Open polylines, closed polygons, an open polyline with a fill, a polygon that repeats its
// first point itself, vertices outside the box; on a second slide, a polyline too large for
// 16-bit vertices.
void shapesPolylines(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTSlides& slide = *doc.addSlides(720, 540);

    auto open = polyline(slide, 40, 40, 200, 100, {{40, 140}, {90, 40}, {140, 140}, {190, 40.5f}, {240, 140}});
    open->set_LineColor(kRed);
    open->set_LineWidth(2.0f);

    auto triangle = polyline(slide, 300, 40, 150, 120, {{300, 160}, {375.25f, 40}, {450, 160}});
    triangle->set_PolyFlag(true);
    triangle->set_FillColor(kGreen);
    triangle->set_LineColor(kBlue);

    auto openFilled = polyline(slide, 500, 40, 180, 120, {{500, 40}, {680, 40}, {680, 160}, {560, 100}});
    openFilled->set_FillColor(0x00CCFF);
    openFilled->set_LineColor(kRed);
    openFilled->set_LineStyle(1);

    auto repeated = polyline(slide, 40, 220, 160, 120, {{40, 220}, {200, 220}, {120, 340}, {40, 220}});
    repeated->set_PolyFlag(true);
    repeated->set_FillColor(kBlue);
    repeated->set_ShapeOpac(40);

    // The box is 50 x 50 at (300, 250); the vertices reach well outside it on every side.
    auto outside = polyline(slide, 300, 250, 50, 50, {{260.5f, 230}, {420, 270}, {330, 380.75f}, {290, 300}});
    outside->set_LineColor(kGreen);
    outside->set_LineWidth(1.5f);

    // A ten-pointed star, closed.
    const float star[10][2] = {{580, 220}, {596, 262}, {640, 266}, {606, 294}, {618, 338},
                               {580, 314}, {542, 338}, {554, 294}, {520, 266}, {564, 262}};
    auto starShape = add(slide, new PPTPolyLine(520, 220, 120, 118));
    for (const auto& xy : star) {
        _Tpoint pt{Length(xy[0]), Length(xy[1])};
        starShape->addPoint(pt);
    }
    starShape->set_PolyFlag(true);
    starShape->set_FillColor(0x00A5FF);

    // A vertical polyline: its box and its vertices have no width.
    auto vertical = polyline(slide, 100, 400, 0, 100, {{100, 400}, {100, 450}, {100, 500}});
    vertical->set_LineColor(kBlue);
    vertical->set_LineWidth(3.0f);

    PPTSlides& large = *doc.addSlides(720, 540);
    auto wide = polyline(large, 0, 0, 720, 540, {{-2000, 100}, {360, 500}, {3000, 100}});
    wide->set_LineColor(kRed);
}

} // namespace

namespace interop_decks {

void addShapeDecks(DeckMap& decks) {
    decks["shapes_lines"] = shapesLines;
    decks["shapes_rectangles"] = shapesRectangles;
    decks["shapes_polylines"] = shapesPolylines;
}

} // namespace interop_decks
