// quorv-ppt: writes presentations with the quorv library.
#include <cstring>
#include <iostream>
#include <string>

#include "demo_deck.h"
#include "quorv/quorv.h"

namespace {

const char* const kUsage =
    "usage: quorv-ppt demo [-o OUT.ppt]   write the built-in sample deck (default demo.ppt)\n"
    "       quorv-ppt --help | --version\n";

int writeDemo(const std::string& out) {
    Quorv::PPTDocument doc;
    Quorv::PPTProperties props;
    quorv_tool::buildDemoDeck(doc, props);
    doc.save(out);
    std::cout << "wrote " << out << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "--version") {
        std::cout << "quorv-ppt " << QUORV_VERSION_STRING << "\n";
        return 0;
    }
    if (command != "demo") {
        std::cerr << "quorv-ppt: unknown command '" << command << "'\n" << kUsage;
        return 2;
    }
    std::string out = "demo.ppt";
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            out = argv[++i];
        } else {
            std::cerr << "quorv-ppt: unexpected argument '" << argv[i] << "'\n" << kUsage;
            return 2;
        }
    }
    try {
        return writeDemo(out);
    } catch (const Quorv::QvException& e) {
        std::cerr << "quorv-ppt: cannot write " << out << ": error " << e.get_Code();
        if (*e.what()) std::cerr << ": " << e.what();
        if (!e.get_SystemError().empty()) std::cerr << " (" << e.get_SystemError() << ")";
        std::cerr << "\n";
        return 1;
    }
}
