// Slides, lines, rectangles and freeforms byte for byte, from the layouts of [MS-PPT] 2.5.1
// (RT_Slide, SlideAtom), 2.7.1 (OfficeArtClientAnchor) and [MS-ODRAW] 2.2 (OfficeArtDgContainer,
// FDG, SpgrContainer, FSPGR, FSP, FOPT, IMsoArray 2.2.51, MSOPATHINFO 2.2.53).
#include <gtest/gtest.h>

#include "cases/decks.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

constexpr int kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

PPTPtr<PPTShape> polyline(std::vector<std::pair<float, float>> points, bool closed, int line, int fill = -1) {
    PPTPtr<PPTPolyLine> poly(new PPTPolyLine(72, 72, 144, 72));
    for (auto xy : points) {
        _Tpoint p{Length(xy.first), Length(xy.second)};
        poly->addPoint(p);
    }
    poly->set_PolyFlag(closed);
    poly->set_LineColor(line);
    if (fill != -1) poly->set_FillColor(fill);
    return poly;
}

PPTPtr<PPTShape> rectangle(float x, int z) {
    PPTPtr<PPTRectangle> r(new PPTRectangle(x, 0, 10, 10));
    r->set_ShapeNum(z);
    return r;
}

const Row kRows[] = {
    // An empty slide: 312 bytes.
    {"empty_slide", slideWith([] { return std::vector<PPTPtr<PPTShape>>{}; }),
     {{{0x03EE}, golden("drawing", "empty_slide")}}},
    // Shapes are drawn and numbered from 2 in the order the slide's quicksort gives their keys
    // (A 5, B 5, C 1: C, B, A), after the group.
    {"z_order", slideWith([] { return std::vector<PPTPtr<PPTShape>>{rectangle(10, 5), rectangle(20, 5), rectangle(30, 1)}; }),
     {{below({0xF00A}), "02 08 00 00", 1, 8}, {below({0xF010}), "00 00 F0 00", 0, 8},  // the group has
      {below({0xF00A}), "03 08 00 00", 2, 8}, {below({0xF010}), "00 00 A0 00", 1, 8},  // an FSP but no
      {below({0xF00A}), "04 08 00 00", 3, 8}, {below({0xF010}), "00 00 50 00", 2, 8}}}, // anchor
    // A red, 1-point, dashed line from (216, 144) to (72, 72): drawn up and to the left (flips).
    {"line", oneShape([] {
         PPTPtr<PPTLine> line(new PPTLine(216, 144, 72, 72));
         line->set_LineColor(kRed);
         line->set_LineWidth(1.0f);
         line->set_LineStyle(1);
         return PPTPtr<PPTShape>(line);
     }),
     {{kSlideShape, golden("drawing", "line"), 1}}},
    // A rectangle at (288, 72), 144 x 72, outlined blue, filled green at 50 % opacity.
    {"rectangle", oneShape([] {
         PPTPtr<PPTRectangle> rect(new PPTRectangle(288, 72, 144, 72));
         rect->set_LineColor(kBlue);
         rect->set_FillColor(kGreen);
         rect->set_ShapeOpac(50);
         return PPTPtr<PPTShape>(rect);
     }),
     {{kSlideShape, golden("drawing", "rectangle"), 1}}},
    // An open polyline through (72, 216), (144, 288), (216, 216): its anchor is the box of its
    // points, pVertices counts its elements only (not the 6-byte array header), pSegmentInfo
    // counts its header: moveTo, lineTo, lineTo, end.
    {"open_freeform", oneShape([] { return polyline({{72, 216}, {144, 288}, {216, 216}}, false, kRed); }),
     {{kSlideShape, golden("drawing", "open_freeform"), 1}}},
    // A closed triangle, filled green: the first point repeated last, then close.
    {"closed_freeform", oneShape([] { return polyline({{288, 288}, {360, 216}, {432, 288}}, true, kBlue, kGreen); }),
     {{kSlideShape, golden("drawing", "closed_freeform"), 1}}},
    // A freeform 6000 points wide: 48000 master units do not fit 16 bits, so its vertices are
    // 32-bit (cbElem 8); pVertices is still sized without its header.
    {"wide_freeform", oneShape([] { return polyline({{-3000, 0}, {3000, 10}}, false, kRed); }),
     {{below({0xF00B}), "45 81 10 00 00 00", 0, 8 + 18},
      {below({0xF00B}), "02 00 02 00 08 00  00 00 00 00 00 00 00 00  80 BB 00 00 50 00 00 00", 0, 8 + 54}}},
    // Two equal points are not a closed path (pShapePath lines): that takes three.
    {"two_equal_points", oneShape([] { return polyline({{100, 100}, {100, 100}}, false, kRed); }),
     {{below({0xF00B}), "44 01 00 00 00 00", 0, 8 + 12}}},
};

class DrawingRows : public ::testing::TestWithParam<Row> {};
TEST_P(DrawingRows, FileHoldsTheRecords) { runRow(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Drawing, DrawingRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
