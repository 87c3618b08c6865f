// Text frames byte for byte, from the layouts of [MS-ODRAW] 2.2 (OfficeArtSpContainer, FSP,
// FOPT, ClientAnchor) and [MS-PPT] 2.9 (TextHeaderAtom, TextCharsAtom, StyleTextPropAtom with
// TextPFRun / TextCFRun, TextPFException 2.9.20, TextCFException 2.9.14, TextRulerAtom, and
// RT_StyleTextProp9Atom in the "___PPT9" tag of the client data).
#include <gtest/gtest.h>

#include <cstdio>

#include "cases/decks.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const std::vector<unsigned> kStyleAtom = below({0xF00D, 0x0FA1});
const std::vector<unsigned> kClientData = below({0xF011});

// Paragraphs, each with its format and text.
Deck paragraphs(std::vector<std::pair<PPTParagraphFormat, const wchar_t*>> list) {
    return oneFrame([list](PPTTextFrame& f) {
        for (auto p : list) {
            f.setParagraphFormat(p.first, false);
            f.addText(p.second, Font());
            f.addPar(Font());
        }
    });
}

PPTParagraphFormat atLevel(int level) {
    PPTParagraphFormat p;
    p.SetLevel(level);
    return p;
}

PPTParagraphFormat bulleted(int symbol, int level = 0) {
    PPTParagraphFormat p = atLevel(level);
    p.SetBullet(true);
    p.SetbuChar(symbol);
    return p;
}

PPTParagraphFormat numbered(int style, int start = 1) {
    PPTParagraphFormat p = atLevel(0);
    p.SetBullet(true);
    p.SetnumBullet(style);
    p.SetStartBulletNum(start);
    return p;
}

