// PPTLine, PPTRectangle and PPTPolyLine: their accessors and errors, and what they hand to the
// shape-container component, read back from the records it writes.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>
#include <vector>

#include "core/output_stream.h"
#include "drawing/shape_containers.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

// The parts of a slide shape's OfficeArtSpContainer a test looks at.
struct ShapeRecord {
    unsigned shapeType = 0;
    std::uint32_t spid = 0, flags = 0;
    std::map<unsigned, std::uint32_t> props; // property id (without flags) -> value
    std::map<unsigned, Bytes> complex;       // property id -> complex data
    int top = 0, left = 0, right = 0, bottom = 0;
    std::uint32_t recLen = 0;
    std::size_t size = 0;

    std::vector<std::pair<int, int>> vertices() const {
        const Bytes& b = complex.at(0x145);
        std::vector<std::pair<int, int>> out;
        unsigned n = readU16(b, 0), cb = readU16(b, 4);
        for (unsigned i = 0; i < n; ++i) {
            if (cb == 0xFFF0) {
                out.emplace_back(static_cast<std::int16_t>(readU16(b, 6 + 4 * i)),
                                 static_cast<std::int16_t>(readU16(b, 8 + 4 * i)));
            } else {
                out.emplace_back(static_cast<std::int32_t>(readU32(b, 6 + 8 * i)),
                                 static_cast<std::int32_t>(readU32(b, 10 + 8 * i)));
            }
        }
        return out;
    }
    std::vector<unsigned> segments() const {
        const Bytes& b = complex.at(0x146);
        std::vector<unsigned> out;
        for (unsigned i = 0; i < readU16(b, 0); ++i) out.push_back(readU16(b, 6 + 2 * i));
        return out;
    }
};

ShapeRecord parseShape(const Bytes& b) {
    ShapeRecord r;
    Record sp = parseRecord(b, 0);
    EXPECT_EQ(sp.type, 0xF004u);
    r.recLen = sp.length;
    r.size = b.size();
    for (const Record& c : sp.children) {
        if (c.type == 0xF00A) {
            r.shapeType = c.instance;
            r.spid = readU32(b, c.bodyOffset());
            r.flags = readU32(b, c.bodyOffset() + 4);
        } else if (c.type == 0xF00B) {
            std::size_t complexAt = c.bodyOffset() + 6 * c.instance;
            for (unsigned i = 0; i < c.instance; ++i) {
                unsigned opid = readU16(b, c.bodyOffset() + 6 * i);
                std::uint32_t value = readU32(b, c.bodyOffset() + 6 * i + 2);
                r.props[opid & 0x3FFF] = value;
                if (opid & 0x8000) {
                    // pVertices counts its elements only, not the array's 6-byte header.
                    if ((opid & 0x3FFF) == 0x0145) value += 6;
                    r.complex[opid & 0x3FFF] = slice(b, complexAt, value);
                    complexAt += value;
                }
            }
            EXPECT_EQ(complexAt, c.end());
        } else if (c.type == 0xF010) {
            EXPECT_EQ(c.length, 8u);
            r.top = static_cast<std::int16_t>(readU16(b, c.bodyOffset()));
            r.left = static_cast<std::int16_t>(readU16(b, c.bodyOffset() + 2));
            r.right = static_cast<std::int16_t>(readU16(b, c.bodyOffset() + 4));
            r.bottom = static_cast<std::int16_t>(readU16(b, c.bodyOffset() + 6));
        }
    }
    return r;
}

Bytes written(PPTShape& shape, bool flag = false) {
    QvOutputStream s;
    EXPECT_TRUE(shape.output(s, flag));
    return s.bytes();
}

ShapeRecord slideRecord(PPTShape& shape) {
    Bytes b = written(shape);
    ShapeRecord r = parseShape(b);
    int zero = 0;
    EXPECT_EQ(shape.calSize(&zero, true) + 8, static_cast<int>(b.size()));
    return r;
}

void addPoints(PPTPolyLine& poly, std::initializer_list<std::pair<float, float>> points) {
    for (const auto& xy : points) {
        _Tpoint p{xy.first, xy.second};
        poly.addPoint(p);
    }
}

int errorCode(const std::function<void()>& f) {
    try {
        f();
    } catch (const QvException& e) {
        return e.get_Code();
    }
    return 0;
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

} // namespace

