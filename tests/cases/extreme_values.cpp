// Every setter driven with extreme values: each file written must keep every field the structural
// verifier knows a range for inside that range (MS-PPT, MS-ODRAW, MS-OLEPS); a setter or a save
// may refuse a value only with a QvException.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "cases/decks.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const int kInts[] = {INT_MIN, -100000, -361, -101, -1, 0, 1, 4, 5, 7, 24, 401, 4001, 13201, 32768, 70000, INT_MAX};
const float kFloats[] = {-std::numeric_limits<float>::infinity(), -1e30f, -5000.0f, -0.5f, 0.0f, 4095.9f, 1e30f,
                         std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};

// Calls a setter that may refuse the value with a QvException.
template <class F>
void tolerate(F&& f) {
    try {
        f();
    } catch (const QvException&) {
    }
}

// A text frame whose fonts and paragraphs take v for every integer setter.
PPTPtr<PPTTextFrame> textWith(int v) {
    PPTPtr<PPTTextFrame> frame(new PPTTextFrame(10, 10, 200, 100));
    Font f(L"Arial", v, true, true, v, true, v, 1);
    f.set_Index(v);
    f.set_listNumInfo(v);
    f.set_listbuChar(v);
    f.set_cfSymboltype(v % 2 != 0);
    using P = PPTParagraphFormat;
    P p;
    for (auto set : {&P::SetLevel, &P::SetStartBulletNum, &P::SetbuSize, &P::SetbuTypeface, &P::SetbuColor,
                     &P::SetTextDirection, &P::SetLineSpace, &P::SetSpaceBefore, &P::SetSpaceAfter, &P::SetLeftMargin,
                     &P::SetIndent}) {
        (p.*set)(v);
    }
    for (auto set : {&P::SetBullet, &P::SetbTypeface, &P::SetbColor, &P::SetbSize}) (p.*set)(true);
    for (auto set : {&P::SetnumBullet, &P::SetbuChar, &P::SetAlignment}) tolerate([&] { (p.*set)(v); });
    // A small text raised or lowered by v points, and a text of size v raised by a point.
    const Font raised(L"Arial", 2, false, false, 0, false, 0, v);
    for (int i = 0; i < 3; ++i) {
        if (i == 1) p.SetLevel(1); // a second paragraph that differs
        if (i == 2) p.SetnumBullet(2); // and a numbered one, from v
        frame->setParagraphFormat(p, false);
        frame->addText(L"x", f);
        frame->addText(L"y", raised);
        frame->addPar(f);
    }
    frame->set_anchor(v);
    frame->set_Srotate(v);
    frame->set_ShapeOpac(v);
    frame->set_FillColor(v);
    frame->set_LineColor(v);
    tolerate([&] { frame->set_LineStyle(v); });
    return frame;
}

void fillShape(PPTShape& s, int v, float f) {
    s.set_Srotate(v);
    s.set_ShapeOpac(v);
    s.set_FillColor(v);
    s.set_LineColor(v);
    s.set_LineWidth(f);
    tolerate([&] { s.set_LineStyle(v); });
}

// The verifier's findings on the file of a deck; a refusal with a code is a sound outcome.
std::string problemsOf(const Deck& deck) {
    try {
        return describeProblems(verifyPresentationFile(saveDeckFile(deck)));
    } catch (const QvException&) {
        return "";
    }
}

} // namespace

TEST(ExtremeValues, EveryWrittenFieldStaysInItsRange) {
    for (const int v : kInts) {
        EXPECT_EQ(problemsOf([v](PPTDocument& doc, PPTProperties& props) {
                      doc.get_FontNamesIndex(L"Wingdings", v);
                      props.set_Title(std::wstring(1, static_cast<wchar_t>(0x100 + (v & 0xFF))));
                      doc.addSlides(720, 540)->addShape(textWith(v));
                  }),
                  "")
            << "value " << v;
    }
    for (const float f : kFloats) {
        const int v = static_cast<int>(std::isfinite(f) ? f : 0.0f);
        EXPECT_EQ(problemsOf(slideWith([=] {
                      PPTPtr<PPTShape> line(new PPTLine(f, 0, 100, f)), rect(new PPTRectangle(0, f, 50, 50)),
                          frame(new PPTTextFrame(0, 0, 50, 50));
                      PPTPtr<PPTPolyLine> poly(new PPTPolyLine(0, 0, 100, 100));
                      for (float x : {0.0f, f, 50.0f}) {
                          _Tpoint p{Length(x), Length(10.0f)};
                          poly->addPoint(p);
                      }
                      for (PPTShape* s : {line.get(), rect.get(), frame.get(), static_cast<PPTShape*>(poly.get())}) {
                          fillShape(*s, v, f);
                      }
                      return std::vector<PPTPtr<PPTShape>>{line, rect, frame, poly};
                  })),
                  "")
            << "length " << f;
    }
}
