// Writer of OLE compound files ([MS-CFB] version 3: 512-byte sectors, 64-byte mini sectors, mini
// stream cutoff 4096 bytes) whose root storage holds a flat list of streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Quorv::storage {

// One stream of the root storage. The bytes are not copied: they must stay valid until
// writeCompoundFile returns. data may be null when size is 0.
struct StreamEntry {
    struct Part {
        const std::uint8_t* data;
        std::size_t size;
    };
    std::u16string name; // 1 to 31 UTF-16 code units, none of '/', '\\', ':', '!' or U+0000
    const std::uint8_t* data;
    std::size_t size;
    // A stream held in several blocks: when parts is not empty, the stream is these parts in
    // order (their sizes add up to size) and data is not used.
    std::vector<Part> parts = {};
};

// Where writeCompoundFile puts the file, in blocks and in order. An implementation reports a
// failure by throwing.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const void* data, std::size_t size) = 0;
    // Writes over bytes written before (a file's header, once the rest is known). A sink that
    // cannot go back throws std::logic_error.
    virtual void writeAt(std::uint64_t offset, const void* data, std::size_t size);
};

// Collects everything written into memory.
class VectorSink final : public ByteSink {
public:
    void write(const void* data, std::size_t size) override;
    void writeAt(std::uint64_t offset, const void* data, std::size_t size) override;
    void reserve(std::size_t size) { bytes_.reserve(size); }
    const std::vector<std::uint8_t>& bytes() const noexcept { return bytes_; }
    std::vector<std::uint8_t> take() noexcept { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// The largest file this writer produces: [MS-CFB] 2.9 caps a file with 512-byte sectors at 2 GB
// (0x80000000 bytes); the writer also keeps clear of the sector holding the range-lock bytes
// 0x7FFFFF00-0x7FFFFFFF (2.8), so the file ends at 0x7FFFFE00 at the most.
inline constexpr std::uint64_t kMaxCompoundFileSize = 0x7FFFFE00u;
// A stream below this size goes into the mini stream ([MS-CFB] 2.2).
inline constexpr std::size_t kMiniStreamCutoff = 4096;

// The size in bytes of the file writeCompoundFile would write (a multiple of 512). Checks the
// list as writeCompoundFile does and throws the same exceptions.
std::uint64_t compoundFileSize(const std::vector<StreamEntry>& streams);

// Writes one complete compound file. Directory entry 0 is the root storage ("Root Entry", CLSID
// and time stamps zero); stream i gets directory entry i + 1. Streams below 4096 bytes go to the
// mini stream; a stream of 0 bytes has start sector ENDOFCHAIN and size 0.
//
// The file is laid out as header | FAT | DIFAT | directory | mini FAT | mini stream | the other
// streams in order. With a leading stream of 4096 bytes or more, that stream's sectors come
// first instead, right after the header, and the rest follows it: such a stream can go into the
// file as it is produced, before the sizes of the others are known. Its producer then writes 512
// bytes for the header and the stream's first bytes (ahead of them) into the sink, and gives the
// StreamEntry only the bytes that are left (parts adding up to size - ahead); the header is
// written last, with writeAt. The bytes of the file are the same either way.
// Throws std::invalid_argument for a bad name (empty, more than 31 code units, U+0000, one of
// '/', '\\', ':', '!', an unpaired surrogate), for two names that are equal under the
// case-insensitive comparison of [MS-CFB] 2.6.4, and for null data with a non-zero size;
// std::length_error when the file would be larger than kMaxCompoundFileSize. Nothing reaches
// the sink before these checks pass (but the bytes a producer put ahead of a leading stream);
// exceptions of the sink propagate.
void writeCompoundFile(const std::vector<StreamEntry>& streams, ByteSink& sink);
struct Leading {
    std::size_t index;       // the stream stored first
    bool headerReserved;     // the sink already holds 512 bytes for the header ...
    std::uint64_t ahead;     // ... and this many bytes of the leading stream after them
};
void writeCompoundFile(const std::vector<StreamEntry>& streams, ByteSink& sink, const Leading& leading);
// The size of the file either form writes.
std::uint64_t compoundFileSize(const std::vector<StreamEntry>& streams, const Leading& leading);

// The order [MS-CFB] 2.6.4 gives sibling names: shorter first; names of equal length compare
// code unit by code unit after upper-casing each one. Negative, 0 or positive like strcmp.
int compareEntryNames(const std::u16string& a, const std::u16string& b) noexcept;

} // namespace Quorv::storage
