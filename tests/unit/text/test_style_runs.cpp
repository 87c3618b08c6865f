// The style runs of a text frame: their byte lengths against the size formulas, the default line
// spacing, when the style atom is written, and the corrections to the runs (a paragraph run
// always covers the whole text, no division by zero, UTF-16 counts, font references).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "text/text_frame_access.h"

using namespace Quorv;
using detail::TextFrameAccess;
using quorv_test::readU16;
using quorv_test::readU32;

namespace {

Font sized(int size) {
    Font f;
    f.set_Size(size);
    return f;
}

std::vector<std::uint8_t> paragraphBytes(const PPTTextFrame& f) {
    QvOutputStream s;
    TextFrameAccess::writeParamInfo(f, s);
    return s.bytes();
}

std::vector<std::uint8_t> characterBytes(const PPTTextFrame& f) {
    QvOutputStream s;
    TextFrameAccess::writeFontInfo(f, s);
    return s.bytes();
}

// The size of one paragraph run by the formula: 10, then 2 for the bullet flags, 8 for a bullet
// face (character, face, colour) or else 4 for a bullet colour, 2 for a bullet size, 2 for each
// of alignment, direction, line spacing, space before (always), space after, margin, indent.
int paragraphRunFormula(const PPTParagraphFormat& p) {
    int n = 10;
    if (p.GetbColor() || p.GetbSize() || p.GetbTypeface() || p.GetBullet()) n += 2;
    if (p.GetbTypeface()) {
        n += p.GetbuChar() >= 0 ? 8 : 6; // no character when no symbol is chosen
    } else if (p.GetbColor()) {
        n += 4;
    }
    if (p.GetbSize()) n += 2;
    if (p.GetAlignment() > 0) n += 2;
    if (p.GetTextDirection() > 0) n += 2;
    if (p.GetLineSpace() != 0) n += 2;
    n += 2;
    if (p.GetSpaceAfter() != 0) n += 2;
    if (p.GetLeftMargin() > 0) n += 2;
    if (p.GetIndent() > 0) n += 2;
    return n;
}

} // namespace

TEST(StyleRuns, ParagraphRunLengthFollowsTheFormulaForEveryCombination) {
    for (int bits = 0; bits < (1 << 11); ++bits) {
        PPTParagraphFormat p;
        p.SetBullet(bits & 1);
        p.SetbTypeface(bits & 2);
        p.SetbColor(bits & 4);
        p.SetbSize(bits & 8);
        if (bits & 16) p.SetAlignment(2);
        if (bits & 32) p.SetTextDirection(1);
        if (bits & 64) p.SetLineSpace(-14);
        if (bits & 128) p.SetSpaceBefore(3);
        if (bits & 256) p.SetSpaceAfter(4);
        if (bits & 512) p.SetLeftMargin(10);
        if (bits & 1024) p.SetIndent(5);
        PPTTextFrame f(0, 0, 100, 100);
        f.setParagraphFormat(p, false);
        f.addText(L"text", Font());
        const std::vector<std::uint8_t> bytes = paragraphBytes(f);
        ASSERT_EQ(TextFrameAccess::calparalen(f), paragraphRunFormula(p)) << bits;
        ASSERT_EQ(static_cast<int>(bytes.size()), paragraphRunFormula(p)) << bits;
    }
    // Negative margins and indents are not written; neither is a negative alignment (rejected).
    PPTParagraphFormat p;
    p.SetLeftMargin(-5);
    p.SetIndent(-5);
    PPTTextFrame f(0, 0, 100, 100);
    f.setParagraphFormat(p, false);
    f.addText(L"x", Font());
    EXPECT_EQ(TextFrameAccess::calparalen(f), 12);
}

TEST(StyleRuns, CharacterRunLengthsFollowTheFormulaAndTheStateMachine) {
    PPTTextFrame f(0, 0, 100, 100);
    int expected = 0;
    const auto add = [&](const Font& font, int runBytes) {
        f.addText(L"x", font);
        expected += runBytes;
    };
    Font eastAsian;
    eastAsian.set_cfOldtype(true);
    eastAsian.set_Index(1);
    Font eastAsianBig = eastAsian;
    eastAsianBig.set_Size(20);
    Font symbol;
    symbol.set_cfSymboltype(true);
    symbol.set_Index(4);
    Font indexed;
    indexed.set_Index(3);
    indexed.set_Color(0x00AA00);
    indexed.set_Script(-10);
    Font bold;
    bold.set_Bold(true);
    Font outOfTable;
    outOfTable.set_Index(200);

    add(eastAsian, 8 + 2 + 2);     // the first run: the East Asian reference only
    add(Font(), 8 + 2);            // index 0: no reference
    add(eastAsianBig, 8 + 2 + 2);  // a plain run does not clear "the previous run was East Asian"
    add(bold, 8 + 2 + 2);          // style
    add(symbol, 8 + 6 + 2);        // font, ANSI and symbol references
    add(eastAsian, 8 + 6 + 2);     // East Asian after a symbol run: font, East Asian and ANSI
    add(indexed, 8 + 4 + 2 + 4 + 2); // font and ANSI references, colour, position
    add(outOfTable, 8 + 2);        // not a font-table index: no reference
    EXPECT_EQ(TextFrameAccess::calfontlen(f), expected);
    EXPECT_EQ(static_cast<int>(characterBytes(f).size()), expected);
}

