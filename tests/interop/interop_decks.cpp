// Writes the decks the interoperability tests open in real readers: interop_decks OUTDIR [NAME...]
// Each deck is a function in one of the decks_*.cpp files; the Python test that opens it states
// what the readers must see.
#include <cstdio>
#include <string>

#include "interop_decks.h"
#include "support/verifier.h"

using namespace Quorv;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: interop_decks OUTDIR [NAME...]\n");
        return 2;
    }
    interop_decks::DeckMap decks;
    interop_decks::addFoundationDecks(decks);
    interop_decks::addTextDecks(decks);
    interop_decks::addShapeDecks(decks);
    interop_decks::addPictureDecks(decks);
    interop_decks::addTableDecks(decks);
    interop_decks::addRobustnessDecks(decks);
    std::string dir = argv[1];
    for (const auto& deck : decks) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i) wanted = wanted || deck.first == argv[i];
        if (!wanted) continue;
        try {
            PPTDocument doc;
            PPTProperties props;
            deck.second(doc, props);
            const std::string path = dir + "/" + deck.first + ".ppt";
            doc.save(path);
            // Every deck must pass the structural verifier before a reader sees it.
            std::vector<std::string> problems = quorv_test::verifyPresentationPath(path);
            if (!problems.empty()) {
                std::fprintf(stderr, "interop_decks: %s fails verification:\n%s", deck.first.c_str(),
                             quorv_test::describeProblems(problems).c_str());
                return 1;
            }
        } catch (const QvException& e) {
            std::fprintf(stderr, "interop_decks: %s: error %d %s (%s)\n", deck.first.c_str(), e.get_Code(), e.what(),
                         e.get_SystemError().c_str());
            return 1;
        }
    }
    return 0;
}
