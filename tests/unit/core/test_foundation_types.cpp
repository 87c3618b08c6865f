// Length, QvException and the reference counting of ShapeRCObject / PPTPtr.
#include <gtest/gtest.h>

#include <cstring>

#include "quorv/quorv.h"

using namespace Quorv;

namespace {

float bitsToFloat(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// A counted object that tells when it is deleted.
class Probe : public ShapeRCObject {
public:
    explicit Probe(bool* deleted) : deleted_(deleted) { setObjType(OT_Line); }
    ~Probe() override { *deleted_ = true; }

private:
    bool* deleted_;
};

} // namespace

TEST(Length, ConvertsUnitsInSinglePrecision) {
    EXPECT_NEAR(static_cast<float>(Length(2.54f, 0)), 72.0f, 1e-4);
    EXPECT_NEAR(Length(2.54f, 0).getValue(2), 1.0, 1e-6);
    EXPECT_FLOAT_EQ(Length(1.0f, 7), 72.0f);  // unknown units count as inches
    EXPECT_FLOAT_EQ(Length(1.0f, -1), 72.0f);
    EXPECT_FLOAT_EQ(Length(20.0f, 5), 1.0f); // twips
    EXPECT_DOUBLE_EQ(Length(144.0f).getValue(99), 2.0);
    EXPECT_EQ(Length::LENGTH_UNIT_CM, bitsToFloat(0x41E2C58B));
    EXPECT_EQ(Length::LENGTH_UNIT_MM, bitsToFloat(0x40356AD6));
    EXPECT_EQ(Length::LENGTH_UNIT_PC_MM, bitsToFloat(0x40877778));
}

TEST(Length, EqualityToleranceAndArithmetic) {
    EXPECT_TRUE(Length(10.0f).equals(Length(10.0009f)));
    EXPECT_FALSE(Length(10.0f).equals(Length(10.002f)));
    Length ten(10.0f);
    Length more = ten + 0.5f;
    EXPECT_FLOAT_EQ(more, 10.5f);
    EXPECT_FLOAT_EQ(ten, 10.0f);
    ten += Length(2.0f);
    EXPECT_FLOAT_EQ(ten, 12.0f);
}

TEST(QvException, MessagesFollowTheCode) {
    QvException row = makeException(QV_ERR_ROW_INDEX, " in table is : 7");
    EXPECT_STREQ(row.what(), "Illegal row number value  in table is : 7");
    EXPECT_EQ(row.get_Code(), 2);
    EXPECT_STREQ(makeException(1, "the cell in row is : 3").what(), "Illegal cell number value the cell in row is : 3");
    QvException write = makeException(QV_ERR_WRITE_FILE, " function: outputppt");
    EXPECT_STREQ(write.what(), "write ole file error   function: outputppt");
    QvException save = makeException(6, "save");
    EXPECT_STREQ(save.what(), "");
    EXPECT_EQ(save.get_Code(), 6);
    EXPECT_EQ(save.get_Detail(), "save");
    for (int code = 3; code <= 10; ++code) {
        if (code != 5) {
            EXPECT_STREQ(makeException(code, "x").what(), "") << code;
        }
    }
    EXPECT_STRNE(makeException(QV_ERR_TEXT_TOO_LONG, "").what(), "");
    QvException copy = write;
    EXPECT_STREQ(copy.what(), write.what());
}

TEST(RefCounting, HandlesShareOneObject) {
    bool deleted = false;
    {
        PPTPtr<Probe> a(new Probe(&deleted));
        EXPECT_EQ(a->getRefCount(), 1);
        EXPECT_TRUE(a->isA(OT_Line));
        EXPECT_FALSE(a->isA(OT_Picture));
        {
            PPTPtr<Probe> b = a;
            EXPECT_EQ(a->getRefCount(), 2);
            PPTPtr<ShapeRCObject> base = b; // converts to a handle of the base class
            EXPECT_EQ(a->getRefCount(), 3);
        }
        EXPECT_EQ(a->getRefCount(), 1);
        a = a; // self-assignment changes nothing
        PPTPtr<Probe> same = a;
        same = a;
        EXPECT_EQ(a->getRefCount(), 2);
    }
    EXPECT_TRUE(deleted);
}

TEST(RefCounting, RemoveRefNeverDeletesButReleaseDoes) {
    bool deleted = false;
    Probe* p = new Probe(&deleted);
    p->addRef();
    EXPECT_EQ(p->removeRef(), 0);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(p->release(), -1);
    EXPECT_TRUE(deleted);
    PPTPtr<Probe> empty(nullptr);
    EXPECT_FALSE(empty);
}
