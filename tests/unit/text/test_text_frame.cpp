// PPTTextFrame as a model: how text, character runs and paragraph runs are built, the 65,535
// code-unit limit, the box, margins and anchor.
#include <gtest/gtest.h>

#include <string>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/records.h"
#include "text/text_frame_access.h"

using namespace Quorv;
using detail::TextFrameAccess;

namespace {

Font sized(int size) {
    Font f;
    f.set_Size(size);
    return f;
}

PPTParagraphFormat aligned(int alignment) {
    PPTParagraphFormat p;
    p.SetAlignment(alignment);
    return p;
}

} // namespace

TEST(TextFrame, TextRunsMergeWhenFontsAreEqual) {
    PPTTextFrame f(0, 0, 100, 50);
    Font a;
    EXPECT_EQ(f.addText(L"", a), 0);
    EXPECT_TRUE(f.getFonts().empty());

    EXPECT_EQ(f.addText(L"ab", a), 2);
    Font renamed;
    renamed.set_Name(L"Other face"); // equal by Font::equals
    EXPECT_EQ(f.addText(L"cd", renamed), 2);
    ASSERT_EQ(f.getFonts().size(), 1u);
    EXPECT_EQ(f.getFonts()[0].start, 0);
    EXPECT_EQ(f.getFonts()[0].reserved, 0);
    EXPECT_EQ(f.getFonts()[0].font.get_Name(), L"Arial"); // the run keeps its first font
    EXPECT_EQ(TextFrameAccess::text(f), L"abcd");
}

TEST(TextFrame, ParagraphMarksTabsAndNewRuns) {
    PPTTextFrame f(0, 0, 100, 50);
    Font f1 = sized(20);
    Font f2 = sized(24);
    f.addText(L"ab", f1);
    EXPECT_EQ(f.addPar(f1), 1);
    EXPECT_EQ(f.addText(L"c", f2), 1);
    EXPECT_EQ(f.addTab(f2), 1);
    EXPECT_EQ(TextFrameAccess::text(f), std::wstring(L"ab\rc\t"));
    auto runs = f.getFonts();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].start, 0);
    EXPECT_EQ(runs[1].start, 3);
    EXPECT_EQ(runs[1].font.get_Size(), 24);
}

TEST(TextFrame, ParagraphFormatsAreTakenWhereAParagraphBegins) {
    PPTTextFrame f(0, 0, 100, 50);
    Font font;
    PPTParagraphFormat centre = aligned(1);
    EXPECT_TRUE(f.setParagraphFormat(centre, false)); // empty text, empty list: appended
    f.addText(L"x", font);
    PPTParagraphFormat right = aligned(2);
    EXPECT_FALSE(f.setParagraphFormat(right, false)); // mid-paragraph
    EXPECT_EQ(f.getparams().size(), 1u);
    f.addPar(font);
    PPTParagraphFormat same = aligned(1);
    EXPECT_FALSE(f.setParagraphFormat(same, false)); // equal to the last: the paragraph continues it
    EXPECT_TRUE(f.setParagraphFormat(right, false));
    auto params = f.getparams();
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(params[1].start, 2);
    EXPECT_EQ(params[1].format.GetAlignment(), 2);
}

TEST(TextFrame, OnAnEmptyFrameTheLastFormatWins) {
    PPTTextFrame f(0, 0, 100, 50);
    PPTParagraphFormat a = aligned(1);
    PPTParagraphFormat b = aligned(2);
    EXPECT_TRUE(f.setParagraphFormat(a, false));
    EXPECT_FALSE(f.setParagraphFormat(b, false)); // replaced, the list did not grow
    ASSERT_EQ(f.getparams().size(), 1u);
    EXPECT_EQ(f.getparams()[0].format.GetAlignment(), 2);
}

TEST(TextFrame, ReplacingKeepsThePlaceAndFirstNumberOfTheLastParagraph) {
    PPTTextFrame f(0, 0, 100, 50);
    Font font;
    f.addText(L"first", font);
    f.addPar(font);
    PPTParagraphFormat numbered;
    numbered.SetBullet(true);
    numbered.SetnumBullet(1);
    numbered.SetStartBulletNum(3);
    EXPECT_TRUE(f.setParagraphFormat(numbered, false));
    f.addText(L"second", font);

    PPTParagraphFormat changed = aligned(2);
    changed.SetStartBulletNum(7);
    EXPECT_TRUE(f.setParagraphFormat(changed, true));
    EXPECT_EQ(changed.GetStartBulletNum(), 3); // the caller's object changed
    auto params = f.getparams();
    ASSERT_EQ(params.size(), 1u);
    EXPECT_EQ(params[0].start, 6);
    EXPECT_EQ(params[0].format.GetAlignment(), 2);
    EXPECT_EQ(params[0].format.GetStartBulletNum(), 3);

    // On a frame without paragraph runs, replacing appends at the end of the text.
    PPTTextFrame g(0, 0, 10, 10);
    g.addText(L"ab", font);
    PPTParagraphFormat p = aligned(1);
    p.SetStartBulletNum(5);
    EXPECT_TRUE(g.setParagraphFormat(p, true));
    EXPECT_EQ(g.getparams()[0].start, 2);
    EXPECT_EQ(p.GetStartBulletNum(), 5);
}

