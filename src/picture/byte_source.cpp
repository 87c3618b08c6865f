#include "picture/byte_source.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Quorv {
namespace picture {

MemorySource::MemorySource(std::shared_ptr<const std::vector<std::uint8_t>> bytes) noexcept
    : bytes_(std::move(bytes)) {}

std::uint64_t MemorySource::size() const noexcept { return bytes_ ? bytes_->size() : 0; }

std::size_t MemorySource::readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) {
    const std::uint64_t n = size();
    if (offset >= n || count == 0) return 0;
    std::size_t k = static_cast<std::size_t>(std::min<std::uint64_t>(count, n - offset));
    std::memcpy(out, bytes_->data() + offset, k);
    return k;
}

const std::uint8_t* MemorySource::data() const noexcept {
    return bytes_ && !bytes_->empty() ? bytes_->data() : nullptr;
}

StreamSource::StreamSource(std::istream& in) : in_(in) {
    std::int64_t n = streamLength(in);
    ok_ = n >= 0;
    size_ = ok_ ? static_cast<std::uint64_t>(n) : 0;
}

std::size_t StreamSource::readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) {
    if (offset >= size_ || count == 0) return 0;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max())) return 0;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset), std::ios_base::beg);
    if (!in_) return 0;
    std::size_t done = 0;
    while (done < count) {
        std::size_t want = std::min(count - done, kBlockSize);
        in_.read(reinterpret_cast<char*>(out + done), static_cast<std::streamsize>(want));
        std::size_t got = static_cast<std::size_t>(in_.gcount());
        done += got;
        if (got < want) break;
    }
    return done;
}

std::int64_t streamLength(std::istream& in) {
    in.clear();
    in.seekg(0, std::ios_base::end);
    if (!in) {
        in.clear();
        return -1;
    }
    std::streamoff end = static_cast<std::streamoff>(in.tellg());
    in.seekg(0, std::ios_base::beg);
    if (end < 0 || !in) {
        in.clear();
        return -1;
    }
    return static_cast<std::int64_t>(end);
}

std::vector<std::uint8_t> readAll(std::istream& in, std::uint64_t length) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    in.clear();
    in.seekg(0, std::ios_base::beg);
    std::size_t done = 0;
    while (in && done < bytes.size()) {
        std::size_t want = std::min(bytes.size() - done, kBlockSize);
        in.read(reinterpret_cast<char*>(bytes.data() + done), static_cast<std::streamsize>(want));
        done += static_cast<std::size_t>(in.gcount());
    }
    bytes.resize(done); // a stream that ends early keeps what it gave
    return bytes;
}

} // namespace picture
} // namespace Quorv
