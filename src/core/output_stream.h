// QvOutputStream: the in-memory byte buffer into which every record is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Quorv {

namespace detail {
struct SaveContext;
struct LengthLog;
} // namespace detail

// A growable little-endian byte buffer. A stream made by counter() stores nothing and only
// counts: running a writer against it gives the exact size that writer produces, which is how
// record lengths are known before a record is written.
// The bytes of a finished stream, in the blocks they were written into (no block is copied when
// the stream grows, and none when it is handed on).
using ByteBlocks = std::vector<std::vector<std::uint8_t>>;

class QvOutputStream {
public:
    explicit QvOutputStream(int sizeHint = 8192);
    static QvOutputStream counter(const QvOutputStream& like);
    static QvOutputStream counter();

    QvOutputStream(QvOutputStream&& other) noexcept;
    QvOutputStream& operator=(QvOutputStream&& other) noexcept;
    QvOutputStream(const QvOutputStream&) = delete;
    QvOutputStream& operator=(const QvOutputStream&) = delete;

    void writeByte(std::uint8_t b) { writeBytes(&b, 0, 1); }
    // Bytes [start, start + count) of data.
    void writeBytes(const void* data, std::size_t start, std::size_t count) {
        if (counting_) {
            size_ += count;
            return;
        }
        if (count <= static_cast<std::size_t>(end_ - cur_)) {
            if (count != 0) std::memcpy(cur_, static_cast<const std::uint8_t*>(data) + start, count);
            cur_ += count;
            size_ += count;
        } else {
            writeSlow(static_cast<const std::uint8_t*>(data) + start, count);
        }
    }
    void writeBytes(const void* data, std::size_t count) { writeBytes(data, 0, count); }
    void writeBytes(const std::vector<std::uint8_t>& data) { writeBytes(data.data(), 0, data.size()); }
    void writeZeros(std::size_t count);
    void writeU16(std::uint16_t v) {
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
        writeBytes(b, 0, 2);
    }
    void writeU32(std::uint32_t v) {
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        writeBytes(b, 0, 4);
    }
    void writeI16(std::int16_t v) { writeU16(static_cast<std::uint16_t>(v)); }
    void writeI32(std::int32_t v) { writeU32(static_cast<std::uint32_t>(v)); }
    // A record header given as one word (recVerInstance in bits 0-15, recType in bits 16-31).
    void writeRecordHeader(std::uint32_t verInstanceType, std::uint32_t recLen) {
        const std::uint8_t b[8] = {static_cast<std::uint8_t>(verInstanceType), static_cast<std::uint8_t>(verInstanceType >> 8),
                                   static_cast<std::uint8_t>(verInstanceType >> 16), static_cast<std::uint8_t>(verInstanceType >> 24),
                                   static_cast<std::uint8_t>(recLen), static_cast<std::uint8_t>(recLen >> 8),
                                   static_cast<std::uint8_t>(recLen >> 16), static_cast<std::uint8_t>(recLen >> 24)};
        writeBytes(b, 0, 8);
    }

    // Bytes written so far (the stream is only ever appended to).
    std::size_t position() const noexcept { return size_; }
    int tell() const noexcept { return static_cast<int>(size_); }
    int size() const noexcept { return tell(); }
    bool counting() const noexcept { return counting_; }

    // The bytes written, as one block (a copy).
    std::vector<std::uint8_t> bytes() const;
    // The bytes written, handed over: as one block, or as the blocks they were written into.
    std::vector<std::uint8_t> takeBytes();
    ByteBlocks takeBlocks() noexcept;

    // The save this stream belongs to (clock, identifier source); null outside a save.
    const detail::SaveContext* context() const noexcept { return context_; }
    void setContext(const detail::SaveContext* context) noexcept { context_ = context; }

    // The lengths of nested records, noted while counting and used while writing (record.h).
    detail::LengthLog* lengthLog() const noexcept { return lengthLog_; }
    void setLengthLog(detail::LengthLog* log) noexcept { lengthLog_ = log; }

private:
    struct CountingTag {};
    explicit QvOutputStream(CountingTag) : counting_(true) {}

    void writeSlow(const std::uint8_t* data, std::size_t count);
    // Starts a new block with room for at least count bytes.
    void newBlock(std::size_t count);
    // The used length of the last block.
    std::size_t lastUsed() const noexcept;

    // Blocks of growing capacity (each vector's size is its capacity); the last one is being
    // filled from cur_ to end_. A counting stream has no blocks: cur_ == end_ == null.
    ByteBlocks blocks_;
    std::uint8_t* cur_ = nullptr;
    std::uint8_t* end_ = nullptr;
    std::size_t size_ = 0;
    std::size_t nextCapacity_ = 0;
    bool counting_ = false;
    const detail::SaveContext* context_ = nullptr;
    detail::LengthLog* lengthLog_ = nullptr;
};

} // namespace Quorv