TEST(StyleRuns, DefaultLineSpaceIsTheLargestOverlappingSizeTimesOnePointTwo) {
    PPTTextFrame f(0, 0, 100, 100);
    PPTParagraphFormat first;
    first.SetLineSpace(12);
    PPTParagraphFormat second;
    second.SetAlignment(1);
    f.setParagraphFormat(first, false);
    f.addText(L"a", sized(20));
    f.addText(L"b", sized(30));
    f.addPar(sized(30));
    f.setParagraphFormat(second, false);
    f.addText(L"cd", sized(12));
    f.addPar(sized(12));
    PPTParagraphFormat empty; // the last paragraph has no characters
    empty.SetSpaceBefore(6);
    f.setParagraphFormat(empty, false);

    const std::vector<float> spaces = TextFrameAccess::calDefauleLineSpace(f);
    ASSERT_EQ(spaces.size(), 3u);
    EXPECT_FLOAT_EQ(spaces[0], 36.0f);
    EXPECT_FLOAT_EQ(spaces[1], static_cast<float>(12 * 1.2));
    // No character overlaps it: the default size 18 stands in, no division by zero.
    EXPECT_FLOAT_EQ(spaces[2], static_cast<float>(18 * 1.2));

    // Line spacing 12 over 36: 33 %. Space before 6 over 21.6: 27 %.
    const std::vector<std::uint8_t> b = paragraphBytes(f);
    EXPECT_EQ(readU32(b, 0), 3u);
    EXPECT_EQ(readU32(b, 6), 0x00003000u);
    EXPECT_EQ(readU16(b, 10), 33);
    EXPECT_EQ(readU16(b, 12), 0);
    const std::size_t third = 14 + 14;
    EXPECT_EQ(readU32(b, third), 1u); // the closing mark only
    EXPECT_EQ(readU16(b, third + 10), 27);
}

TEST(StyleRuns, ARunOverTwoParagraphsCountsInBoth) {
    PPTTextFrame f(0, 0, 100, 100);
    PPTParagraphFormat a;
    a.SetAlignment(1);
    PPTParagraphFormat b;
    b.SetAlignment(2);
    f.setParagraphFormat(a, false);
    f.addText(L"ab", sized(40));
    f.addPar(sized(40));
    f.setParagraphFormat(b, false);
    f.addText(L"cd", sized(40));
    const std::vector<float> spaces = TextFrameAccess::calDefauleLineSpace(f);
    ASSERT_EQ(spaces.size(), 2u);
    EXPECT_FLOAT_EQ(spaces[0], 48.0f);
    EXPECT_FLOAT_EQ(spaces[1], 48.0f);
}

TEST(StyleRuns, SizeZeroDividesNothing) {
    PPTTextFrame f(0, 0, 100, 100);
    PPTParagraphFormat p;
    p.SetLineSpace(12);
    p.SetSpaceAfter(-6);
    f.setParagraphFormat(p, false);
    Font zero = sized(0);
    zero.set_Script(30);
    f.addText(L"x", zero);
    EXPECT_FLOAT_EQ(TextFrameAccess::calDefauleLineSpace(f)[0], static_cast<float>(18 * 1.2));
    const std::vector<std::uint8_t> pb = paragraphBytes(f);
    EXPECT_EQ(readU16(pb, 10), 55); // 1200 / 21.6
    EXPECT_EQ(readU16(pb, 14), 27); // |-6| * 100 / 21.6
    const std::vector<std::uint8_t> cb = characterBytes(f);
    EXPECT_EQ(readU32(cb, 4), 0x000A0000u);
    EXPECT_EQ(readU16(cb, 8), 1); // size: MS-PPT allows 1 to 4000 points
    EXPECT_EQ(readU16(cb, 10), 0); // position
}

