// The slide record, byte for byte from the layout of RT_Slide ([MS-PPT] 2.5.1).
#include <gtest/gtest.h>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fake_shape.h"
#include "support/records.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

// The 312 bytes of a slide whose shapes' records, already written, are `shapes`.
Bytes expectedSlide(const Bytes& shapes) {
    const std::uint32_t sigma = static_cast<std::uint32_t>(shapes.size());
    const std::uint32_t G = 48 + sigma, D = G + 104, L = D + 152;
    Bytes b;
    appendHeader(b, 0xF, 0, 0x03EE, L);
    appendHeader(b, 2, 0, 0x03EF, 24);
    appendBytes(b, hex("00 00 00 00  0F 10 00 00 00 00 00 00  00 00 00 80  00 00 00 00  07 00 0C 30"));
    appendHeader(b, 0xF, 0, 0x040C, D + 8);
    appendHeader(b, 0xF, 0, 0xF002, D);
    appendHeader(b, 0, 2, 0xF008, 8);
    appendBytes(b, hex("02 00 00 00 04 08 00 00"));
    appendHeader(b, 0xF, 0, 0xF003, G);
    // Group shape.
    appendHeader(b, 0xF, 0, 0xF004, 40);
    appendHeader(b, 1, 0, 0xF009, 16);
    appendBytes(b, Bytes(16, 0));
    appendHeader(b, 2, 0, 0xF00A, 8);
    appendBytes(b, hex("00 08 00 00 05 00 00 00"));
    appendBytes(b, shapes);
    // Background shape: the drawing's own, after the group.
    appendHeader(b, 0xF, 0, 0xF004, 72);
    appendHeader(b, 2, 1, 0xF00A, 8);
    appendBytes(b, hex("01 08 00 00 00 0C 00 00"));
    appendHeader(b, 3, 8, 0xF00B, 48);
    appendBytes(b, hex("81 01 00 00 00 08  83 01 00 00 00 08  93 01 8E 9F 8B 00  94 01 DE BD 68 00"
                       "BF 01 12 00 12 00  FF 01 00 00 08 00  04 03 09 00 00 00  3F 03 01 00 01 00"));
    // Colour scheme.
    appendHeader(b, 0, 1, 0x07F0, 32);
    appendBytes(b, hex("FF FF FF 00 00 00 00 00 80 80 80 00 00 00 00 00 BB E0 E3 00 33 33 99 00 00 99 99 00 99 CC 00 00"));
    // Programmable tags.
    appendHeader(b, 0xF, 0, 0x1388, 56);
    appendHeader(b, 0xF, 0, 0x138A, 48);
    appendHeader(b, 0, 0, 0x0FBA, 16);
    appendBytes(b, hex("5F 00 5F 00 5F 00 50 00 50 00 54 00 31 00 30 00"));
    appendHeader(b, 0, 0, 0x138B, 16);
    appendBytes(b, hex("00 00 EB 2E 08 00 00 00 F8 0E C9 01 E0 3D D4 E5"));
    return b;
}

} // namespace

TEST(SlideBytes, EmptySlideIs312Bytes) {
    PPTSlides slide(720, 540);
    QvOutputStream s;
    slide.output(s, false);
    EXPECT_EQ(s.size(), 312);
    EXPECT_TRUE(sameBytes(expectedSlide({}), s.bytes()));
}

TEST(SlideBytes, ShapesGoBetweenGroupAndBackgroundInZOrder) {
    PPTSlides slide(720, 540);
    PPTPtr<FakeShape> a(new FakeShape("A", 3, OT_TextFrame, 8));
    PPTPtr<FakeShape> b(new FakeShape("B", 1, OT_TextFrame, 12));
    PPTPtr<FakeShape> empty(new FakeShape("E", 2, OT_TextFrame, 0)); // writes nothing
    slide.addShape(a);
    slide.addShape(b);
    slide.addShape(empty);
    QvOutputStream s;
    slide.output(s, false);

    Bytes shapes;
    appendHeader(shapes, 0xF, 0, 0xF004, 12); // B: id 2
    appendBytes(shapes, hex("02 00 00 00 00 00 00 00 00 00 00 00"));
    appendHeader(shapes, 0xF, 0, 0xF004, 8); // A: id 4 (E took 3)
    appendBytes(shapes, hex("04 00 00 00 00 00 00 00"));
    EXPECT_TRUE(sameBytes(expectedSlide(shapes), s.bytes()));
    EXPECT_EQ(s.size(), 312 + 20 + 16);
}
