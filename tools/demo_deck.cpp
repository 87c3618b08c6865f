#include "demo_deck.h"

namespace quorv_tool {

namespace {

// The deck opens with its title and a line under it, centred on the slide.
void addTitleSlide(Quorv::PPTDocument& doc) {
    using namespace Quorv;
    PPTPtr<PPTSlides> slide = doc.addSlides(720.0f, 540.0f);
    PPTPtr<PPTTextFrame> title(new PPTTextFrame(60.0f, 180.0f, 600.0f, 160.0f));
    title->set_ShapeNum(1);
    title->set_anchor(1); // middle
    PPTParagraphFormat centre;
    centre.SetAlignment(1);
    title->setParagraphFormat(centre, false);
    Font big;
    big.set_Size(48);
    big.set_Bold(true);
    title->addText(L"quorv", big);
    title->addPar(big);
    PPTParagraphFormat subtitle = centre;
    subtitle.SetSpaceBefore(12);
    title->setParagraphFormat(subtitle, false);
    Font small;
    small.set_Size(24);
    small.set_Color(0x00808080);
    title->addText(L"Presentations in the PowerPoint 97-2003 format", small);
    slide->addShape(title);
}

} // namespace

void buildDemoDeck(Quorv::PPTDocument& doc, Quorv::PPTProperties& props) {
    // A 4:3 slide of 10 x 7.5 inches.
    doc.set_Width(720.0f);
    doc.set_Hight(540.0f);
    addTitleSlide(doc);
    addTextSlides(doc);
    addShapeSlides(doc);
    addPictureSlides(doc);
    addTableSlides(doc);

    props.set_Title(L"quorv demo");
    props.set_Subject(L"What the library writes");
    props.set_Author(L"quorv");
    props.set_Company(L"quorv project");
    props.set_Keyword(L"ppt demo");
    doc.setProperties(&props, false);
}

} // namespace quorv_tool
