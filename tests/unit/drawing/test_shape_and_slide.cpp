// PPTShape's accessors, and how a slide orders, numbers and counts its shapes.
#include <gtest/gtest.h>

#include <string>

#include "quorv/quorv.h"
#include "support/fake_shape.h"

using namespace Quorv;
using quorv_test::FakeShape;

namespace {

std::string order(const PPTSlides& slide) {
    std::string out;
    for (const auto& s : slide.getShapes()) out += static_cast<FakeShape*>(s.get())->name();
    return out;
}

PPTPtr<PPTSlides> slideWith(std::initializer_list<std::pair<const char*, int>> shapes) {
    PPTPtr<PPTSlides> slide(new PPTSlides(720, 540));
    for (const auto& s : shapes) slide->addShape(PPTPtr<FakeShape>(new FakeShape(s.first, s.second)));
    return slide;
}

} // namespace

TEST(Shape, DefaultsAndAccessorRules) {
    FakeShape s("A", 0);
    EXPECT_EQ(s.get_ShapeOpac(), 100);
    EXPECT_EQ(s.get_LineColor(), -1);
    EXPECT_EQ(s.get_FillColor(), -1);
    EXPECT_EQ(s.get_BackColor(), -1);
    EXPECT_EQ(s.get_LineStyle(), -1);
    EXPECT_FLOAT_EQ(s.get_LineSWidth(), 0.75f);

    s.set_LineColor(0x0000FF);
    s.set_LineColor(-1);
    EXPECT_EQ(s.get_LineColor(), 0x0000FF); // once set, a colour cannot return to "not set"
    s.set_ShapeOpac(150);
    EXPECT_EQ(s.get_ShapeOpac(), 100);
    s.set_ShapeOpac(-5);
    EXPECT_EQ(s.get_ShapeOpac(), 0);

    for (int v : {370, 720, -30, -370}) {
        s.set_Srotate(v);
        EXPECT_EQ(s.get_Srotate(), v % 360);
    }
    EXPECT_EQ(s.get_Srotate(), -10);

    s.set_LineStyle(10);
    s.set_LineStyle(-1);
    s.set_LineStyle(4);
    for (int bad : {11, -2}) {
        try {
            s.set_LineStyle(bad);
            ADD_FAILURE() << "no exception for " << bad;
        } catch (const QvException& e) {
            EXPECT_EQ(e.get_Code(), 3);
            EXPECT_STREQ(e.what(), "");
        }
    }
    EXPECT_EQ(s.get_LineStyle(), 4);

    EXPECT_EQ(s.GetShapeOpacity(100), 65536);
    EXPECT_EQ(s.GetShapeOpacity(50), 32768);
    EXPECT_EQ(s.GetShapeOpacity(33), 21626);
    EXPECT_EQ(s.GetShapeOpacity(1), 655);
    EXPECT_EQ(s.GetShapeOpacity(-1), 0);

    s.set_LineWidth(3.0f);
    FakeShape copy(s);
    EXPECT_FLOAT_EQ(copy.get_LineSWidth(), 0.0f); // a copy's line width starts at 0
    EXPECT_EQ(copy.get_LineColor(), 0x0000FF);
}

TEST(Slide, QuicksortOrderForEqualKeys) {
    auto a = slideWith({{"A", 5}, {"B", 5}, {"C", 1}});
    a->orderShapes(0, 2);
    EXPECT_EQ(order(*a), "CBA");

    auto b = slideWith({{"A", 1}, {"B", 1}, {"C", 1}, {"D", 1}});
    b->orderShapes(0, 3);
    EXPECT_EQ(order(*b), "CDAB");

    auto c = slideWith({{"A", 3}, {"B", 1}, {"C", 2}});
    c->orderShapes(0, 2);
    EXPECT_EQ(order(*c), "BCA");
    c->setShapeIds();
    EXPECT_EQ(c->getShapes()[0]->get_ShapeId(), 2);
    EXPECT_EQ(c->getShapes()[2]->get_ShapeId(), 4);

    // Out-of-range bounds are cut to the list.
    auto d = slideWith({{"A", 2}, {"B", 1}});
    d->orderShapes(-3, 99);
    EXPECT_EQ(order(*d), "BA");
}

TEST(Slide, SortsLargeListsWithoutDeepRecursion) {
    PPTPtr<PPTSlides> slide(new PPTSlides(720, 540));
    const int n = 200000;
    for (int i = 0; i < n; ++i) slide->addShape(PPTPtr<FakeShape>(new FakeShape("", (i * 7919) % 1000)));
    slide->orderShapes(0, n - 1);
    for (int i = 1; i < n; ++i) {
        ASSERT_LE(slide->getShapes()[i - 1]->get_ShapeNum(), slide->getShapes()[i]->get_ShapeNum());
    }
}

TEST(Slide, TablesNumberTheirInnerShapesFromThirtyTwoOn) {
    PPTPtr<PPTSlides> slide(new PPTSlides(720, 540));
    PPTPtr<FakeShape> before(new FakeShape("A", 1));
    PPTPtr<FakeShape> table(new FakeShape("T", 2, OT_Table));
    PPTPtr<FakeShape> after(new FakeShape("B", 3));
    slide->addShape(before);
    slide->addShape(table);
    slide->addShape(after);
    slide->setShapeIds();
    EXPECT_EQ(before->get_ShapeId(), 2);
    EXPECT_EQ(table->tableCounterOnEntry, 3 + 32);
    EXPECT_EQ(after->get_ShapeId(), 3); // the value the table started from
}

TEST(Slide, CountsPicturesAndAsksOnlyThem) {
    PPTPtr<PPTSlides> slide(new PPTSlides(720, 540));
    PPTPtr<FakeShape> p1(new FakeShape("P", 2, OT_Picture));
    PPTPtr<FakeShape> t(new FakeShape("T", 1, OT_TextFrame));
    PPTPtr<FakeShape> p2(new FakeShape("Q", 0, OT_Picture));
    slide->addShape(p1);
    slide->addShape(t);
    slide->addShape(p2);
    slide->addShape(PPTPtr<PPTShape>()); // a null handle is not kept
    EXPECT_EQ(slide->getShapes().size(), 3u);
    EXPECT_EQ(slide->calSize(nullptr, true), 2);
    EXPECT_EQ(slide->calSize(nullptr, false), 0);
    QvOutputStream s;
    slide->outputPicture(s);
    slide->output(s, true);
    EXPECT_EQ(p1->picturesWritten + p2->picturesWritten + t->picturesWritten, 2);
    EXPECT_EQ(p1->storeEntriesWritten + p2->storeEntriesWritten + t->storeEntriesWritten, 2);
    EXPECT_EQ(s.size(), 0);
}

TEST(Slide, WritingTheRecordKeepsTheHostsOrder) {
    auto slide = slideWith({{"A", 3}, {"B", 1}, {"C", 2}});
    QvOutputStream s;
    slide->output(s, false);
    EXPECT_EQ(order(*slide), "ABC");
    EXPECT_EQ(slide->getShapes()[1]->get_ShapeId(), 2); // B is first in z-order
    EXPECT_EQ(slide->getShapes()[0]->get_ShapeId(), 4);
}
