// QvOutputStream: the in-memory byte buffer into which every record is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Quorv {

namespace detail {
struct SaveContext;
struct LengthLog;
} // namespace detail

// A growable little-endian byte buffer. A stream made by counter() stores nothing and only
// counts: running a writer against it gives the exact size that writer produces, which is how
// record lengths are known before a record is written.
class QvOutputStream {
public:
    explicit QvOutputStream(int sizeHint = 8192);
    static QvOutputStream counter(const QvOutputStream& like);
    static QvOutputStream counter();

    QvOutputStream(QvOutputStream&&) noexcept = default;
    QvOutputStream& operator=(QvOutputStream&&) noexcept = default;
    QvOutputStream(const QvOutputStream&) = delete;
    QvOutputStream& operator=(const QvOutputStream&) = delete;

    void writeByte(std::uint8_t b) {
        if (counting_) {
            ++count_;
            return;
        }
        buf_.push_back(b);
    }
    // Bytes [start, start + count) of data.
    void writeBytes(const void* data, std::size_t start, std::size_t count);
    void writeBytes(const void* data, std::size_t count) { writeBytes(data, 0, count); }
    void writeBytes(const std::vector<std::uint8_t>& data) { writeBytes(data.data(), 0, data.size()); }
    void writeZeros(std::size_t count);
    void writeU16(std::uint16_t v) {
        std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
        writeBytes(b, 0, 2);
    }
    void writeU32(std::uint32_t v) {
        std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        writeBytes(b, 0, 4);
    }
    void writeI16(std::int16_t v) { writeU16(static_cast<std::uint16_t>(v)); }
    void writeI32(std::int32_t v) { writeU32(static_cast<std::uint32_t>(v)); }
    // A record header given as one word (recVerInstance in bits 0-15, recType in bits 16-31).
    void writeRecordHeader(std::uint32_t verInstanceType, std::uint32_t recLen) {
        writeU16(static_cast<std::uint16_t>(verInstanceType));
        writeU16(static_cast<std::uint16_t>(verInstanceType >> 16));
        writeU32(recLen);
    }

    // Bytes written so far (the stream is only ever appended to).
    std::size_t position() const noexcept { return counting_ ? count_ : buf_.size(); }
    int tell() const noexcept { return static_cast<int>(position()); }
    int size() const noexcept { return tell(); }
    bool counting() const noexcept { return counting_; }

    const std::vector<std::uint8_t>& bytes() const noexcept { return buf_; }
    std::vector<std::uint8_t> takeBytes() noexcept { return std::move(buf_); }
    // Appends this stream's bytes to the end of target in one block.
    void appendTo(QvOutputStream& target) const { target.writeBytes(buf_.data(), 0, buf_.size()); }

    // The save this stream belongs to (clock, identifier source); null outside a save.
    const detail::SaveContext* context() const noexcept { return context_; }
    void setContext(const detail::SaveContext* context) noexcept { context_ = context; }

    // The lengths of nested records, noted while counting and used while writing (record.h).
    detail::LengthLog* lengthLog() const noexcept { return lengthLog_; }
    void setLengthLog(detail::LengthLog* log) noexcept { lengthLog_ = log; }

private:
    struct CountingTag {};
    explicit QvOutputStream(CountingTag) : counting_(true) {}

    std::vector<std::uint8_t> buf_;
    std::size_t count_ = 0;
    bool counting_ = false;
    const detail::SaveContext* context_ = nullptr;
    detail::LengthLog* lengthLog_ = nullptr;
};

} // namespace Quorv
