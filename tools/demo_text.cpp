// The text slides of the sample deck: formatted text, a bulleted list and a numbered list.
#include <string>

#include "demo_deck.h"

namespace quorv_tool {

namespace {

using namespace Quorv;

Font sized(int size) {
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

// A heading frame at the top of a slide.
void heading(PPTSlides& slide, const std::wstring& text) {
    PPTPtr<PPTTextFrame> f = addFrame(slide, 36, 24, 648, 60, 1);
    Font title = sized(36);
    title.set_Bold(true);
    title.set_Color(0x00663300); // dark blue
    f->addText(text, title);
}

void paragraph(PPTTextFrame& frame, PPTParagraphFormat format, const std::wstring& text, const Font& font,
               bool last = false) {
    frame.setParagraphFormat(format, false);
    frame.addText(text, font);
    if (!last) frame.addPar(font);
}

void formattedText(PPTDocument& doc) {
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    heading(*slide, L"Formatted text");
    PPTPtr<PPTTextFrame> f = addFrame(*slide, 36, 100, 648, 400, 2);
    f->set_textleft(6);
    f->set_texttop(6);

    Font body = sized(24);
    Font bold = body;
    bold.set_Bold(true);
    Font italic = body;
    italic.set_Italic(true);
    Font underline = body;
    underline.set_Underline(1);
    Font red = body;
    red.set_Color(0x000000CC);
    Font green = body;
    green.set_Color(0x00008000);
    Font big = sized(40);
    Font small = sized(14);
    Font super = body;
    super.set_Script(8);
    Font sub = body;
    sub.set_Script(-6);

    PPTParagraphFormat left;
    f->setParagraphFormat(left, false);
    f->addText(L"Runs can be ", body);
    f->addText(L"bold", bold);
    f->addText(L", ", body);
    f->addText(L"italic", italic);
    f->addText(L", ", body);
    f->addText(L"underlined", underline);
    f->addText(L", ", body);
    f->addText(L"red", red);
    f->addText(L" or ", body);
    f->addText(L"green", green);
    f->addText(L".", body);
    f->addPar(body);

    PPTParagraphFormat centre;
    centre.SetAlignment(1);
    centre.SetSpaceBefore(12);
    f->setParagraphFormat(centre, false);
    f->addText(L"Sizes from ", body);
    f->addText(L"small", small);
    f->addText(L" to ", body);
    f->addText(L"big", big);
    f->addPar(body);

    PPTParagraphFormat right;
    right.SetAlignment(2);
    right.SetSpaceBefore(12);
    f->setParagraphFormat(right, false);
    f->addText(L"E = mc", body);
    f->addText(L"2", super);
    f->addText(L", H", body);
    f->addText(L"2", sub);
    f->addText(L"O", body);
    f->addPar(body);

    PPTParagraphFormat japanese;
    japanese.SetSpaceBefore(12);
    f->setParagraphFormat(japanese, false);
    Font gothic = body;
    gothic.set_Index(doc.get_FontNamesIndex(L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", 128));
    gothic.set_cfOldtype(true);
    f->addText(L"\x65E5\x672C\x8A9E\x306E\x30C6\x30AD\x30B9\x30C8", gothic); // 日本語のテキスト
    f->addText(L" (Japanese)", body);
}

void bulletedList(PPTDocument& doc) {
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    heading(*slide, L"A bulleted list");
    PPTPtr<PPTTextFrame> f = addFrame(*slide, 36, 100, 648, 400, 2);
    const int wingdings = doc.get_FontNamesIndex(L"Wingdings", 2);

    PPTParagraphFormat item;
    item.SetBullet(true);
    item.SetbTypeface(true);
    item.SetbuChar(5); // Wingdings 0xFC, a tick
    item.SetbuTypeface(wingdings);
    item.SetbColor(true);
    item.SetbuColor(0x00008000);
    item.SetSpaceBefore(6);
    item.SetLeftMargin(30); // the text starts right of the bullet
    PPTParagraphFormat detail = item;
    detail.SetLevel(1);
    detail.SetbuChar(4); // a small square
    detail.SetbuColor(0x00808080);
    detail.SetLeftMargin(60);
    detail.SetIndent(36);
    Font text = sized(24);
    text.set_listbuChar(1);
    Font smaller = sized(20);
    smaller.set_listbuChar(1);

    paragraph(*f, item, L"Text frames with character runs", text);
    paragraph(*f, detail, L"bold, italic, underline, colour, size", smaller);
    paragraph(*f, detail, L"superscript and subscript", smaller);
    paragraph(*f, item, L"Paragraph formats", text);
    paragraph(*f, detail, L"alignment, spacing, margins and indents", smaller);
    paragraph(*f, item, L"Bullets with a face of their own", text, true);
}

void numberedList(PPTDocument& doc) {
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    heading(*slide, L"A numbered list");
    PPTPtr<PPTTextFrame> f = addFrame(*slide, 36, 100, 648, 400, 2);
    PPTParagraphFormat step;
    step.SetBullet(true);
    step.SetnumBullet(1); // 1. 2. 3.
    step.SetSpaceBefore(6);
    step.SetLeftMargin(30);
    PPTParagraphFormat sub;
    sub.SetBullet(true);
    sub.SetnumBullet(6); // a. b. c.
    sub.SetLevel(1);
    sub.SetLeftMargin(60);
    sub.SetIndent(36);
    // Each list's runs carry its key: a new key starts the next group of numbering entries.
    Font text = sized(24);
    text.set_listNumInfo(100);
    Font subText = sized(20);
    subText.set_listNumInfo(101);
    Font more = sized(24);
    more.set_listNumInfo(102);

    paragraph(*f, step, L"Create a PPTDocument and set the slide size", text);
    paragraph(*f, step, L"Add slides and text frames", text);
    paragraph(*f, sub, L"fill them with addText and addPar", subText);
    paragraph(*f, sub, L"format paragraphs with setParagraphFormat", subText);
    PPTParagraphFormat cont = step;
    cont.SetStartBulletNum(3);
    cont.SetSpaceBefore(7); // a new paragraph run, numbered from 3
    paragraph(*f, cont, L"Save the document", more, true);
}

} // namespace

void addTextSlides(Quorv::PPTDocument& doc) {
    formattedText(doc);
    bulletedList(doc);
    numberedList(doc);
}

} // namespace quorv_tool
