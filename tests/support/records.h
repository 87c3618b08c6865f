// A small reader of the record tree of the "PowerPoint Document" stream and of OfficeArt records,
// for tests: parses headers, checks that container lengths add up, and finds records by type.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorv_test {

struct Record {
    std::size_t offset = 0; // of the header
    unsigned version = 0;
    unsigned instance = 0;
    unsigned type = 0;
    std::uint32_t length = 0;
    std::vector<Record> children; // for containers (version 0xF)

    std::size_t bodyOffset() const { return offset + 8; }
    std::size_t end() const { return offset + 8 + length; }
    bool isContainer() const { return version == 0xF; }

    // Depth-first search for records of a type.
    void findAll(unsigned t, std::vector<const Record*>& out) const {
        for (const Record& c : children) {
            if (c.type == t) out.push_back(&c);
            c.findAll(t, out);
        }
    }
    std::vector<const Record*> findAll(unsigned t) const {
        std::vector<const Record*> out;
        findAll(t, out);
        return out;
    }
};

// Parses records in [begin, end); throws std::runtime_error when a length runs past its parent.
inline std::vector<Record> parseRecords(const std::vector<std::uint8_t>& b, std::size_t begin, std::size_t end) {
    std::vector<Record> out;
    std::size_t at = begin;
    while (at < end) {
        if (at + 8 > end) throw std::runtime_error("truncated header at " + std::to_string(at));
        Record r;
        r.offset = at;
        unsigned vi = b[at] | (b[at + 1] << 8);
        r.version = vi & 0xF;
        r.instance = vi >> 4;
        r.type = b[at + 2] | (b[at + 3] << 8);
        r.length = b[at + 4] | (b[at + 5] << 8) | (b[at + 6] << 16) | (static_cast<std::uint32_t>(b[at + 7]) << 24);
        if (r.end() > end) {
            throw std::runtime_error("record 0x" + std::to_string(r.type) + " at " + std::to_string(at) +
                                     " runs past its parent");
        }
        // RT_BinaryTagDataBlob holds raw bytes that happen to look like a record; do not descend.
        if (r.isContainer()) r.children = parseRecords(b, r.bodyOffset(), r.end());
        out.push_back(std::move(r));
        at = out.back().end();
    }
    return out;
}

} // namespace quorv_test
