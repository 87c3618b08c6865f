// Font and PPTParagraphFormat: defaults, validation, the numbering and bullet tables, equality.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "core/output_stream.h"
#include "quorv/quorv.h"

using namespace Quorv;

namespace {

template <class F>
int codeOf(F&& f) {
    try {
        f();
    } catch (const QvException& e) {
        return e.get_Code();
    }
    return 0;
}

} // namespace

TEST(Font, DefaultsAndTheValueConstructor) {
    Font d;
    EXPECT_EQ(d.get_Name(), L"Arial");
    EXPECT_EQ(d.get_Size(), 18);
    EXPECT_EQ(d.get_Color(), 0);
    EXPECT_EQ(d.get_Index(), 0);
    EXPECT_EQ(d.get_listNumInfo(), -1);
    EXPECT_EQ(d.get_listbuChar(), -1);
    EXPECT_FALSE(d.get_Bold() || d.get_Italic() || d.get_Strikethrough() || d.get_cfOldtype() || d.get_cfSymboltype());
    EXPECT_DOUBLE_EQ(Font::szMin, 1.0);
    EXPECT_DOUBLE_EQ(Font::szMax, 409.0);

    Font f(L"Times", 10.9, true, true, 1, true, 0x0000FF, 250);
    EXPECT_EQ(f.get_Size(), 10); // truncated toward zero
    EXPECT_EQ(f.get_Script(), 100);
    EXPECT_EQ(f.get_Name(), L"Times");
    EXPECT_TRUE(f.get_Bold() && f.get_Italic() && f.get_Strikethrough());
    EXPECT_EQ(f.get_Underline(), 1);
    EXPECT_EQ(f.get_Color(), 0x0000FF);
    EXPECT_EQ(Font(L"x", -3.7, false, false, 0, false, 0, -250).get_Size(), -3);
    EXPECT_EQ(Font(L"x", 1e300, false, false, 0, false, 0, 0).get_Size(), INT_MAX); // no overflow

    f.set_Script(-250);
    EXPECT_EQ(f.get_Script(), -100);
    f.set_Index(7);
    f.set_cfSymboltype(true);
    f.initialize(L"Courier", 12.0, false, false, 0, false, 0, 0);
    EXPECT_EQ(f.get_Index(), 0);
    EXPECT_FALSE(f.get_cfSymboltype());
    f.set_listNumInfo(3);
    f.initialize();
    EXPECT_EQ(f.get_Name(), L"Arial");
    EXPECT_EQ(f.get_listNumInfo(), -1);
}

TEST(Font, EqualityIgnoresOnlyTheNameAndCfTypeface) {
    Font a;
    Font b;
    b.set_Name(L"Other");
    b.set_cfTypeface(true);
    EXPECT_TRUE(a.equals(b));

    const auto differs = [&a](void (*change)(Font&)) {
        Font c;
        change(c);
        return !a.equals(c);
    };
    EXPECT_TRUE(differs([](Font& f) { f.set_Bold(true); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_Italic(true); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_Underline(2); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_Strikethrough(true); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_Color(5); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_Size(20); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_Script(1); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_Index(3); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_cfOldtype(true); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_cfAnsitype(true); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_cfSymboltype(true); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_listNumInfo(0); }));
    EXPECT_TRUE(differs([](Font& f) { f.set_listbuChar(0); }));
}

TEST(Font, CloneAndSerialisedForm) {
    Font a(L"Symbol", 30, true, false, 1, false, 0x123456, -5);
    a.set_cfTypeface(true);
    std::unique_ptr<Font> c(a.clone());
    EXPECT_TRUE(a.equals(*c));
    EXPECT_TRUE(c->get_cfTypeface());
    QvOutputStream s;
    EXPECT_EQ(a.save(s, false), 0);
    EXPECT_EQ(s.size(), 0); // a Font has no serialised form
}

TEST(ParagraphFormat, NumberingAndBulletTables) {
    PPTParagraphFormat p;
    EXPECT_EQ(p.GetnumBullet(), -1);
    EXPECT_EQ(p.GetbuChar(), -1);
    const int schemes[8] = {-1, 3, 18, 7, 11, 38, 0, 6};
    const int chars[8] = {-1, 0x6C, 0x6E, 0x75, 0x70, 0xFC, 0xD8, 0};
    for (int v = 0; v <= 7; ++v) {
        p.SetnumBullet(v);
        p.SetbuChar(v);
        EXPECT_EQ(p.GetnumBullet(), schemes[v]) << v;
        EXPECT_EQ(p.GetbuChar(), chars[v]) << v;
    }
}

TEST(ParagraphFormat, RejectedValuesThrowOrAreIgnoredAndChangeNothing) {
    PPTParagraphFormat p;
    p.SetnumBullet(5);
    p.SetbuChar(2);
    p.SetAlignment(3);
    p.SetLevel(2);
    p.SetTextDirection(1);
    EXPECT_EQ(codeOf([&] { p.SetnumBullet(8); }), 8);
    EXPECT_EQ(codeOf([&] { p.SetnumBullet(-1); }), 8);
    EXPECT_EQ(codeOf([&] { p.SetbuChar(-1); }), 8);
    EXPECT_EQ(codeOf([&] { p.SetbuChar(8); }), 8);
    EXPECT_EQ(codeOf([&] { p.SetAlignment(7); }), 9);
    EXPECT_EQ(codeOf([&] { p.SetAlignment(-1); }), 9);
    p.SetLevel(6);
    p.SetLevel(-1);
    p.SetTextDirection(2);
    EXPECT_EQ(p.GetnumBullet(), 38);
    EXPECT_EQ(p.GetbuChar(), 0x6E);
    EXPECT_EQ(p.GetAlignment(), 3);
    EXPECT_EQ(p.GetLevel(), 2);
    EXPECT_EQ(p.GetTextDirection(), 1);

}

TEST(ParagraphFormat, InitializeKeepsTheFirstNumber) {
    PPTParagraphFormat p;
    p.SetStartBulletNum(4);
    p.SetBullet(true);
    p.SetLeftMargin(20);
    p.SetTabSize(10);
    p.initialize();
    EXPECT_EQ(p.GetStartBulletNum(), 4);
    EXPECT_FALSE(p.GetBullet());
    EXPECT_EQ(p.GetLeftMargin(), 0);
    EXPECT_EQ(p.GetTabSize(), 36);
    EXPECT_EQ(p.GetbuTypeface(), -1);
}

TEST(ParagraphFormat, EqualityComparesLayoutNotBulletLooks) {
    PPTParagraphFormat a;
    PPTParagraphFormat b;
    b.SetLevel(3);
    b.SetBullet(true);
    b.SetbColor(true);
    b.SetStartBulletNum(9);
    b.SetbuSize(50);
    b.SetbuTypeface(2);
    b.SetbuColor(0xFF);
    b.SetTabSize(5);
    EXPECT_TRUE(a.equals(b));

    const auto differs = [&a](void (*change)(PPTParagraphFormat&)) {
        PPTParagraphFormat c;
        change(c);
        return !a.equals(c);
    };
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetAlignment(1); }));
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetTextDirection(1); }));
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetLineSpace(12); }));
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetSpaceBefore(1); }));
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetSpaceAfter(1); }));
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetLeftMargin(1); }));
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetIndent(1); }));
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetnumBullet(1); }));
    EXPECT_TRUE(differs([](PPTParagraphFormat& p) { p.SetbuChar(1); }));
}