const Row kRows[] = {
    // Hello, a paragraph mark and World in two fonts at (100, 50), 300 x 80 points: the whole
    // shape container, with the default paragraph run that keeps the style atom whole.
    {"hello_world", oneShape([] {
         PPTPtr<PPTTextFrame> f(new PPTTextFrame(100, 50, 300, 80));
         Font first;
         first.set_Bold(true);
         first.set_Color(0x0000FF);
         Font second;
         second.set_Italic(true);
         second.set_Color(0x00FF00);
         second.set_Script(5);
         f->addText(L"Hello", first);
         f->addPar(first);
         f->addText(L"World", second);
         return PPTPtr<PPTShape>(f);
     }),
     {{kSlideShape, golden("text", "hello_world"), 1}}},
    // Every paragraph field of TextPFException: bullet with face, colour and size, alignment,
    // spacing in percent of the 24-point line of 20-point text, margin and indent in master units.
    {"every_paragraph_field", oneFrame([](PPTTextFrame& f) {
         PPTParagraphFormat p;
         p.SetAlignment(1);
         p.SetLineSpace(12);
         p.SetSpaceBefore(6);
         p.SetSpaceAfter(3);
         p.SetLeftMargin(10);
         p.SetIndent(5);
         p.SetBullet(true);
         p.SetbTypeface(true);
         p.SetbuChar(1);
         p.SetbuTypeface(2);
         p.SetbColor(true);
         p.SetbuColor(0x112233);
         p.SetbSize(true);
         p.SetbuSize(80);
         p.SetLevel(1);
         f.setParagraphFormat(p, false);
         f.addText(L"Item", Font(L"Arial", 20, false, false, 0, false, 0, 0));
     }),
     {{kStyleAtom, golden("text", "every_paragraph_field"), 0, 8}}},
    // Fields kept in MS-PPT's ranges: level 5 -> 4, bullet size 0 -> 25, 5000 points of spacing
    // -> 13200 %, symbol 7 ("none") -> a space, a start number of 0 -> 1.
    {"paragraph_fields_in_range", oneFrame([](PPTTextFrame& f) {
         PPTParagraphFormat p = bulleted(7, 5);
         p.SetAlignment(0); // left, the lowest alignment: taken, not refused
         p.SetbTypeface(true);
         p.SetbSize(true);
         p.SetSpaceBefore(5000);
         f.setParagraphFormat(p, false);
         f.addText(L"a", Font());
     }),
     {{kStyleAtom, "02 00 00 00 04 00 FF 20 00 00 0F 00 20 00 00 00 19 00 00 00 00 01 90 33", 0, 8},
      {kClientData, clientData(12, "00 00 00 00 00 00 00 00 00 00 00 00")}}}, // a plain bullet's entry
    // A 30-point superscript on 18-point text is a full superscript: position 100, not 166.
    {"superscript_beyond_the_text", oneFrame([](PPTTextFrame& f) {
         f.addText(L"x", Font());
         f.addText(L"2", Font(L"Arial", 18, false, false, 0, false, 0, 30));
     }),
     {{kStyleAtom, "02 00 00 00 00 00 0A 00 12 00 64 00", 0, 8 + 12 + 10}}},
    // Character runs: East Asian (its face only, italic and underlined), symbol (three faces),
    // a face of its own (index 2), East Asian again after it (three faces).
    {"east_asian_symbol_and_indexed_runs", [](PPTDocument& doc, PPTProperties& props) {
         doc.get_FontNamesIndex(L"Wingdings", 2); // index 3
         oneFrame([](PPTTextFrame& f) {
             Font eastAsian(L"", 20, false, true, 1, false, 0, 5);
             eastAsian.set_cfOldtype(true);
             eastAsian.set_Index(1);
             f.addText(L"\x65E5\x672C", eastAsian);
             Font symbol(L"", 18, false, false, 0, false, 0x0000FF, -3);
             symbol.set_cfSymboltype(true);
             symbol.set_Index(3);
             f.addText(L"l", symbol);
             Font indexed;
             indexed.set_Index(2);
             f.addText(L"abc", indexed);
             Font again(L"", 20, false, false, 0, false, 0, 0);
             again.set_cfOldtype(true);
             again.set_Index(1);
             f.addText(L"\x8A9E", again);
         })(doc, props);
     },
     {{kStyleAtom, golden("text", "east_asian_symbol_and_indexed_runs"), 0, 8 + 12}}},
    // Nine numbered lists of 20-point text: each change of list moves the run group (bits 10-13) on, 0x1C00
    // wrapping to 0x400.
    {"run_groups_wrap", oneFrame([](PPTTextFrame& f) {
         for (int list = 0; list < 9; ++list) {
             Font font(L"Arial", 20, false, false, 0, false, 0, 0); // sized, so the runs are written
             font.set_listNumInfo(list);
             f.addText(L"n", font);
             f.addPar(font);
         }
     }),
     {{kStyleAtom, golden("text", "run_groups_wrap"), 0, 8 + 12}}},
    // RT_StyleTextProp9Atom: a bullet, numbering from 1, another scheme from 4 (each
    // list going on for a second paragraph without an entry), a bullet after numbering (scheme
    // reset), a plain paragraph, numbering from 2, the scheme from 4 again.
    {"bullet_and_numbering_entries", [](PPTDocument& doc, PPTProperties& props) {
         PPTParagraphFormat from2 = numbered(1, 2), b = numbered(1), c = numbered(3, 4);
         from2.SetSpaceAfter(1);
         b.SetSpaceAfter(1); // runs of their own in the same lists
         c.SetSpaceAfter(1);
         paragraphs({{bulleted(1), L"a"}, {numbered(1), L"b"}, {b, L"b"}, {numbered(3, 4), L"c"}, {c, L"c"},
                     {bulleted(4), L"d"},
                     {PPTParagraphFormat(), L"e"}, {from2, L"f"}, {numbered(3, 4), L"g"}})(doc, props);
     },
     {{kClientData,
       clientData(96, "00 00 00 00 00 00 00 00 00 00 00 00  00 00 00 02 01 00 00 00 00 00 00 00 00 00"
                      "00 00 00 03 01 00 07 00 04 00 00 00 00 00 00 00 00 00 00 00 00 01 03 00 01 00 00 00 00 00 00"
                      "00 00 00 00 00 00 03 01 00 03 00 02 00 00 00 00 00 00 00 00 00"
                      "00 00 00 03 01 00 07 00 04 00 00 00 00 00 00 00 00 00")}}},
    // Paragraphs that differ only in level or bullet each get a run of their own (levels 0, 1,
    // 2, then a bulleted paragraph).
    {"levels_and_bullets_split_runs",
     paragraphs({{atLevel(0), L"a"}, {atLevel(1), L"b"}, {atLevel(2), L"c"}, {bulleted(1), L"d"}}),
     {{kStyleAtom, golden("text", "levels_and_bullets_split_runs"), 0, 8}}},
    // NUL is written as U+FFFD; a character outside the BMP is a surrogate pair and counts two;
    // a lone surrogate stays what it is.
    {"nul_and_surrogates", oneFrame([](PPTTextFrame& f) {
         f.addText(std::wstring(L"a\0b\U0001D11E", 4) + wchar_t(0xD800), Font(L"Arial", 20, false, false, 0, false, 0, 0));
     }),
     {{below({0xF00D, 0x0FA0}), "00 00 A0 0F 0C 00 00 00  61 00 FD FF 62 00 34 D8 1E DD 00 D8"},
      {kStyleAtom, "07 00 00 00", 0, 8 + 12}}},
    // The shape's own attributes: rotation -90 as 270, margins in EMU, anchor, vertical text,
    // fill with 50 % opacity, back colour, a 2-point round-dotted red outline.
    {"frame_shape_properties", oneFrame([](PPTTextFrame& f) {
         f.set_Srotate(-90);
         f.set_textleft(1);
         f.set_texttop(2.5f);
         f.set_textright(0.5f);
         f.set_textbottom(7);
         f.set_anchor(4);
         f.set_rotate(true);
         f.set_FillColor(0x00336699);
         f.set_ShapeOpac(50);
         f.set_BackColor(0x00010203);
         f.set_LineColor(0x00FF0000);
         f.set_LineWidth(2);
         f.set_LineStyle(1);
         f.addText(L"x", Font());
     }),
     {{below({0xF00B}), golden("text", "frame_shape_properties")}}}, };

class TextRows : public ::testing::TestWithParam<Row> {};
TEST_P(TextRows, FileHoldsTheRecords) { runRow(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Text, TextRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
