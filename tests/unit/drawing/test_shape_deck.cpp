// Lines, rectangles and polylines in whole documents: each shape measures exactly what it writes,
// and a slide writes them in ShapeNum order.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

template <class Shape>
PPTPtr<Shape> add(PPTSlides& slide, Shape* shape) {
    PPTPtr<Shape> p(shape);
    p->set_ShapeNum(static_cast<int>(slide.getShapes().size()));
    slide.addShape(p);
    return p;
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

// Lines in eight directions and in every dash style; rectangles filled, outlined, dashed, half
// transparent, turned inside out and flat; polylines open, closed, filled, vertical, with vertices
// outside their box, and one too wide for 16-bit vertices.
void shapeDeck(PPTDocument& doc) {
    PPTSlides& slide = *doc.addSlides(720, 540);
    const int dirs[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    for (int i = 0; i < 8; ++i) {
        auto line = add(slide, new PPTLine(180.25f, 200.5f, 180.25f + 100.0f * dirs[i][0], 200.5f + 100.0f * dirs[i][1]));
        line->set_LineColor(0x10 * (i + 1) | 0xFF0000);
        line->set_LineWidth(0.75f * static_cast<float>(i + 1));
    }
    for (int style = -1; style <= 10; ++style) {
        const float y = 40.0f + 36.0f * static_cast<float>(style + 1);
        add(slide, new PPTLine(400.0f, y, 680.0f, y))->set_LineStyle(style);
    }
    add(slide, new PPTLine(40.0f, 500.0f, 300.0f, 480.0f));
    auto filled = add(slide, new PPTRectangle(40, 40, 200, 100));
    filled->set_FillColor(0x0000FF);
    filled->set_LineWidth(1.0f);
    add(slide, new PPTRectangle(280.5f, 40.25f, 150, 120))->set_LineStyle(7);
    auto half = add(slide, new PPTRectangle(470, 40, 200, 150));
    half->set_FillColor(0x00FF00);
    half->set_ShapeOpac(50);
    add(slide, new PPTRectangle(40, 250, 120, 80))->set_ShapeOpac(25);
    add(slide, new PPTRectangle(300, 250, 100, 60))->set_Left(Length(450.0f)); // left beyond right
    add(slide, new PPTRectangle(500, 300, 150, 0));
    polyline(slide, 40, 40, 200, 100, {{40, 140}, {90, 40}, {140, 140}, {190, 40.5f}, {240, 140}});
    polyline(slide, 300, 40, 150, 120, {{300, 160}, {375.25f, 40}, {450, 160}})->set_PolyFlag(true);
    polyline(slide, 500, 40, 180, 120, {{500, 40}, {680, 40}, {680, 160}, {560, 100}})->set_FillColor(0x00CCFF);
    polyline(slide, 40, 220, 160, 120, {{40, 220}, {200, 220}, {120, 340}, {40, 220}})->set_PolyFlag(true);
    polyline(slide, 300, 250, 50, 50, {{260.5f, 230}, {420, 270}, {330, 380.75f}, {290, 300}})->set_LineStyle(1);
    polyline(slide, 520, 220, 120, 118, {{580, 220}, {640, 266}, {618, 338}, {542, 338}, {520, 266}})->set_PolyFlag(true);
    polyline(slide, 100, 400, 0, 100, {{100, 400}, {100, 450}, {100, 500}});
    polyline(*doc.addSlides(720, 540), 0, 0, 720, 540, {{-2000, 100}, {360, 500}, {3000, 100}});
}

} // namespace

// calSize(p, true), which runs the component's Translate and GetLength, plus the 8-byte header
// is what output(s, false) writes, for every line, rectangle and polyline of the deck.
TEST(ShapeDeck, LengthPlusHeaderIsWhatOutputWrites) {
    PPTDocument doc;
    shapeDeck(doc);
    int checked = 0;
    for (const auto& slide : doc.getSlides()) {
        int id = 2;
        for (const auto& shape : slide->getShapes()) {
            shape->set_ShapeId(id++);
            int zero = 0;
            int length = shape->calSize(&zero, true);
            QvOutputStream s;
            shape->output(s, false);
            ASSERT_EQ(static_cast<std::size_t>(length) + 8, s.bytes().size()) << "shape " << id;
            Record r = parseRecord(s.bytes(), 0);
            EXPECT_EQ(r.type, 0xF004u);
            EXPECT_EQ(r.length, static_cast<std::uint32_t>(length));
            ++checked;
        }
    }
    documentStream(doc); // and the whole deck is written without a length mismatch
    EXPECT_EQ(checked, 21 + 6 + 8); // lines, rectangles, polylines
}

namespace {

// The client anchors' left edges (points) and spids of the slide's shapes, in record order.
std::vector<std::pair<int, std::uint32_t>> slideShapes(PPTDocument& doc) {
    Bytes stream = documentStream(doc);
    std::vector<Record> top = parseRecords(stream, 0, stream.size());
    std::vector<std::pair<int, std::uint32_t>> out;
    for (const Record& r : top) {
        if (r.type != 0x03EE) continue; // RT_Slide
        for (const Record* group : r.findAll(0xF003)) {
            for (const Record& sp : group->children) {
                const Record* anchor = nullptr;
                std::uint32_t spid = 0;
                for (const Record& c : sp.children) {
                    if (c.type == 0xF010) anchor = &c;
                    if (c.type == 0xF00A) spid = readU32(stream, c.bodyOffset());
                }
                if (anchor) out.emplace_back(static_cast<std::int16_t>(readU16(stream, anchor->bodyOffset() + 2)) / 8, spid);
            }
        }
    }
    return out;
}

} // namespace

// Shapes with equal ShapeNum come out in the order of the slide's quicksort, not in the order
// they were added, and take their ids (spid 0x800 + id) in that order.
TEST(ShapeDeck, ZOrderFollowsTheQuicksortForEqualKeys) {
    {
        PPTDocument doc;
        PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
        PPTPtr<PPTLine> a(new PPTLine(10, 10, 50, 50));
        PPTPtr<PPTRectangle> b(new PPTRectangle(20, 10, 40, 40));
        PPTPtr<PPTPolyLine> c(new PPTPolyLine(30, 10, 40, 40));
        _Tpoint p1{30.0f, 10.0f}, p2{70.0f, 50.0f};
        c->addPoint(p1);
        c->addPoint(p2);
        a->set_ShapeNum(5);
        b->set_ShapeNum(5);
        c->set_ShapeNum(1);
        slide->addShape(a);
        slide->addShape(b);
        slide->addShape(c);
        using V = std::vector<std::pair<int, std::uint32_t>>;
        EXPECT_EQ(slideShapes(doc), (V{{30, 0x802}, {20, 0x803}, {10, 0x804}})); // C, B, A
    }
    {
        PPTDocument doc;
        PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
        for (int x : {10, 20, 30, 40}) { // A, B, C, D, all ShapeNum 1
            PPTPtr<PPTRectangle> r(new PPTRectangle(static_cast<float>(x), 0, 5, 5));
            r->set_ShapeNum(1);
            slide->addShape(r);
        }
        std::vector<int> lefts;
        for (const auto& s : slideShapes(doc)) lefts.push_back(s.first);
        EXPECT_EQ(lefts, (std::vector<int>{30, 40, 10, 20})); // C, D, A, B
    }
}
