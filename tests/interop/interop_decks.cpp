// Writes the decks the interoperability tests open in real readers: interop_decks OUTDIR [NAME...]
// Each deck is a function below; the Python test that opens it states what the readers must see.
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "quorv/quorv.h"

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

const std::map<std::string, std::function<void(PPTDocument&, PPTProperties&)>> kDecks = {
    {"foundation_one", foundationOne},       {"foundation_three", foundationThree},
    {"foundation_japanese", foundationJapanese}, {"foundation_empty", foundationEmpty},
    {"foundation_many", foundationMany},
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: interop_decks OUTDIR [NAME...]\n");
        return 2;
    }
    std::string dir = argv[1];
    try {
        for (const auto& deck : kDecks) {
            bool wanted = argc == 2;
            for (int i = 2; i < argc; ++i) wanted = wanted || deck.first == argv[i];
            if (!wanted) continue;
            PPTDocument doc;
            PPTProperties props;
            deck.second(doc, props);
            doc.save(dir + "/" + deck.first + ".ppt");
        }
    } catch (const QvException& e) {
        std::fprintf(stderr, "interop_decks: error %d %s (%s)\n", e.get_Code(), e.what(), e.get_SystemError().c_str());
        return 1;
    }
    return 0;
}
