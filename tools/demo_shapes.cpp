// The shape slides of the sample deck: lines, rectangles and polygons.
#include <cmath>

#include "demo_deck.h"

using namespace Quorv;

namespace quorv_tool {

namespace {

constexpr int kNavy = 0x803319, kTeal = 0x999900, kOrange = 0x0080FF, kRed = 0x2020E0;
constexpr int kSand = 0xB0E0F0, kSky = 0xF0C890, kGreen = 0x50B040;

template <class Shape>
void place(PPTSlides& slide, Shape* shape) {
    PPTPtr<Shape> p(shape);
    p->set_ShapeNum(static_cast<int>(slide.getShapes().size()));
    slide.addShape(p);
}

} // namespace

void addShapeSlides(PPTDocument& doc) {
    PPTSlides& slide = *doc.addSlides(720.0f, 540.0f);

    // Lines: a fan of eight directions, then the dash styles, growing thicker.
    const float cx = 150.0f, cy = 150.0f;
    for (int i = 0; i < 8; ++i) {
        double angle = static_cast<double>(i) * 3.14159265358979 / 4.0;
        auto* line = new PPTLine(cx, cy, cx + static_cast<float>(100.0 * std::cos(angle)),
                                 cy - static_cast<float>(100.0 * std::sin(angle)));
        line->set_LineColor(i % 2 == 0 ? kNavy : kTeal);
        line->set_LineWidth(1.0f + 0.5f * static_cast<float>(i));
        place(slide, line);
    }
    const int styles[] = {0, 1, 2, 6, 7, 8, 9, 10};
    for (int i = 0; i < 8; ++i) {
        float y = 50.0f + 25.0f * static_cast<float>(i);
        auto* line = new PPTLine(300.0f, y, 690.0f, y);
        line->set_LineStyle(styles[i]);
        line->set_LineColor(kNavy);
        line->set_LineWidth(0.75f + 0.5f * static_cast<float>(i));
        place(slide, line);
    }

    // Rectangles: outlined, filled, and two overlapping at half opacity.
    auto* outlined = new PPTRectangle(40.0f, 290.0f, 140.0f, 90.0f);
    outlined->set_LineColor(kNavy);
    outlined->set_LineWidth(2.0f);
    outlined->set_LineStyle(7);
    place(slide, outlined);
    auto* filled = new PPTRectangle(40.0f, 400.0f, 140.0f, 100.0f);
    filled->set_FillColor(kSand);
    filled->set_LineColor(kOrange);
    place(slide, filled);
    auto* back = new PPTRectangle(200.0f, 300.0f, 120.0f, 120.0f);
    back->set_FillColor(kSky);
    back->set_ShapeOpac(50);
    place(slide, back);
    auto* front = new PPTRectangle(250.0f, 350.0f, 120.0f, 120.0f);
    front->set_FillColor(kRed);
    front->set_ShapeOpac(50);
    place(slide, front);

    // Polygons: a filled star, a zigzag polyline, and an open polyline with a fill.
    auto* star = new PPTPolyLine(400.0f, 290.0f, 140.0f, 140.0f);
    for (int i = 0; i < 10; ++i) {
        double angle = 3.14159265358979 / 2.0 + static_cast<double>(i) * 3.14159265358979 / 5.0;
        double r = i % 2 == 0 ? 70.0 : 28.0;
        _Tpoint p{static_cast<float>(470.0 + r * std::cos(angle)), static_cast<float>(360.0 - r * std::sin(angle))};
        star->addPoint(p);
    }
    star->set_PolyFlag(true);
    star->set_FillColor(kOrange);
    star->set_LineColor(kRed);
    star->set_LineWidth(1.5f);
    place(slide, star);

    auto* zigzag = new PPTPolyLine(560.0f, 290.0f, 130.0f, 80.0f);
    for (int i = 0; i < 6; ++i) {
        _Tpoint p{560.0f + 26.0f * static_cast<float>(i), i % 2 == 0 ? 370.0f : 290.0f};
        zigzag->addPoint(p);
    }
    zigzag->set_LineColor(kTeal);
    zigzag->set_LineWidth(3.0f);
    place(slide, zigzag);

    auto* hill = new PPTPolyLine(400.0f, 440.0f, 290.0f, 70.0f);
    const float hillPoints[][2] = {{400, 510}, {460, 450}, {520, 480}, {600, 440}, {690, 510}};
    for (const auto& xy : hillPoints) {
        _Tpoint p{xy[0], xy[1]};
        hill->addPoint(p);
    }
    hill->set_FillColor(kGreen); // open: filled as if closed, outlined only along the points
    hill->set_LineColor(kNavy);
    hill->set_LineWidth(2.0f);
    place(slide, hill);
}

} // namespace quorv_tool