TEST(TextFrame, AtMost65535Utf16CodeUnits) {
    PPTTextFrame f(0, 0, 100, 50);
    Font plain;
    Font bold;
    bold.set_Bold(true);
    EXPECT_EQ(f.addText(std::wstring(65534, L'a'), plain), 65534);
    try {
        f.addText(L"bc", bold);
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), 11);
        EXPECT_STRNE(e.what(), "");
    }
    EXPECT_EQ(TextFrameAccess::text(f).size(), 65534u); // unchanged
    EXPECT_EQ(f.getFonts().size(), 1u);
    EXPECT_EQ(f.addText(L"b", bold), 1); // exactly 65,535
    EXPECT_THROW(f.addPar(bold), QvException);
    EXPECT_EQ(f.getFonts().size(), 2u);
    EXPECT_EQ(f.getFonts()[1].start, 65534);
}

TEST(TextFrame, CharactersOutsideTheBmpCountTwiceTowardsTheLimit) {
    if (sizeof(wchar_t) < 4) GTEST_SKIP() << "wchar_t holds UTF-16 code units already";
    PPTTextFrame f(0, 0, 100, 50);
    Font font;
    const std::wstring grin(1, static_cast<wchar_t>(0x1F600));
    f.addText(std::wstring(65533, L'a'), font);
    EXPECT_EQ(f.addText(grin, font), 1); // 65,535 code units
    EXPECT_THROW(f.addText(L"a", font), QvException);
    PPTTextFrame g(0, 0, 100, 50);
    g.addText(std::wstring(65534, L'a'), font);
    EXPECT_THROW(g.addText(grin, font), QvException); // would be 65,536
}

TEST(TextFrame, BoxMarginsAnchorAndCopies) {
    PPTTextFrame f(100, 50, 300, 80);
    EXPECT_TRUE(f.isA(OT_TextFrame));
    f.set_textleft(7.5f);
    f.set_texttop(1);
    f.set_textright(2);
    f.set_textbottom(3);
    EXPECT_FLOAT_EQ(f.get_textleft(), 7.5f);
    EXPECT_FLOAT_EQ(f.get_textbottom(), 3.0f);
    EXPECT_EQ(f.get_anchor(), 0);
    f.set_anchor(3);
    f.set_anchor(6);
    f.set_anchor(-1);
    EXPECT_EQ(f.get_anchor(), 3);
    f.set_rotate(true);
    Font font;
    f.addText(L"text", font);

    PPTTextFrame copy(f);
    EXPECT_TRUE(copy.isA(OT_TextFrame));
    EXPECT_EQ(copy.get_anchor(), 0);
    EXPECT_FALSE(copy.get_rotate());
    EXPECT_FLOAT_EQ(copy.get_textleft(), 0.0f);
    EXPECT_TRUE(copy.getFonts().empty());
    EXPECT_TRUE(TextFrameAccess::text(copy).empty());
    // The copy has the same box: the anchor it writes is the original's.
    const auto anchorOf = [](PPTTextFrame& frame) {
        QvOutputStream s;
        frame.output(s, false);
        const quorv_test::Record anchor = quorv_test::parseRecord(s.bytes(), 0).children.at(2);
        return quorv_test::slice(s.bytes(), anchor.bodyOffset(), anchor.length);
    };
    EXPECT_EQ(anchorOf(copy), anchorOf(f));
    EXPECT_EQ(anchorOf(f), quorv_test::hex("90 01 20 03 80 0C 10 04"));
}

TEST(TextFrame, AnEmptyFrameIsWrittenWithOneSpace) {
    PPTTextFrame f(0, 0, 10, 10);
    int zero = 0;
    f.calSize(&zero, false);
    EXPECT_EQ(TextFrameAccess::text(f), L" ");
    ASSERT_EQ(f.getFonts().size(), 1u);
    EXPECT_TRUE(f.getFonts()[0].font.equals(Font()));

    PPTTextFrame g(0, 0, 10, 10); // output alone applies the rule as well
    QvOutputStream s;
    g.output(s, true);
    EXPECT_EQ(TextFrameAccess::text(g), L" ");
    QvOutputStream picture;
    EXPECT_TRUE(g.outputPicture(picture));
    EXPECT_EQ(picture.size(), 0);
}

TEST(TextFrame, SizesAreWhatIsWritten) {
    PPTTextFrame f(10, 20, 200, 100);
    Font bold;
    bold.set_Bold(true);
    PPTParagraphFormat bullets;
    bullets.SetBullet(true);
    bullets.SetbuChar(1);
    f.setParagraphFormat(bullets, false);
    f.addText(L"one", bold);
    f.addPar(bold);
    f.addText(L"two", Font());
    f.set_Srotate(-30);
    int zero = 0;
    QvOutputStream whole;
    f.output(whole, false);
    EXPECT_EQ(f.calSize(&zero, true) + 8, whole.size());
    QvOutputStream tail;
    f.output(tail, true);
    EXPECT_EQ(f.calSize(&zero, false) + 8, tail.size());
    EXPECT_EQ(TextFrameAccess::calBulletlen(f), 62 + 12); // one plain bullet entry
}
