#include "demo_deck.h"

namespace quorv_tool {

void buildDemoDeck(Quorv::PPTDocument& doc, Quorv::PPTProperties& props) {
    // A 4:3 slide of 10 x 7.5 inches.
    doc.set_Width(720.0f);
    doc.set_Hight(540.0f);
    // Until the feature families add their slides, the deck holds three empty slides.
    for (int i = 0; i < 3; ++i) doc.addSlides(720.0f, 540.0f);
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
