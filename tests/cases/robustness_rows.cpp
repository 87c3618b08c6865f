// Bad input a converter may pass (docs/robustness.md): huge, negative and non-finite lengths,
// many objects, pictures that end early or claim too many pixels. Each ends in a clear
// QvException or in a file the verifier accepts.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "cases/decks.h"
#include "picture/blip_records.h"
#include "support/picture_samples.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

PPTPtr<PPTShape> frameAt(float v, float margin, int z) {
    PPTPtr<PPTTextFrame> f(new PPTTextFrame(v, v, 10, 10));
    f->set_textleft(margin);
    f->set_ShapeNum(z);
    return f;
}

// A source that promises more bytes than it gives, as a file that shrinks while it is read.
class ShortSource : public picture::ByteSource {
public:
    std::uint64_t size() const noexcept override { return 3u << 20; }
    std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) override {
        const std::size_t n = offset >= (1u << 20) ? 0 : std::min<std::size_t>(count, (1u << 20) - offset);
        std::fill(out, out + n, 0);
        return n;
    }
};

const Row kRows[] = {
    // Anchors beyond the 16-bit range sit at its edge. A margin is an inset, not a coordinate: NaN
    // is written as 0 (a NaN position is refused, see error_rows.cpp).
    {"anchors_clamped", slideWith([] { return std::vector<PPTPtr<PPTShape>>{frameAt(1e9f, kNaN, 1),
                                                                             frameAt(-1e9f, -1e9f, 2)}; }),
     {{below({0xF010}), "00 00 10 F0 08 00 00 00  FF 7F FF 7F FF 7F FF 7F", 0},
      {below({0xF010}), "00 00 10 F0 08 00 00 00  00 80 00 80 00 80 00 80", 1},
      {below({0xF00B}), "81 00 00 00 00 00", 0, 8 + 6}}},
    // A rectangle far off the slide, a negative line width (0), an opacity below 0 (0 %).
    {"huge_coordinates_and_widths", oneShape([] {
         PPTPtr<PPTRectangle> r(new PPTRectangle(1e6f, -1e6f, 10, 10));
         r->set_LineWidth(-3);
         r->set_FillColor(0x00FF00);
         r->set_ShapeOpac(-5);
         return PPTPtr<PPTShape>(r);
     }),
     {{below({0xF010}), "00 80 FF 7F FF 7F 00 80", 0, 8},
      {below({0xF00B}), "81 01 00 FF 00 00  82 01 00 00 00 00  BF 01 10 00 10 00  C0 01 01 00 00 08  CB 01 00 00 00 00",
       0, 8}}},
};

class RobustnessRows : public ::testing::TestWithParam<Row> {};
TEST_P(RobustnessRows, FileHoldsTheRecords) { runRow(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Robustness, RobustnessRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Many objects: 50,000 shapes with rising keys (the sort must not recurse that deep), 4,200
// pictures (more than the picture store's 12-bit count), 200 fonts (the table keeps 129).
TEST(Robustness, ManyShapesPicturesAndFonts) {
    const StreamMap many = saveDeck([](PPTDocument& doc, PPTProperties&) {
        PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
        for (int i = 0; i < 50000; ++i) {
            PPTPtr<PPTRectangle> r(new PPTRectangle(static_cast<float>(i % 700), 10, 5, 5));
            r->set_ShapeNum(i);
            slide->addShape(r);
        }
        for (int z : {-1, 50000}) { // tables first and last: their shape ids clear of the others'
            PPTPtr<PPTTable> t(new PPTTable(0, 0, 50, 20));
            PPTPtr<PPTRow> row(new PPTRow);
            row->addCell(PPTPtr<PPTCell>(new PPTCell));
            t->addRow(row);
            t->set_ShapeNum(z);
            slide->addShape(t);
        }
        for (int i = 0; i < 4200; ++i) {
            PPTPtr<PPTPicture> p(new StreamPicture(0, 0, 10, 10, PPTPicture::IMAGE_PNG, pngOfSize(57 + i)));
            p->set_PicId(i + 1);
            doc.addSlides(720, 540)->addShape(p);
        }
    });
    EXPECT_EQ(describeProblems(verifyPresentation(many)), "");
    PPTDocument doc;
    for (int i = 0; i < 200; ++i) doc.get_FontNamesIndex(L"Face " + std::to_wstring(i), 0);
    EXPECT_EQ(doc.getFontNames().size(), 129u);
    EXPECT_EQ(doc.get_FontNamesIndex(L"Face 125", 0), 128);
    EXPECT_EQ(doc.get_FontNamesIndex(L"One more", 0), 0); // no room: the default face
}

// Picture data that ends before the length it was sized for is reported, not written short.
TEST(Robustness, PictureDataEndingEarlyIsReported) {
    ShortSource source;
    QvOutputStream s;
    try {
        picture::writeBitmapBlip(s, picture::BlipKind::Png, picture::BlipIdentifier{}, source);
        ADD_FAILURE() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), 14);
    }
}

} // namespace
