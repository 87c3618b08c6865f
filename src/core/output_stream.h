// QvOutputStream: the in-memory byte buffer into which every record is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace Quorv {

namespace detail {
struct SaveContext;

// Little-endian stores into memory claimed from a stream.
inline void putU16(std::uint8_t* p, std::uint16_t v) noexcept {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void putU32(std::uint8_t* p, std::uint32_t v) noexcept {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}
} // namespace detail

// Memory for bytes that are written before they are read: a new block is not filled with zeros
// first (the system hands out zeroed pages anyway).
template <class T>
struct UninitializedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() noexcept = default;
    template <class U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using ByteBlock = std::vector<std::uint8_t, UninitializedAllocator<std::uint8_t>>;

// The bytes of a finished stream, in the blocks they were written into (no block is copied when
// the stream grows, and none when it is handed on).
using ByteBlocks = std::vector<ByteBlock>;

// A growable little-endian byte buffer, only ever appended to. The bytes live in blocks of
// growing capacity that never move: a pointer into a block stays valid while the stream lives,
// which is how a record's length is filled in once its body is written (record.h).
class QvOutputStream {
public:
    explicit QvOutputStream(int sizeHint = 8192);

    QvOutputStream(QvOutputStream&& other) noexcept;
    QvOutputStream& operator=(QvOutputStream&& other) noexcept;
    QvOutputStream(const QvOutputStream&) = delete;
    QvOutputStream& operator=(const QvOutputStream&) = delete;

    // count contiguous bytes at the end of the stream, for the caller to fill. When the current
    // block has less room, the block ends where it is and a new one starts, so a small field
    // (a record header, say) never straddles two blocks.
    std::uint8_t* claim(std::size_t count) {
        if (count > static_cast<std::size_t>(end_ - cur_)) newBlock(count);
        std::uint8_t* p = cur_;
        cur_ += count;
        size_ += count;
        return p;
    }

    void writeByte(std::uint8_t b) { *claim(1) = b; }
    // Bytes [start, start + count) of data; a long run fills the current block and goes on in
    // the next.
    void writeBytes(const void* data, std::size_t start, std::size_t count) {
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
    void writeU16(std::uint16_t v) { detail::putU16(claim(2), v); }
    void writeU32(std::uint32_t v) { detail::putU32(claim(4), v); }
    void writeI16(std::int16_t v) { writeU16(static_cast<std::uint16_t>(v)); }
    void writeI32(std::int32_t v) { writeU32(static_cast<std::uint32_t>(v)); }

    // Bytes written so far.
    std::size_t position() const noexcept { return size_; }
    int tell() const noexcept { return static_cast<int>(size_); }
    int size() const noexcept { return tell(); }

    // Whether the count bytes from position at equal data (false past the end or where the
    // bytes were drained).
    bool equalAt(std::size_t at, const std::uint8_t* data, std::size_t count) const noexcept;

    // Passes every block but the one being filled to use(data, size), in order, and lets them
    // go; returns the number of bytes drained so far. Only finished bytes may go: a caller
    // drains between records, when no record's length is still open.
    template <class Use>
    std::size_t drain(Use&& use) {
        if (blocks_.size() > 1) {
            for (std::size_t i = 0; i + 1 < blocks_.size(); ++i) {
                use(blocks_[i].data(), blocks_[i].size());
                drained_ += blocks_[i].size();
            }
            blocks_.erase(blocks_.begin(), blocks_.end() - 1); // the last block's buffer stays put
        }
        return drained_;
    }
    std::size_t drained() const noexcept { return drained_; }

    // The bytes written and not drained, as one block (a copy).
    std::vector<std::uint8_t> bytes() const;
    // The bytes written, handed over: as one block, or as the blocks they were written into.
    std::vector<std::uint8_t> takeBytes();
    ByteBlocks takeBlocks() noexcept;

    // The save this stream belongs to (clock, identifier source); null outside a save.
    const detail::SaveContext* context() const noexcept { return context_; }
    void setContext(const detail::SaveContext* context) noexcept { context_ = context; }

private:
    void writeSlow(const std::uint8_t* data, std::size_t count);
    // Ends the current block at what it holds and starts one with room for at least count bytes.
    void newBlock(std::size_t count);
    // The used length of block i.
    std::size_t used(std::size_t i) const noexcept;

    // Blocks of growing capacity. Every block but the last is exactly as long as what it holds;
    // the last one (its size is its capacity) is being filled from cur_ to end_.
    ByteBlocks blocks_;
    std::uint8_t* cur_ = nullptr;
    std::uint8_t* end_ = nullptr;
    std::size_t size_ = 0;    // bytes written, drained ones included
    std::size_t drained_ = 0; // bytes handed on by drain
    std::size_t nextCapacity_ = 0;
    const detail::SaveContext* context_ = nullptr;
};

} // namespace Quorv
