#include "support/rows.h"

#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "support/fixtures.h"
#include "support/records.h"
#include "support/verifier.h"

namespace quorv_test {

namespace {

void buildDocument(const Deck& deck, Quorv::PPTDocument& doc, Quorv::PPTProperties& props) {
    deck(doc, props);
    const bool any = !props.get_Title().empty() || !props.get_Subject().empty() || !props.get_Author().empty() ||
                     !props.get_Company().empty() || !props.get_Keyword().empty() || props.get_Encrypt();
    if (any) doc.setProperties(&props, false);
}

void collect(const Bytes& b, const std::vector<Record>& records, const std::vector<unsigned>& path, std::size_t depth,
             std::vector<const Record*>& out) {
    for (const Record& r : records) {
        if (r.type != path[depth]) continue;
        if (depth + 1 == path.size()) {
            out.push_back(&r);
        } else {
            collect(b, r.children, path, depth + 1, out);
        }
    }
}

} // namespace

std::vector<std::pair<std::string, std::string>> goldenSections(const std::string& file) {
    std::ifstream in(std::string(QUORV_TEST_DATA_DIR) + "/expected/" + file + ".hex");
    if (!in) throw std::runtime_error("no file of expected bytes " + file + ".hex");
    std::vector<std::pair<std::string, std::string>> out;
    for (std::string line; std::getline(in, line);) {
        line.erase(std::min(line.find('#'), line.size()));
        if (!line.empty() && line[0] == '[') out.emplace_back(line.substr(1, line.find(']') - 1), "");
        else if (!out.empty()) out.back().second += line + ' ';
    }
    return out;
}

std::string golden(const std::string& file, const std::string& name) {
    for (const auto& section : goldenSections(file)) {
        if (section.first == name) return section.second;
    }
    throw std::runtime_error("no expected bytes [" + name + "] in " + file + ".hex");
}

StreamMap saveDeck(const Deck& deck) {
    Quorv::PPTDocument doc;
    Quorv::PPTProperties props;
    buildDocument(deck, doc, props);
    StreamMap out;
    for (auto& s : Quorv::detail::DocumentWriter::buildStreams(doc, fixedContext())) out[s.name] = s.bytes();
    return out;
}

Bytes saveDeckFile(const Deck& deck) {
    Quorv::PPTDocument doc;
    Quorv::PPTProperties props;
    buildDocument(deck, doc, props);
    return Quorv::detail::DocumentWriter::saveToBytes(doc, fixedContext());
}

Bytes recordAt(const Bytes& stream, const std::vector<unsigned>& path, int nth) {
    if (path.empty()) return stream;
    const std::vector<Record> top = parseRecords(stream, 0, stream.size());
    std::vector<const Record*> found;
    collect(stream, top, path, 0, found);
    if (nth < 0 || static_cast<std::size_t>(nth) >= found.size()) return {};
    return slice(stream, found[nth]->offset, found[nth]->end() - found[nth]->offset);
}

void runRow(const Row& row) {
    const Bytes file = saveDeckFile(row.deck);
    EXPECT_EQ(file, saveDeckFile(row.deck)) << "a second save gives other bytes";
    std::vector<std::string> problems;
    const StreamMap streams = readCompoundFile(file, problems);
    ASSERT_EQ(describeProblems(problems), "");
    EXPECT_EQ(describeProblems(verifyPresentation(streams)), "");
    for (const Expect& e : row.expect) {
        auto s = streams.find(e.stream);
        ASSERT_NE(s, streams.end()) << "no such stream";
        const Bytes record = recordAt(s->second, e.path, e.nth);
        const Bytes want = hex(e.hex);
        const std::size_t at = e.offset == kWhole ? 0 : e.offset;
        ASSERT_GE(record.size(), at + want.size()) << "no record of that path, or a shorter one";
        EXPECT_TRUE(sameBytes(want, e.offset == kWhole ? record : slice(record, at, want.size())))
            << "record " << e.nth << " of the path, from offset " << at;
    }
    if (const char* dir = std::getenv("QUORV_ROW_FILES")) {
        const Bytes& doc = streams.at(u"PowerPoint Document");
        std::size_t slides = 0;
        for (const Record& r : parseRecords(doc, 0, doc.size())) slides += r.type == 0x03EE ? 1 : 0;
        std::ofstream(std::string(dir) + "/" + row.name + "-" + std::to_string(slides) + ".ppt", std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
}

void runErrorRow(const ErrorRow& row) {
    try {
        row.action();
        ADD_FAILURE() << "no exception";
    } catch (const Quorv::QvException& e) {
        EXPECT_EQ(e.get_Code(), row.code);
        EXPECT_EQ(e.get_Detail(), row.detail);
    }
}

} // namespace quorv_test
