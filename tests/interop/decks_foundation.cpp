// Decks of empty slides, with and without document properties.
#include "interop_decks.h"

using namespace Quorv;

namespace {

void foundationOne(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    doc.addSlides(720, 540);
}

void foundationThree(PPTDocument& doc, PPTProperties& props) {
    doc.set_Width(720);
    doc.set_Hight(540);
    for (int i = 0; i < 3; ++i) doc.addSlides(720, 540);
    props.set_Title(L"Quarterly report");
    props.set_Subject(L"Results");
    props.set_Author(L"A. Writer");
    props.set_Keyword(L"finance, 2026");
    props.set_Company(L"Example Ltd");
    doc.setProperties(&props, false);
}

void foundationJapanese(PPTDocument& doc, PPTProperties& props) {
    doc.set_Width(960);
    doc.set_Hight(540);
    doc.addSlides(960, 540);
    doc.addSlides(960, 540);
    props.set_Title(L"\x65E5\x672C\x8A9E\x306E\x8CC7\x6599"); // 日本語の資料
    props.set_Author(L"\x5C71\x7530");                          // 山田
    props.set_Company(L"ACME");
    props.set_Encrypt(true);
    doc.setProperties(&props, false);
}

void foundationEmpty(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
}

void foundationMany(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(405);
    for (int i = 0; i < 250; ++i) doc.addSlides(720, 405);
}

} // namespace

namespace interop_decks {

void addFoundationDecks(DeckMap& decks) {
    decks["foundation_one"] = foundationOne;
    decks["foundation_three"] = foundationThree;
    decks["foundation_japanese"] = foundationJapanese;
    decks["foundation_empty"] = foundationEmpty;
    decks["foundation_many"] = foundationMany;
}

} // namespace interop_decks

