// Reads a deck described in JSON (docs/deck-format.md) and builds it into a PPTDocument.
#pragma once

#include <stdexcept>
#include <string>

#include "quorv/quorv.h"

namespace quorv_tool {

// Bad input: the JSON path of the value at fault ("slides[2].shapes[0].points", empty for the
// whole deck) and what is wrong with it. For malformed JSON, line and column (1-based) instead.
class DeckError : public std::runtime_error {
public:
    DeckError(std::string path, const std::string& message)
        : std::runtime_error(message), path_(std::move(path)) {}
    DeckError(int line, int column, const std::string& message)
        : std::runtime_error(message), line_(line), column_(column) {}

    const std::string& path() const noexcept { return path_; }
    int line() const noexcept { return line_; }
    int column() const noexcept { return column_; }

    // "FILE: PATH: MESSAGE", "FILE: MESSAGE" or "FILE:LINE:COLUMN: malformed JSON: MESSAGE".
    std::string describe(const std::string& fileName) const;

private:
    std::string path_;
    int line_ = 0;
    int column_ = 0;
};

// Where the deck came from: pictures are found relative to baseDir ("" for the working
// directory).
struct DeckSource {
    std::string baseDir;
};

// Parses text as a deck and builds it into doc, which should be new. props receives the deck's
// properties and is attached to doc when the deck has any; it must outlive doc's saves.
// Throws DeckError for anything wrong with the deck, before anything is saved.
void buildDeck(const std::string& text, const DeckSource& source, Quorv::PPTDocument& doc,
               Quorv::PPTProperties& props);

} // namespace quorv_tool
