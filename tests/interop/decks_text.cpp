// Decks of the text interoperability tests: formatted runs, aligned paragraphs, bulleted and
// numbered lists, Japanese text, frame attributes and a large frame. test_text.py states what
// the readers must see; keep the two in step.
#include <string>

#include "interop_decks.h"

using namespace Quorv;

namespace {

Font font(int size = 18) {
    Font f;
    f.set_Size(size);
    return f;
}

PPTPtr<PPTTextFrame> addFrame(PPTSlides& slide, float x, float y, float w, float h, int shapeNum) {
    PPTPtr<PPTTextFrame> frame(new PPTTextFrame(x, y, w, h));
    frame->set_ShapeNum(shapeNum);
    slide.addShape(frame);
    return frame;
}

void paragraph(PPTTextFrame& frame, PPTParagraphFormat format, const std::wstring& text, const Font& f,
               bool last = false) {
    frame.setParagraphFormat(format, false);
    frame.addText(text, f);
    if (!last) frame.addPar(f);
}

PPTParagraphFormat aligned(int alignment) {
    PPTParagraphFormat p;
    p.SetAlignment(alignment);
    return p;
}

// Runs in every character format, and paragraphs in every alignment the readers know.
void textRuns(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTTextFrame> f = addFrame(*slide, 36, 36, 648, 460, 1);

    Font plain = font();
    Font bold = font();
    bold.set_Bold(true);
    Font italic = font();
    italic.set_Italic(true);
    Font underline = font();
    underline.set_Underline(1);
    Font red = font();
    red.set_Color(0x0000FF);
    Font big = font(32);
    Font blue = font(20);
    blue.set_Color(0xCC0000);
    blue.set_Bold(true);
    blue.set_Italic(true);
    blue.set_Underline(1);

    PPTParagraphFormat left = aligned(0);
    f->setParagraphFormat(left, false);
    f->addText(L"Plain ", plain);
    f->addText(L"Bold ", bold);
    f->addText(L"Italic ", italic);
    f->addText(L"Underline ", underline);
    f->addText(L"Red ", red);
    f->addText(L"Big", big);
    f->addPar(big);

    PPTParagraphFormat centre = aligned(1);
    f->setParagraphFormat(centre, false);
    Font super = font();
    super.set_Script(6); // 6 points on 18: 33 %
    Font sub = font();
    sub.set_Script(-5); // -27 %
    f->addText(L"E = mc", plain);
    f->addText(L"2", super);
    f->addText(L" and H", plain);
    f->addText(L"2", sub);
    f->addText(L"O", plain);
    f->addPar(plain);

    paragraph(*f, aligned(2), L"Right aligned blue", blue);
    paragraph(*f, aligned(3), L"Justified text that is long enough to wrap across the width of the frame so that "
                              L"justification shows on the first line of it.",
              font(14));
    paragraph(*f, aligned(4), L"Distributed", font(16));
    PPTParagraphFormat spaced = aligned(0);
    spaced.SetLineSpace(30);
    spaced.SetSpaceBefore(12);
    spaced.SetSpaceAfter(6);
    spaced.SetLeftMargin(24);
    spaced.SetIndent(12);
    paragraph(*f, spaced, L"Spaced and indented", font(18), true);
}

// Bulleted lists with symbol and default bullets and a nested level; numbered lists in two
// schemes; a bulleted list followed by a numbered one. Runs of a list carry its key
// (Font::set_listbuChar / set_listNumInfo): a change of numbered list moves the runs to the next
// group of RT_StyleTextProp9Atom entries, which is where readers find the numbering.
void textLists(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    const int wingdings = doc.get_FontNamesIndex(L"Wingdings", 2);

    PPTParagraphFormat symbol;
    symbol.SetBullet(true);
    symbol.SetbTypeface(true);
    symbol.SetbuChar(1); // Wingdings 0x6C, a filled circle
    symbol.SetbuTypeface(wingdings);
    PPTParagraphFormat nested = symbol;
    nested.SetLevel(1);
    nested.SetbuChar(4); // Wingdings 0x70, a square
    nested.SetLeftMargin(54);
    nested.SetIndent(36);
    PPTParagraphFormat coloured;
    coloured.SetBullet(true);
    coloured.SetbColor(true);
    coloured.SetbuColor(0x0000FF);
    coloured.SetbSize(true);
    coloured.SetbuSize(120);
    coloured.SetSpaceBefore(6);
    PPTParagraphFormat none;
    PPTParagraphFormat arabic;
    arabic.SetBullet(true);
    arabic.SetnumBullet(1);
    PPTParagraphFormat roman;
    roman.SetBullet(true);
    roman.SetnumBullet(3);
    roman.SetStartBulletNum(4);
    roman.SetLevel(1);
    roman.SetLeftMargin(54);

    Font bullets = font();
    bullets.set_listbuChar(10);
    PPTPtr<PPTTextFrame> f = addFrame(*slide, 36, 20, 648, 170, 1);
    paragraph(*f, symbol, L"Symbol bullet one", bullets);
    Font nestedFont = font(16);
    nestedFont.set_listbuChar(11);
    paragraph(*f, nested, L"Nested square bullet", nestedFont);
    paragraph(*f, symbol, L"Symbol bullet two", bullets);
    paragraph(*f, coloured, L"Default bullet in red", font());
    paragraph(*f, none, L"Not a bullet", font(), true);

    PPTPtr<PPTTextFrame> g = addFrame(*slide, 36, 200, 648, 170, 2);
    Font first = font();
    first.set_listNumInfo(20);
    Font second = font();
    second.set_listNumInfo(21);
    paragraph(*g, arabic, L"First", first);
    paragraph(*g, arabic, L"Second", first);
    paragraph(*g, arabic, L"Third", first);
    paragraph(*g, roman, L"Fourth in roman", second);
    paragraph(*g, roman, L"Fifth in roman", second, true);

    PPTPtr<PPTTextFrame> h = addFrame(*slide, 36, 380, 648, 140, 3);
    Font mixedBullet = font(16);
    mixedBullet.set_listbuChar(30);
    Font mixedNumber = font(16);
    mixedNumber.set_listNumInfo(31);
    paragraph(*h, symbol, L"Bullet before numbers", mixedBullet);
    paragraph(*h, arabic, L"Number one", mixedNumber);
    paragraph(*h, arabic, L"Number two", mixedNumber, true);
}

// Japanese text in Japanese faces of the font table, mixed with Latin text; text outside the
// Basic Multilingual Plane.
void textJapanese(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTTextFrame> f = addFrame(*slide, 36, 36, 648, 200, 1);
    Font gothic = font(28);
    gothic.set_Index(doc.get_FontNamesIndex(L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", 128)); // ＭＳ Ｐゴシック
    gothic.set_cfOldtype(true);
    Font mincho = font(24);
    mincho.set_Index(doc.get_FontNamesIndex(L"\xFF2D\xFF33 \xFF30\x660E\x671D", 128)); // ＭＳ Ｐ明朝
    mincho.set_cfOldtype(true);
    mincho.set_Bold(true);
    Font latin = font(24);

    PPTParagraphFormat left;
    f->setParagraphFormat(left, false);
    f->addText(L"\x65E5\x672C\x8A9E\x306E\x30C6\x30AD\x30B9\x30C8", gothic); // 日本語のテキスト
    f->addPar(gothic);
    PPTParagraphFormat centre = aligned(1);
    f->setParagraphFormat(centre, false);
    f->addText(L"Latin and ", latin);
    f->addText(L"\x660E\x671D\x4F53", mincho); // 明朝体
    f->addText(L" mixed", latin);

    // Characters outside the BMP go out as surrogate pairs.
    PPTPtr<PPTTextFrame> g = addFrame(*slide, 36, 300, 648, 100, 2);
    std::wstring wide = L"Beyond the BMP: ";
    wide += static_cast<wchar_t>(0x20B9F); // 𠮟
    wide += L" and ";
    wide += static_cast<wchar_t>(0x1F600);
    wide += L" end";
    Font bold = font(20);
    bold.set_Bold(true);
    g->addText(wide, bold);
    g->addPar(bold);
    g->addText(L"after", font(20));
}

// Margins, anchors, rotation (also negative), the rotate flag, fill and opacity, an empty frame,
// a frame without any formatting, and a run whose font index is not in the font table.
void textFrames(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    const wchar_t* names[6] = {L"Anchor top", L"Anchor middle", L"Anchor bottom",
                               L"Anchor top centred", L"Anchor middle centred", L"Anchor bottom centred"};
    for (int a = 0; a < 6; ++a) {
        PPTPtr<PPTTextFrame> f = addFrame(*slide, 20.0f + 230.0f * static_cast<float>(a % 3),
                                          20.0f + 110.0f * static_cast<float>(a / 3), 210, 100, a + 1);
        f->set_anchor(a);
        f->set_textleft(10);
        f->set_texttop(8);
        f->set_textright(6);
        f->set_textbottom(4);
        f->set_FillColor(0x00E0E0E0);
        f->addText(names[a], font(16));
    }
    PPTPtr<PPTTextFrame> turned = addFrame(*slide, 60, 280, 200, 60, 7);
    turned->set_Srotate(30);
    turned->set_rotate(true);
    turned->addText(L"Turned 30", font(20));
    PPTPtr<PPTTextFrame> back = addFrame(*slide, 300, 280, 200, 60, 8);
    back->set_Srotate(-45);
    back->set_FillColor(0x0000FFFF);
    back->set_ShapeOpac(50);
    back->addText(L"Turned back 45", font(20));
    addFrame(*slide, 540, 280, 150, 60, 9); // empty: written with one space
    PPTPtr<PPTTextFrame> plain = addFrame(*slide, 60, 400, 300, 60, 10);
    plain->addText(L"No formatting at all", font());
    PPTPtr<PPTTextFrame> unknown = addFrame(*slide, 400, 400, 300, 60, 11);
    Font stray = font(20);
    stray.set_Index(60); // no such face in this document's table
    unknown->addText(L"Unknown face", stray);
    Font beyond = font(20);
    beyond.set_Index(1000); // no table can hold it
    unknown->addText(L" beyond", beyond);
}

// 20,000 characters (and 199 paragraph marks) in 200 paragraphs of alternating formats.
// The slide is 15 inches high so that all of it is on the page.
void textBig(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(1080);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 1080);
    PPTPtr<PPTTextFrame> f = addFrame(*slide, 10, 10, 700, 1060, 1);
    Font small = font(4);
    Font bold = small;
    bold.set_Bold(true);
    bold.set_Color(0x000080);
    PPTParagraphFormat left;
    PPTParagraphFormat bullet;
    bullet.SetBullet(true);
    bullet.SetAlignment(2);
    for (int i = 0; i < 200; ++i) {
        PPTParagraphFormat p = i % 2 ? bullet : left;
        f->setParagraphFormat(p, false);
        std::wstring head = L"P" + std::to_wstring(i) + L" ";
        f->addText(head, i % 2 ? bold : small);
        f->addText(std::wstring(100 - head.size(), static_cast<wchar_t>(L'a' + i % 26)), i % 2 ? small : bold);
        if (i < 199) f->addPar(small);
    }
}

} // namespace

namespace interop_decks {

void addTextDecks(DeckMap& decks) {
    decks["text_runs"] = textRuns;
    decks["text_lists"] = textLists;
    decks["text_japanese"] = textJapanese;
    decks["text_frames"] = textFrames;
    decks["text_big"] = textBig;
}

} // namespace interop_decks