TEST(Line, AccessorsCopyAndModes) {
    PPTLine line(1, 2, 3, 4);
    EXPECT_EQ(line.getType(), 6);
    EXPECT_TRUE(line.isA(OT_Line));
    line.set_X1(Length(10.0f));
    line.set_Y2(Length(-5.0f));
    EXPECT_FLOAT_EQ(line.get_X1(), 10.0f);
    EXPECT_FLOAT_EQ(line.get_Y1(), 2.0f);
    EXPECT_FLOAT_EQ(line.get_X2(), 3.0f);
    EXPECT_FLOAT_EQ(line.get_Y2(), -5.0f);
    EXPECT_EQ(line.calSize(nullptr, false), 164);

    line.set_LineWidth(4.0f);
    PPTLine copy(line);
    EXPECT_EQ(copy.getObjType(), OT_Line);
    EXPECT_FLOAT_EQ(copy.get_LineSWidth(), 0.0f);
    EXPECT_FLOAT_EQ(copy.get_X1(), 10.0f);

    QvOutputStream s;
    EXPECT_FALSE(line.outputPicture(s));
    EXPECT_EQ(s.size(), 0);
}

// Every direction: the anchor is the box the points span, the flips say where the line starts.
TEST(Line, EightDirectionsAreAnchorPlusFlips) {
    const int dirs[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    for (const auto& d : dirs) {
        PPTLine line(100, 100, 100.0f + 50.0f * static_cast<float>(d[0]), 100.0f + 50.0f * static_cast<float>(d[1]));
        ShapeRecord r = slideRecord(line);
        EXPECT_EQ(r.shapeType, 20u);
        EXPECT_EQ(r.flags, 0xA00u | (d[0] < 0 ? 0x40u : 0u) | (d[1] < 0 ? 0x80u : 0u)) << d[0] << "," << d[1];
        EXPECT_EQ(r.left, d[0] < 0 ? 400 : 800);
        EXPECT_EQ(r.right, d[0] > 0 ? 1200 : 800);
        EXPECT_EQ(r.top, d[1] < 0 ? 400 : 800);
        EXPECT_EQ(r.bottom, d[1] > 0 ? 1200 : 800);
    }
}

TEST(DrawnShapes, DashMappingColoursAndWidth) {
    const std::uint32_t expected[12] = {0, 0, 1, 2, 0, 0, 0, 6, 7, 8, 9, 10}; // LineStyle -1..10
    for (int style = -1; style <= 10; ++style) {
        PPTRectangle rect(0, 0, 10, 10);
        rect.set_LineStyle(style);
        ShapeRecord r = slideRecord(rect);
        std::uint32_t want = expected[style + 1];
        if (want == 0) {
            EXPECT_EQ(r.props.count(0x1CE), 0u) << style; // solid: left to the default
        } else {
            EXPECT_EQ(r.props.at(0x1CE), want) << style;
        }
    }
    // Not set: scheme colour 1 for the outline, no fill. So is a colour readers must ignore.
    PPTPolyLine poly(0, 0, 10, 10);
    addPoints(poly, {{0, 0}, {10, 10}});
    ShapeRecord r = slideRecord(poly);
    EXPECT_EQ(r.props.at(0x1C0), 0x08000001u);
    EXPECT_EQ(r.props.at(0x1BF), 0x00100000u);
    EXPECT_EQ(r.props.count(0x181), 0u);
    poly.set_LineColor(static_cast<int>(0xFF123456u));
    poly.set_FillColor(static_cast<int>(0xFF00FF00u));
    r = slideRecord(poly);
    EXPECT_EQ(r.props.at(0x1C0), 0x08000001u);
    EXPECT_EQ(r.props.at(0x1BF), 0x00100000u);

    PPTLine line(0, 0, 10, 10);
    line.set_LineColor(0x08000004); // a scheme colour passes unchanged
    line.set_LineWidth(2.5f);
    r = slideRecord(line);
    EXPECT_EQ(r.props.at(0x1C0), 0x08000004u);
    EXPECT_EQ(r.props.at(0x1CB), 31750u);
    line.set_LineWidth(-3.0f); // widths are clamped into what the format allows
    EXPECT_EQ(slideRecord(line).props.at(0x1CB), 0u);
    line.set_LineWidth(5000.0f);
    EXPECT_EQ(slideRecord(line).props.at(0x1CB), 0x0132F540u);
}

TEST(Rectangle, BoxAccessorsAndErrors) {
    PPTRectangle rect(10, 20, 100, 50);
    EXPECT_EQ(rect.getType(), 7);
    EXPECT_FLOAT_EQ(rect.get_Width(), 100.0f);
    EXPECT_FLOAT_EQ(rect.get_Height(), 50.0f);
    rect.set_Left(Length(30.0f));
    EXPECT_FLOAT_EQ(rect.get_Width(), 80.0f); // the right edge stays at 110
    rect.set_Top(Length(0.0f));
    EXPECT_FLOAT_EQ(rect.get_Height(), 70.0f);
    rect.set_Width(Length(0.0f));
    EXPECT_FLOAT_EQ(rect.get_Width(), 0.0f);
    rect.set_Width(Length(40.0f));
    rect.set_Height(Length(25.0f));

    for (int pass = 0; pass < 2; ++pass) {
        try {
            if (pass == 0) rect.set_Width(Length(-1.0f));
            else rect.set_Height(Length(-0.5f));
            ADD_FAILURE() << "no exception";
        } catch (const QvException& e) {
            EXPECT_EQ(e.get_Code(), pass == 0 ? 4 : 6);
            EXPECT_EQ(e.get_Detail(), pass == 0 ? "set_Width" : "set_Height");
        }
    }
    EXPECT_FLOAT_EQ(rect.get_Width(), 40.0f);
    EXPECT_FLOAT_EQ(rect.get_Height(), 25.0f);

    EXPECT_EQ(rect.calSize(nullptr, false), 0);
    EXPECT_TRUE(written(rect, true).empty());
    QvOutputStream s;
    EXPECT_FALSE(rect.outputPicture(s));

    // Left moved past right: the same rectangle, normalised.
    rect.set_Left(Length(100.0f));
    ShapeRecord r = slideRecord(rect);
    EXPECT_EQ(r.shapeType, 1u);
    EXPECT_EQ(r.left, 560);
    EXPECT_EQ(r.right, 800);
    EXPECT_EQ(r.props.at(0x1BF), 0x00100000u); // fill never set: not filled

    rect.set_FillColor(0x123456);
    rect.set_ShapeOpac(33);
    r = slideRecord(rect);
    EXPECT_EQ(r.props.at(0x181), 0x123456u);
    EXPECT_EQ(r.props.at(0x182), 21626u); // 33 % in 16.16
    rect.set_ShapeOpac(100);
    EXPECT_EQ(slideRecord(rect).props.count(0x182), 0u);
}

TEST(PolyLine, PointsAreRelativeToTheBoxAndClosedOnce) {
    PPTPolyLine poly(100, 100, 50, 50);
    EXPECT_EQ(poly.getType(), 8);
    EXPECT_EQ(poly.calSize(nullptr, true), 0); // no points: nothing at all
    EXPECT_TRUE(written(poly).empty());
    addPoints(poly, {{100, 100}, {150, 100}, {150, 150}});
    ShapeRecord open = slideRecord(poly);
    EXPECT_EQ(open.vertices(), (std::vector<std::pair<int, int>>{{0, 0}, {400, 0}, {400, 400}}));
    EXPECT_EQ(open.segments(), (std::vector<unsigned>{0x4000, 0x0001, 0x0001, 0x8000}));
    EXPECT_EQ(open.props.at(0x144), 0u);
    EXPECT_EQ(open.left, 800);
    EXPECT_EQ(open.top, 800);

    poly.set_PolyFlag(true);
    ShapeRecord closed = slideRecord(poly);
    EXPECT_EQ(closed.vertices().size(), 4u);
    EXPECT_EQ(closed.vertices().back(), (std::pair<int, int>{0, 0}));
    EXPECT_EQ(closed.segments(), (std::vector<unsigned>{0x4000, 1, 1, 1, 0x6001, 0x8000}));
    EXPECT_EQ(closed.props.at(0x144), 1u);

    PPTPolyLine copy(poly);
    EXPECT_EQ(copy.calSize(nullptr, true), 0); // a copy has no points

    PPTPolyLine already(100, 100, 50, 50); // last point is the first: not closed twice
    addPoints(already, {{100, 100}, {150, 150}, {100, 100}});
    already.set_PolyFlag(true);
    EXPECT_EQ(slideRecord(already).vertices().size(), 3u);

    PPTPolyLine single(100, 100, 50, 50);
    addPoints(single, {{120, 130}});
    single.set_PolyFlag(true);
    ShapeRecord one = slideRecord(single);
    EXPECT_EQ(one.vertices().size(), 1u);
    EXPECT_EQ(one.props.at(0x142), 1u); // a degenerate geometry space still has a size
}

// Vertices outside the box: the anchor is the vertices' bounding box, and the geometry fills it.
TEST(PolyLine, AnchorIsTheBoundingBoxOfTheVertices) {
    PPTPolyLine poly(300, 250, 50, 50);
    addPoints(poly, {{260.5f, 230}, {420, 270}, {330, 380.75f}});
    poly.set_FillColor(0x00CCFF); // an open polyline may be filled
    ShapeRecord r = slideRecord(poly);
    EXPECT_EQ(r.left, 2084);
    EXPECT_EQ(r.top, 1840);
    EXPECT_EQ(r.right, 3360);
    EXPECT_EQ(r.bottom, 3046);
    EXPECT_EQ(r.props.at(0x142), 1276u);
    EXPECT_EQ(r.props.at(0x143), 1206u);
    EXPECT_EQ(r.vertices(), (std::vector<std::pair<int, int>>{{0, 0}, {1276, 320}, {556, 1206}}));
    EXPECT_EQ(r.props.at(0x144), 0u); // still open
    EXPECT_EQ(r.props.at(0x1BF), 0x00100010u);
    EXPECT_EQ(r.props.at(0x181), 0x00CCFFu);

    // Wider than 32767 master units: the vertices need 32-bit coordinates.
    PPTPolyLine wide(0, 0, 720, 540);
    addPoints(wide, {{-2000, 100}, {360, 500}, {3000, 100}});
    ShapeRecord w = slideRecord(wide);
    EXPECT_EQ(readU16(w.complex.at(0x145), 4), 8u);
    EXPECT_EQ(w.vertices(), (std::vector<std::pair<int, int>>{{0, 0}, {18880, 3200}, {40000, 0}}));
}

TEST(DrawnShapes, HugeCoordinatesAreClampedAndNonFiniteOnesRefused) {
    PPTLine far(-1e9f, 0, 1e30f, 5000);
    ShapeRecord r = slideRecord(far);
    EXPECT_EQ(r.left, -32768);
    EXPECT_EQ(r.right, 32767);
    EXPECT_EQ(r.bottom, 32767);

    PPTLine nanLine(0, 0, kNaN, 10);
    EXPECT_EQ(errorCode([&] { nanLine.calSize(nullptr, true); }), 15);
    EXPECT_EQ(errorCode([&] { written(nanLine); }), 15);
    EXPECT_EQ(errorCode([&] { written(nanLine, true); }), 15); // as a table rule, too
    EXPECT_EQ(nanLine.calSize(nullptr, false), 164);
    PPTRectangle infRect(0, 0, kInf, 10);
    EXPECT_EQ(errorCode([&] { infRect.calSize(nullptr, true); }), 15);
    PPTLine nanWidth(0, 0, 10, 10);
    nanWidth.set_LineWidth(kNaN);
    EXPECT_EQ(errorCode([&] { nanWidth.calSize(nullptr, true); }), 15);
    PPTPolyLine nanPoint(0, 0, 10, 10);
    addPoints(nanPoint, {{0, 0}, {kNaN, 3}});
    nanPoint.set_PolyFlag(true);
    EXPECT_EQ(errorCode([&] { nanPoint.calSize(nullptr, true); }), 15);

    // A whole save fails cleanly with the same error.
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    doc.addSlides(720, 540)->addShape(PPTPtr<PPTLine>(new PPTLine(0, 0, kNaN, 0)));
    EXPECT_EQ(errorCode([&] { documentStream(doc); }), 15);
}

TEST(PolyLine, MoreVerticesThanAFreeformHoldsIsAnError) {
    PPTPolyLine poly(0, 0, 100, 100);
    for (std::size_t i = 0; i < officedrawing::PolyLineShapeContainer::kMaxOpenVertices; ++i) {
        _Tpoint p{static_cast<float>(i % 100), static_cast<float>(i / 1000)};
        poly.addPoint(p);
    }
    EXPECT_GT(poly.calSize(nullptr, true), 0); // 65,534 open vertices fit
    poly.set_PolyFlag(true);                   // closing needs 65,535 vertices and 65,537 segments
    EXPECT_EQ(errorCode([&] { poly.calSize(nullptr, true); }), 16);
}

// The component's own promises: Translate is optional for Output, and setters invalidate it.
TEST(ShapeContainers, LengthIsWhatOutputWritesAndSettersInvalidate) {
    officedrawing::RectangleShapeContainer c(10, 10, 50, 40);
    c.SetShapeId(7);
    c.Translate();
    unsigned before = c.GetLength();
    c.SetFillColor(0x00FF00);
    c.SetFillOpacity(150); // clamped to 100: no opacity written
    QvOutputStream s;
    EXPECT_TRUE(c.Output(s));
    EXPECT_EQ(c.GetLength() + 8, s.bytes().size());
    EXPECT_EQ(c.GetLength(), before + 6); // the fill colour, nothing stale
    ShapeRecord r = parseShape(s.bytes());
    EXPECT_EQ(r.spid, 0x807u);
    EXPECT_EQ(r.props.count(0x182), 0u);
}
