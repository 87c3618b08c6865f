// Cases as rows: a deck built through the public API, then what its file must hold, each
// expectation the bytes of a record found by its path of record types. One runner saves every
// row's deck twice (same bytes), runs the structural verifier on it and checks the expectations;
// with QUORV_ROW_FILES set it also leaves the file there for the readers of the interop tests.
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/verifier.h"

namespace quorv_test {

using StreamMap = std::map<std::u16string, Bytes>;

// Fills a document (and the properties the runner attaches when the deck sets any of them).
using Deck = std::function<void(Quorv::PPTDocument&, Quorv::PPTProperties&)>;

// The nth record, in stream order, whose chain of record types from the top of the stream is
// path (an empty path is the stream itself): the whole record, or the bytes at offset in it
// (header included).
constexpr std::size_t kWhole = static_cast<std::size_t>(-1);
struct Expect {
    std::vector<unsigned> path;
    std::string hex;
    int nth = 0;
    std::size_t offset = kWhole;
    std::u16string stream = u"PowerPoint Document";
};

struct Row {
    const char* name;
    Deck deck;
    std::vector<Expect> expect;
};
inline void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

// What a row expects to fail: an action through the public API and the QvException it throws.
struct ErrorRow {
    const char* name;
    std::function<void()> action;
    int code;
    std::string detail;
};
inline void PrintTo(const ErrorRow& row, std::ostream* os) { *os << row.name; }

// The streams of a deck saved with a fixed clock and fixed identifiers.
StreamMap saveDeck(const Deck& deck);
// The file of a deck, saved the same way.
Bytes saveDeckFile(const Deck& deck);
// The record at path (see Expect) in a stream; empty when there is none.
Bytes recordAt(const Bytes& stream, const std::vector<unsigned>& path, int nth);

// Expected bytes kept as data: the section "[name]" of tests/data/expected/FILE.hex, hex digits
// with '#' comments; the sections of a file in order.
std::vector<std::pair<std::string, std::string>> goldenSections(const std::string& file);
std::string golden(const std::string& file, const std::string& name);

// Runs a row: two saves give the same bytes, the verifier accepts the file, every expectation
// holds. Reports failures through gtest.
void runRow(const Row& row);
void runErrorRow(const ErrorRow& row);

// Common record paths (inline, so that rows defined in other files may use them while they are
// initialised): the shapes of a slide's group, and the document container.
inline const std::vector<unsigned> kSlideShape = {0x03EE, 0x040C, 0xF002, 0xF003, 0xF004};
inline const std::vector<unsigned> kDocument = {0x03E8};

} // namespace quorv_test