TEST(StyleRuns, TextWithoutParagraphFormatGetsOneDefaultParagraphRun) {
    PPTTextFrame f(0, 0, 100, 100);
    Font bold;
    bold.set_Bold(true);
    f.addText(L"Hello", bold);
    f.addPar(bold);
    f.addText(L"World", Font());
    EXPECT_TRUE(TextFrameAccess::calTextPropty(f));
    EXPECT_EQ(TextFrameAccess::calparalen(f), 12);
    EXPECT_EQ(quorv_test::sameBytes(quorv_test::hex("0C 00 00 00  00 00  00 20 00 00  00 00"), paragraphBytes(f)),
              ::testing::AssertionSuccess());
}

TEST(StyleRuns, ParagraphRunsCoverTheTextFromItsStart) {
    // A title paragraph without format, then a formatted one: the title gets a default run so
    // that the paragraph counts add up to the text length plus one.
    PPTTextFrame f(0, 0, 100, 100);
    f.addText(L"Title", sized(32));
    f.addPar(sized(32));
    PPTParagraphFormat bullet;
    bullet.SetBullet(true);
    f.setParagraphFormat(bullet, false);
    f.addText(L"item", sized(20));
    const std::vector<std::uint8_t> b = paragraphBytes(f);
    ASSERT_EQ(b.size(), 12u + 14u);
    EXPECT_EQ(readU32(b, 0), 6u);  // "Title\r", default format
    EXPECT_EQ(readU32(b, 6), 0x00002000u);
    EXPECT_EQ(readU32(b, 12), 5u); // "item" and the closing mark
    EXPECT_EQ(readU32(b, 18), 0x00002001u);
    EXPECT_EQ(TextFrameAccess::calDefauleLineSpace(f).size(), 2u);
}

TEST(StyleRuns, WhenTheStyleAtomIsWritten) {
    const auto styled = [](const Font& font, const PPTParagraphFormat* p) {
        PPTTextFrame f(0, 0, 100, 100);
        if (p) {
            PPTParagraphFormat copy = *p;
            f.setParagraphFormat(copy, false);
        }
        f.addText(L"x", font);
        return TextFrameAccess::calTextPropty(f);
    };
    EXPECT_FALSE(styled(Font(), nullptr));
    Font f = Font();
    f.set_Index(1);
    EXPECT_FALSE(styled(f, nullptr)); // the master's own East Asian face
    f.set_cfOldtype(true);
    EXPECT_FALSE(styled(f, nullptr));
    f.set_Index(2);
    EXPECT_TRUE(styled(f, nullptr));
    Font negative;
    negative.set_Color(-5);
    negative.set_Underline(-1);
    EXPECT_FALSE(styled(negative, nullptr));
    EXPECT_TRUE(styled(sized(19), nullptr));
    Font script;
    script.set_Script(-1);
    EXPECT_TRUE(styled(script, nullptr));

    PPTParagraphFormat p;
    EXPECT_FALSE(styled(Font(), &p));
    p.SetLevel(1); // the level is only written with the atom
    EXPECT_TRUE(styled(Font(), &p));
    PPTParagraphFormat margin;
    margin.SetLeftMargin(-3);
    EXPECT_FALSE(styled(Font(), &margin));
    margin.SetSpaceBefore(-3);
    EXPECT_TRUE(styled(Font(), &margin));

    // Without formatting the client text box holds header, characters and ruler only.
    PPTTextFrame plain(0, 0, 100, 100);
    plain.addText(L"plain", Font());
    QvOutputStream s;
    TextFrameAccess::outtextbox(plain, s);
    EXPECT_EQ(s.size(), 8 + 12 + 8 + 10 + 14);
}

TEST(StyleRuns, CountsAreInUtf16CodeUnits) {
    if (sizeof(wchar_t) < 4) GTEST_SKIP() << "wchar_t holds UTF-16 code units already";
    PPTTextFrame f(0, 0, 100, 100);
    Font bold;
    bold.set_Bold(true);
    PPTParagraphFormat centre;
    centre.SetAlignment(1);
    f.setParagraphFormat(centre, false);
    f.addText(std::wstring(L"a") + static_cast<wchar_t>(0x1F600), bold); // 2 characters, 3 code units
    f.addPar(bold);
    PPTParagraphFormat right;
    right.SetAlignment(2);
    f.setParagraphFormat(right, false);
    f.addText(std::wstring(1, static_cast<wchar_t>(0x20000)) + L"c", Font());
    EXPECT_EQ(f.getFonts()[1].start, 3); // the model counts characters
    EXPECT_EQ(f.getparams()[1].start, 3);

    const std::vector<std::uint8_t> p = paragraphBytes(f);
    EXPECT_EQ(readU32(p, 0), 4u);     // a, U+1F600 (2), mark
    EXPECT_EQ(readU32(p, 14), 3u + 1); // U+20000 (2), c, closing mark
    const std::vector<std::uint8_t> c = characterBytes(f);
    EXPECT_EQ(readU32(c, 0), 4u);
    EXPECT_EQ(readU32(c, 12), 4u);

    QvOutputStream box;
    TextFrameAccess::outtextbox(f, box);
    const std::vector<std::uint8_t>& b = box.bytes();
    EXPECT_EQ(readU16(b, 8 + 12 + 2), 0x0FA0);
    EXPECT_EQ(readU32(b, 8 + 12 + 4), 14u); // 7 code units
    EXPECT_EQ(readU16(b, 8 + 12 + 8 + 2), 0xD83D);
    EXPECT_EQ(readU16(b, 8 + 12 + 8 + 4), 0xDE00);
}

