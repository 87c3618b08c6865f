// The size pass of a shape is its write pass, counted.
#include <gtest/gtest.h>

#include "drawing/shape_size.h"
#include "support/fake_shape.h"

using quorv_test::FakeShape;

TEST(ShapeSize, RecordLengthOfWhatOutputWrites) {
    FakeShape writes("A", 0, Quorv::OT_TextFrame, 20);
    EXPECT_EQ(Quorv::slideRecordLength(writes), 20);
    FakeShape silent("B", 0, Quorv::OT_TextFrame, 0);
    EXPECT_EQ(Quorv::slideRecordLength(silent), 0);
}
