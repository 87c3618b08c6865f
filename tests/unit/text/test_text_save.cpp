// Text frames inside a saved document, and the cost of writing a large frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"

using namespace Quorv;

namespace {

// A frame of `paragraphs` paragraphs of 100 characters, formats alternating.
PPTPtr<PPTTextFrame> bigFrame(int paragraphs) {
    PPTPtr<PPTTextFrame> f(new PPTTextFrame(20, 20, 680, 500));
    Font plain;
    plain.set_Size(12);
    Font bold = plain;
    bold.set_Bold(true);
    bold.set_Color(0x0000C0);
    PPTParagraphFormat left;
    PPTParagraphFormat bullet;
    bullet.SetBullet(true);
    bullet.SetbuChar(1);
    bullet.SetSpaceBefore(2);
    for (int i = 0; i < paragraphs; ++i) {
        PPTParagraphFormat p = i % 2 ? bullet : left;
        f->setParagraphFormat(p, false);
        f->addText(std::wstring(49, static_cast<wchar_t>(L'a' + i % 26)), i % 2 ? bold : plain);
        f->addText(std::wstring(50, L'x'), i % 2 ? plain : bold);
        if (i + 1 < paragraphs) f->addPar(plain);
    }
    return f;
}

// Processor time (not wall time, so that other processes on the machine do not count) of
// writing the frame four times.
double secondsToWrite(PPTTextFrame& f) {
    const std::clock_t start = std::clock();
    for (int i = 0; i < 4; ++i) {
        QvOutputStream s;
        f.output(s, false);
    }
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

} // namespace

TEST(TextSave, FramesSitInTheSlidesDrawing) {
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTTextFrame> a(new PPTTextFrame(10, 10, 200, 50));
    a->addText(L"first", Font());
    a->set_ShapeNum(2);
    PPTPtr<PPTTextFrame> b = bigFrame(20);
    b->set_ShapeNum(1);
    PPTPtr<PPTTextFrame> empty(new PPTTextFrame(10, 100, 200, 50));
    empty->set_ShapeNum(3);
    slide->addShape(a);
    slide->addShape(b);
    slide->addShape(empty);

    const std::vector<std::uint8_t> stream = quorv_test::documentStream(doc);
    std::vector<quorv_test::Record> top = quorv_test::parseRecords(stream, 0, stream.size()); // lengths nest
    std::vector<const quorv_test::Record*> boxes;
    for (const auto& r : top) {
        if (r.type == 0x03EE) r.findAll(0xF00D, boxes);
    }
    ASSERT_EQ(boxes.size(), 3u);
    // In ShapeNum order: the big frame (id 2), "first" (id 3), the empty one (id 4) with a space.
    std::vector<const quorv_test::Record*> chars = boxes[2]->findAll(0x0FA0);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0]->length, 2u);
    EXPECT_EQ(stream[chars[0]->bodyOffset()], 0x20);
    std::vector<const quorv_test::Record*> shapes;
    for (const auto& r : top) {
        if (r.type == 0x03EE) r.findAll(0xF00A, shapes);
    }
    std::vector<std::uint32_t> spids;
    for (const auto* s : shapes) spids.push_back(quorv_test::readU32(stream, s->bodyOffset()));
    EXPECT_EQ(spids, (std::vector<std::uint32_t>{0x800, 0x802, 0x803, 0x804, 0x801}));
}

// Not a timing test: writing 4 times the text must not cost anything like 16 times as much.
TEST(TextSave, WritingAFrameIsLinearInItsLength) {
    PPTPtr<PPTTextFrame> small = bigFrame(50);  // 5,000 characters
    PPTPtr<PPTTextFrame> large = bigFrame(200); // 20,000 characters
    // The best of several interleaved rounds, so that a busy moment spoils neither size alone.
    double t1 = 1e9;
    double t4 = 1e9;
    for (int round = 0; round < 7; ++round) {
        t1 = std::min(t1, secondsToWrite(*small));
        t4 = std::min(t4, secondsToWrite(*large));
    }
    RecordProperty("seconds_5000", std::to_string(t1));
    RecordProperty("seconds_20000", std::to_string(t4));
    EXPECT_LT(t4, 10 * t1 + 0.002) << t1 << " s for 5,000 characters, " << t4 << " s for 20,000";
}
