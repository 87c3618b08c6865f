// Writing records whose length is known before their body is written.
//
// A record body is a callable that writes into a QvOutputStream. writeRecord runs the body once
// against a counting stream, which gives the record's length and, on the way, the lengths of all
// records nested in it (noted in pre-order in a LengthLog). It then writes the header and runs the
// body for real; the nested records take their lengths from the log instead of measuring again,
// so every body runs exactly twice however deep the nesting. Each record checks that its body
// wrote exactly the length in its header; a body that writes something else than it counted is a
// bug and throws std::logic_error naming the record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/output_stream.h"
#include "core/record_types.h"

namespace Quorv {

struct RecordHeader {
    std::uint8_t version;   // recVer, 4 bits
    std::uint16_t instance; // recInstance, 12 bits
    RecordType type;

    std::uint32_t word() const noexcept {
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

struct LengthLog {
    std::vector<std::uint32_t> lengths; // nested record lengths in the order the records begin
    std::size_t next = 0;               // the next length to take while writing
};

// Throws std::length_error when a record body does not fit a 32-bit length.
std::uint32_t checkedRecordLength(std::size_t length, RecordType type);
// Throws std::logic_error naming the record when a body wrote another length than it measured.
void checkWrittenLength(std::size_t expected, std::size_t written, RecordType type);

// Puts a stream's length log back when a record is done (or an exception passes).
class LengthLogScope {
public:
    LengthLogScope(QvOutputStream& s, LengthLog* log) noexcept : s_(s), saved_(s.lengthLog()) {
        s.setLengthLog(log);
    }
    ~LengthLogScope() { s_.setLengthLog(saved_); }
    LengthLogScope(const LengthLogScope&) = delete;
    LengthLogScope& operator=(const LengthLogScope&) = delete;

private:
    QvOutputStream& s_;
    LengthLog* saved_;
};

} // namespace detail

// The number of bytes body writes, counted without writing them.
template <class Body>
std::size_t measure(Body&& body) {
    QvOutputStream counter = QvOutputStream::counter();
    body(counter);
    return counter.position();
}

// The recLen of the record body writes: its size less the 8-byte header.
template <class Body>
std::size_t recordLength(Body&& body) {
    return measure(std::forward<Body>(body)) - 8;
}

// Writes header and body of one record; returns the record's length (its recLen).
template <class Body>
std::uint32_t writeRecord(QvOutputStream& s, RecordHeader h, Body&& body) {
    if (s.counting()) {
        detail::LengthLog* log = s.lengthLog();
        std::size_t slot = 0;
        if (log) {
            slot = log->lengths.size();
            log->lengths.push_back(0);
        }
        std::size_t start = s.position();
        s.writeZeros(8);
        body(s);
        std::uint32_t length = detail::checkedRecordLength(s.position() - start - 8, h.type);
        if (log) log->lengths[slot] = length;
        return length;
    }

    detail::LengthLog* log = s.lengthLog();
    if (log && log->next < log->lengths.size()) {
        // A record nested in one that was measured: its length is known.
        std::uint32_t length = log->lengths[log->next++];
        s.writeRecordHeader(h.word(), length);
        std::size_t start = s.position();
        body(s);
        detail::checkWrittenLength(length, s.position() - start, h.type);
        return length;
    }

    // An outermost record: measure it and everything nested in it once.
    detail::LengthLog nested;
    QvOutputStream counter = QvOutputStream::counter(s);
    counter.setLengthLog(&nested);
    body(counter);
    std::uint32_t length = detail::checkedRecordLength(counter.position(), h.type);

    s.writeRecordHeader(h.word(), length);
    std::size_t start = s.position();
    {
        detail::LengthLogScope scope(s, &nested);
        body(s);
    }
    detail::checkWrittenLength(length, s.position() - start, h.type);
    detail::checkWrittenLength(nested.lengths.size(), nested.next, h.type);
    return length;
}

// Writes a record whose body is a block of bytes.
inline void writeRecordBytes(QvOutputStream& s, RecordHeader h, const void* data, std::size_t size) {
    writeRecord(s, h, [&](QvOutputStream& o) { o.writeBytes(data, 0, size); });
}

} // namespace Quorv
