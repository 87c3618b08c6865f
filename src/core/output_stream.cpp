#include "core/output_stream.h"

#include <algorithm>
#include <utility>

namespace Quorv {

namespace {
// Blocks grow by doubling up to this size, so a large stream wastes at most one block's room and
// nothing is ever copied to grow it.
constexpr std::size_t kMaxBlock = std::size_t{1} << 20;
constexpr std::size_t kMinBlock = 64;
} // namespace

QvOutputStream::QvOutputStream(int sizeHint)
    : nextCapacity_(std::min(std::max(sizeHint > 0 ? static_cast<std::size_t>(sizeHint) : 8192u, kMinBlock), kMaxBlock)) {}

QvOutputStream::QvOutputStream(QvOutputStream&& other) noexcept
    : blocks_(std::move(other.blocks_)), cur_(std::exchange(other.cur_, nullptr)), end_(std::exchange(other.end_, nullptr)),
      size_(std::exchange(other.size_, 0)), drained_(std::exchange(other.drained_, 0)), nextCapacity_(other.nextCapacity_),
      context_(other.context_) {
    other.blocks_.clear();
}

QvOutputStream& QvOutputStream::operator=(QvOutputStream&& other) noexcept {
    if (this != &other) {
        blocks_ = std::move(other.blocks_);
        other.blocks_.clear();
        cur_ = std::exchange(other.cur_, nullptr);
        end_ = std::exchange(other.end_, nullptr);
        size_ = std::exchange(other.size_, 0);
        drained_ = std::exchange(other.drained_, 0);
        nextCapacity_ = other.nextCapacity_;
        context_ = other.context_;
    }
    return *this;
}

void QvOutputStream::newBlock(std::size_t count) {
    // Shrinking a vector keeps its buffer: pointers into the block stay valid.
    if (!blocks_.empty()) blocks_.back().resize(used(blocks_.size() - 1));
    std::size_t capacity = std::max(nextCapacity_, count);
    blocks_.emplace_back(capacity);
    cur_ = blocks_.back().data();
    end_ = cur_ + capacity;
    nextCapacity_ = std::min(nextCapacity_ * 2, kMaxBlock);
}

void QvOutputStream::writeSlow(const std::uint8_t* data, std::size_t count) {
    // Fill what is left of the current block, then start the next one.
    const std::size_t room = static_cast<std::size_t>(end_ - cur_);
    if (room != 0) {
        std::memcpy(cur_, data, room);
        cur_ += room;
        size_ += room;
        data += room;
        count -= room;
    }
    newBlock(count);
    std::memcpy(cur_, data, count);
    cur_ += count;
    size_ += count;
}

void QvOutputStream::writeZeros(std::size_t count) {
    while (count > 0) {
        if (cur_ == end_) newBlock(count);
        const std::size_t n = std::min(count, static_cast<std::size_t>(end_ - cur_));
        std::memset(cur_, 0, n);
        cur_ += n;
        size_ += n;
        count -= n;
    }
}

std::size_t QvOutputStream::used(std::size_t i) const noexcept {
    const std::size_t n = blocks_[i].size();
    return i + 1 == blocks_.size() ? n - static_cast<std::size_t>(end_ - cur_) : n;
}

bool QvOutputStream::equalAt(std::size_t at, const std::uint8_t* data, std::size_t count) const noexcept {
    if (at < drained_ || at > size_ || count > size_ - at) return false;
    std::size_t blockStart = drained_;
    for (std::size_t i = 0; i < blocks_.size() && count > 0; ++i) {
        const std::size_t n = used(i);
        if (at < blockStart + n) {
            const std::size_t from = at - blockStart, take = std::min(count, n - from);
            if (std::memcmp(blocks_[i].data() + from, data, take) != 0) return false;
            data += take;
            at += take;
            count -= take;
        }
        blockStart += n;
    }
    return true;
}

std::vector<std::uint8_t> QvOutputStream::bytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(size_ - drained_);
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        out.insert(out.end(), blocks_[i].begin(), blocks_[i].begin() + static_cast<std::ptrdiff_t>(used(i)));
    }
    return out;
}

ByteBlocks QvOutputStream::takeBlocks() noexcept {
    if (!blocks_.empty()) blocks_.back().resize(used(blocks_.size() - 1));
    ByteBlocks out = std::move(blocks_);
    blocks_.clear();
    cur_ = end_ = nullptr;
    size_ = drained_ = 0;
    return out;
}

std::vector<std::uint8_t> QvOutputStream::takeBytes() {
    std::vector<std::uint8_t> out = bytes();
    takeBlocks();
    return out;
}

} // namespace Quorv
