// Lines, rectangles and polylines in whole documents: the shapes of the interoperability decks
// measure exactly what they write, and a slide writes them in ShapeNum order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"

// The decks test_shapes.py opens in POI and LibreOffice, built here from the same source.
#include "interop/decks_shapes.cpp"

using namespace Quorv;
using namespace quorv_test;

// calSize(p, true), which runs the component's Translate and GetLength, plus the 8-byte header
// is what output(s, false) writes, for every line, rectangle and polyline of the decks.
TEST(ShapeDeck, LengthPlusHeaderIsWhatOutputWrites) {
    interop_decks::DeckMap decks;
    interop_decks::addShapeDecks(decks);
    ASSERT_FALSE(decks.empty());
    int checked = 0;
    for (const auto& deck : decks) {
        PPTDocument doc;
        PPTProperties props;
        deck.second(doc, props);
        for (const auto& slide : doc.getSlides()) {
            int id = 2;
            for (const auto& shape : slide->getShapes()) {
                shape->set_ShapeId(id++);
                int zero = 0;
                int length = shape->calSize(&zero, true);
                QvOutputStream s;
                shape->output(s, false);
                ASSERT_EQ(static_cast<std::size_t>(length) + 8, s.bytes().size()) << deck.first << " shape " << id;
                Record r = parseRecord(s.bytes(), 0);
                EXPECT_EQ(r.type, 0xF004u);
                EXPECT_EQ(r.length, static_cast<std::uint32_t>(length));
                ++checked;
            }
        }
        documentStream(doc); // and the whole deck is written without a length mismatch
    }
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