TEST(StyleRuns, FontReferencesOutsideTheFontTableAreWrittenAsTheDefaultFace) {
    PPTTextFrame f(0, 0, 100, 100);
    PPTParagraphFormat p;
    p.SetBullet(true);
    p.SetbTypeface(true);
    p.SetbuChar(1);
    p.SetbuTypeface(300);
    f.setParagraphFormat(p, false);
    Font eastAsian;
    eastAsian.set_cfOldtype(true);
    eastAsian.set_Index(-1);
    f.addText(L"x", eastAsian);
    Font symbol;
    symbol.set_cfSymboltype(true);
    symbol.set_Index(129);
    f.addText(L"y", symbol);
    Font last;
    last.set_Index(128); // the last index a font table can hold
    f.addText(L"z", last);

    const std::vector<std::uint8_t> pb = paragraphBytes(f);
    EXPECT_EQ(readU16(pb, 12), 0x6C); // bullet character
    EXPECT_EQ(readU16(pb, 14), 0);    // bullet face
    const std::vector<std::uint8_t> cb = characterBytes(f);
    EXPECT_EQ(readU32(cb, 4), 0x00220000u);
    EXPECT_EQ(readU16(cb, 8), 0);
    EXPECT_EQ(readU32(cb, 16), 0x00C30000u);
    EXPECT_EQ(readU16(cb, 20), 0);
    EXPECT_EQ(readU16(cb, 22), 0);
    EXPECT_EQ(readU16(cb, 24), 0);
    EXPECT_EQ(readU32(cb, 32), 0x00430000u);
    EXPECT_EQ(readU16(cb, 36), 128);
}

TEST(StyleRuns, NumberedParagraphsOfOneListShareOneExtensionEntry) {
    PPTTextFrame f(0, 0, 100, 100);
    PPTParagraphFormat n;
    n.SetBullet(true);
    n.SetnumBullet(2);
    f.setParagraphFormat(n, false);
    f.addText(L"one", Font());
    f.addPar(Font());
    PPTParagraphFormat same = n;
    same.SetLevel(1); // still equal: no new run
    f.setParagraphFormat(same, false);
    f.addText(L"two", Font());
    f.addPar(Font());
    PPTParagraphFormat other = n;
    other.SetSpaceAfter(2); // a new run, same scheme: the list goes on
    EXPECT_TRUE(f.setParagraphFormat(other, false));
    f.addText(L"three", Font());
    EXPECT_EQ(TextFrameAccess::calBulletlen(f), 62 + 18);

    PPTParagraphFormat plain; // a paragraph without bullet ends the list
    f.addPar(Font());
    f.setParagraphFormat(plain, false);
    f.addText(L"x", Font());
    f.addPar(Font());
    f.setParagraphFormat(other, false);
    f.addText(L"again", Font());
    EXPECT_EQ(TextFrameAccess::calBulletlen(f), 62 + 18 + 18);
}

TEST(StyleRuns, BulletListKeysOpenAGroupOnlyAfterNumbering) {
    // Before any numbered run the last bullet key is never recorded, so a change of bulleted list
    // opens no run group. A bulleted run does set the last numbered key to 1, so the numbered run
    // after it opens a group; after that, a bulleted run with a key other than 1 opens the next.
    PPTTextFrame f(0, 0, 100, 100);
    const auto add = [&f](int numKey, int bulletKey) {
        Font font;
        font.set_listNumInfo(numKey);
        font.set_listbuChar(bulletKey);
        f.addText(L"x", font);
        f.addPar(font);
    };
    add(-1, 5);
    add(-1, 6);
    add(7, -1);
    add(-1, 6);
    const std::vector<std::uint8_t> b = characterBytes(f);
    ASSERT_EQ(b.size(), 10u + 10u + 12u + 12u);
    EXPECT_EQ(readU32(b, 4), 0x00020000u);
    EXPECT_EQ(readU32(b, 14), 0x00020000u);
    EXPECT_EQ(readU32(b, 24), 0x00020400u);
    EXPECT_EQ(readU16(b, 28), 0x0480);
    EXPECT_EQ(readU32(b, 36), 0x00020800u);
    EXPECT_EQ(readU16(b, 40), 0x0880);
}
