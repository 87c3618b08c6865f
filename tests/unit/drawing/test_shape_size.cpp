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

#include "drawing/officeart_records.h"

TEST(AnchorBox, TurnedByNinetyDegreesForRotationsNearAQuarterTurn) {
    using Quorv::officeart::anchorBoxForRotation;
    // A 200 x 100 box centred on (200, 150).
    for (int degrees : {0, 30, 44, 135, 200, 224, 315, 359, -30, -46 + 1}) {
        auto b = anchorBoxForRotation(100, 100, 300, 200, degrees);
        EXPECT_FLOAT_EQ(b.left, 100) << degrees;
        EXPECT_FLOAT_EQ(b.right, 300) << degrees;
    }
    for (int degrees : {45, 90, 134, 225, 270, 314, -90}) {
        auto b = anchorBoxForRotation(100, 100, 300, 200, degrees);
        EXPECT_FLOAT_EQ(b.left, 150) << degrees;
        EXPECT_FLOAT_EQ(b.top, 50) << degrees;
        EXPECT_FLOAT_EQ(b.right, 250) << degrees;
        EXPECT_FLOAT_EQ(b.bottom, 250) << degrees;
    }
}
