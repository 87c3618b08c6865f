// quorv-ppt: writes presentations with the quorv library, from a JSON description of the deck
// (docs/deck-format.md) or the built-in sample deck.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "deck_json.h"
#include "demo_deck.h"
#include "quorv/quorv.h"

namespace {

const char* const kUsage =
    "usage: quorv-ppt build DECK.json [-o OUT.ppt]   write the deck described in DECK.json\n"
    "       quorv-ppt demo [-o OUT.ppt]              write the built-in sample deck\n"
    "       quorv-ppt --help | --version\n";

const char* const kHelp =
    "\n"
    "build  reads a deck in JSON (see docs/deck-format.md): slides with text frames, lines,\n"
    "       rectangles, polylines, pictures and tables, and the document properties. DECK.json\n"
    "       may be - for standard input. Pictures are found relative to the deck's folder.\n"
    "       The output defaults to DECK.ppt beside the deck.\n"
    "demo   writes a sample presentation that shows every feature (default demo.ppt).\n"
    "\n"
    "-o OUT.ppt, --output OUT.ppt\n"
    "       where to write; - writes to standard output. A file is replaced only once the new\n"
    "       one is complete and on disk.\n"
    "\n"
    "Exit status: 0 written, 1 the output could not be written, 2 bad usage or a bad deck\n"
    "(the message names the file, the JSON path and what is wrong; nothing is written).\n";

const char* const kProgram = "quorv-ppt: ";

struct Usage {
    std::string message;
};

// Error code 5 is a failure to write; anything else the library rejects comes from the deck.
int reportLibraryError(const Quorv::QvException& e, const std::string& input, const std::string& output) {
    if (e.get_Code() == Quorv::QV_ERR_WRITE_FILE) {
        std::cerr << kProgram << "cannot write " << output << ": error " << e.get_Code();
        if (*e.what()) std::cerr << ": " << e.what();
        if (!e.get_SystemError().empty()) std::cerr << " (" << e.get_SystemError() << ")";
        std::cerr << "\n";
        return 1;
    }
    std::cerr << input << ": rejected by quorv while saving: error " << e.get_Code();
    if (*e.what()) {
        std::cerr << ": " << e.what();
    } else if (!e.get_Detail().empty()) {
        std::cerr << " (" << e.get_Detail() << ")";
    }
    std::cerr << "\n";
    return 2;
}

// Saves to a file (atomically, by the library) or, for "-", builds the file in memory first so
// that standard output gets a complete file or nothing.
void save(Quorv::PPTDocument& doc, const std::string& output) {
    if (output != "-") {
        doc.save(output);
        return;
    }
    std::vector<unsigned char> bytes = doc.saveToMemory();
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        throw Quorv::QvException(Quorv::QV_ERR_WRITE_FILE, "write error", "", std::strerror(errno));
    }
}

bool readAll(const std::string& path, std::string& text, std::string& error) {
    if (path == "-") {
        std::ostringstream buffer;
        buffer << std::cin.rdbuf();
        if (std::cin.bad()) {
            error = "read error";
            return false;
        }
        text = buffer.str();
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "read error";
        return false;
    }
    return true;
}

std::string directoryOf(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string defaultOutput(const std::string& deck) {
    std::size_t slash = deck.find_last_of("/\\");
    std::size_t dot = deck.rfind('.');
    std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? deck.substr(0, dot)
                                                                                                : deck;
    return stem + ".ppt";
}

int announce(const std::string& output) {
    if (output != "-") std::cout << "wrote " << output << "\n";
    return 0;
}

int build(const std::string& deck, std::string output) {
    if (output.empty()) {
        if (deck == "-") throw Usage{"reading the deck from standard input needs -o"};
        output = defaultOutput(deck);
    }
    const std::string name = deck == "-" ? "<stdin>" : deck;
    std::string text, error;
    if (!readAll(deck, text, error)) {
        std::cerr << kProgram << "cannot read " << name << ": " << error << "\n";
        return 2;
    }
    Quorv::PPTDocument doc;
    Quorv::PPTProperties props;
    try {
        quorv_tool::DeckSource source;
        source.baseDir = deck == "-" ? std::string() : directoryOf(deck);
        quorv_tool::buildDeck(text, source, doc, props);
    } catch (const quorv_tool::DeckError& e) {
        std::cerr << e.describe(name) << "\n";
        return 2;
    }
    try {
        save(doc, output);
    } catch (const Quorv::QvException& e) {
        return reportLibraryError(e, name, output);
    }
    return announce(output);
}

int demo(const std::string& output) {
    Quorv::PPTDocument doc;
    Quorv::PPTProperties props;
    quorv_tool::buildDemoDeck(doc, props);
    try {
        save(doc, output);
    } catch (const Quorv::QvException& e) {
        return reportLibraryError(e, "demo deck", output);
    }
    return announce(output);
}

int run(const std::vector<std::string>& args) {
    if (args.empty()) throw Usage{"no command given"};
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage << kHelp;
        return 0;
    }
    if (command == "--version") {
        std::cout << "quorv-ppt " << QUORV_VERSION_STRING << "\n";
        return 0;
    }
    if (command != "build" && command != "demo") throw Usage{"unknown command '" + command + "'"};
    std::string output;
    std::vector<std::string> operands;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) throw Usage{a + " needs a file name"};
            output = args[++i];
            if (output.empty()) throw Usage{a + " needs a file name"};
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage << kHelp;
            return 0;
        } else if (a.size() > 1 && a[0] == '-') {
            throw Usage{"unknown option '" + a + "'"};
        } else {
            operands.push_back(a);
        }
    }
    if (command == "demo") {
        if (!operands.empty()) throw Usage{"unexpected argument '" + operands[0] + "'"};
        return demo(output.empty() ? "demo.ppt" : output);
    }
    if (operands.empty()) throw Usage{"build needs a deck (a JSON file, or - for standard input)"};
    if (operands.size() > 1) throw Usage{"unexpected argument '" + operands[1] + "'"};
    return build(operands[0], output);
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const Usage& u) {
        std::cerr << kProgram << u.message << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << kProgram << e.what() << "\n";
        return 1;
    }
}
