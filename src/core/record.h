// Writing records in one pass.
//
// A record body is a callable that writes into a QvOutputStream. writeRecord writes the 8-byte
// header with its length left open, runs the body once, then fills the length in from the
// position: the header sits in one block of the stream's memory (QvOutputStream::claim), so the
// length is written where it belongs however the body grew the stream, and it equals the bytes
// the body wrote by construction. Debug builds assert the length of records whose size the
// format fixes.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "core/output_stream.h"
#include "core/record_types.h"

namespace Quorv {

struct RecordHeader {
    std::uint8_t version;   // recVer, 4 bits
    std::uint16_t instance; // recInstance, 12 bits
    RecordType type;

    constexpr std::uint32_t word() const noexcept {
        return static_cast<std::uint32_t>((version & 0xFu) | ((instance & 0xFFFu) << 4)) |
               (static_cast<std::uint32_t>(type) << 16);
    }
};

constexpr RecordHeader container(RecordType type, std::uint16_t instance = 0) {
    return RecordHeader{kContainerVersion, instance, type};
}
constexpr RecordHeader atom(RecordType type, std::uint8_t version = 0, std::uint16_t instance = 0) {
    return RecordHeader{version, instance, type};
}

namespace detail {

// Throws std::length_error when a record body does not fit a 32-bit length.
std::uint32_t checkedRecordLength(std::size_t length, RecordType type);

// An open record: where its length goes, and where its body starts.
struct OpenRecord {
    std::uint8_t* length;
    std::size_t bodyStart;
};

inline OpenRecord openRecord(QvOutputStream& s, RecordHeader h) {
    std::uint8_t* p = s.claim(8);
    putU32(p, h.word());
    return OpenRecord{p + 4, s.position()};
}

inline std::uint32_t closeRecord(QvOutputStream& s, const OpenRecord& r, RecordType type) {
    const std::size_t n = s.position() - r.bodyStart;
    const std::uint32_t length = n <= 0xFFFFFFFFu ? static_cast<std::uint32_t>(n) : checkedRecordLength(n, type);
    putU32(r.length, length);
    assert(fixedRecordLength(type) < 0 || fixedRecordLength(type) == static_cast<std::int64_t>(length));
    return length;
}

} // namespace detail

// The number of bytes body writes (into a scratch stream: only the size passes of the public API
// measure, never a save).
template <class Body>
std::size_t measure(Body&& body) {
    QvOutputStream scratch(4096);
    body(scratch);
    return scratch.position();
}

// The recLen of the record body writes: its size less the 8-byte header.
template <class Body>
std::size_t recordLength(Body&& body) {
    return measure(std::forward<Body>(body)) - 8;
}

// Writes header and body of one record; returns the record's length (its recLen).
template <class Body>
std::uint32_t writeRecord(QvOutputStream& s, RecordHeader h, Body&& body) {
    const detail::OpenRecord r = detail::openRecord(s, h);
    body(s);
    return detail::closeRecord(s, r, h.type);
}

// Writes a record whose body is a block of bytes.
inline void writeRecordBytes(QvOutputStream& s, RecordHeader h, const void* data, std::size_t size) {
    writeRecord(s, h, [&](QvOutputStream& o) { o.writeBytes(data, 0, size); });
}

} // namespace Quorv
