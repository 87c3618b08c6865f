// Random-access reading of picture data, from memory or from a standard stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <vector>

namespace Quorv {
namespace picture {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The number of bytes.
    virtual std::uint64_t size() const noexcept = 0;
    // Copies up to count bytes from offset into out; returns the number copied, which is less
    // than count only at the end of the data or when reading failed.
    virtual std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) = 0;
    // The bytes themselves when they are in memory, otherwise null.
    virtual const std::uint8_t* data() const noexcept { return nullptr; }
};

// Bytes in memory, shared with whoever else holds them.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::shared_ptr<const std::vector<std::uint8_t>> bytes) noexcept;
    std::uint64_t size() const noexcept override;
    std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) override;
    const std::uint8_t* data() const noexcept override;

private:
    std::shared_ptr<const std::vector<std::uint8_t>> bytes_;
};

// A seekable standard stream; its length is taken once, when the source is made.
class StreamSource final : public ByteSource {
public:
    explicit StreamSource(std::istream& in);
    std::uint64_t size() const noexcept override { return size_; }
    std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) override;
    // False when the stream could not be measured (a file that did not open, say).
    bool ok() const noexcept { return ok_; }

private:
    std::istream& in_;
    std::uint64_t size_ = 0;
    bool ok_ = false;
};

// The length of a stream from its start to its end, in 64 bits; -1 when the stream cannot
// seek or has failed. Leaves the stream positioned at its start.
std::int64_t streamLength(std::istream& in);

// Reads all of a stream from its start into memory, in blocks.
std::vector<std::uint8_t> readAll(std::istream& in, std::uint64_t length);

// The block size in which picture data is copied.
constexpr std::size_t kBlockSize = std::size_t{1} << 20;

} // namespace picture
} // namespace Quorv
