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

QvOutputStream QvOutputStream::counter() { return QvOutputStream(CountingTag{}); }

QvOutputStream QvOutputStream::counter(const QvOutputStream& like) {
    QvOutputStream c{CountingTag{}};
    c.context_ = like.context_;
    return c;
}

QvOutputStream::QvOutputStream(QvOutputStream&& other) noexcept
    : blocks_(std::move(other.blocks_)), cur_(std::exchange(other.cur_, nullptr)), end_(std::exchange(other.end_, nullptr)),
      size_(std::exchange(other.size_, 0)), nextCapacity_(other.nextCapacity_), counting_(other.counting_),
      context_(other.context_), lengthLog_(other.lengthLog_) {
    other.blocks_.clear();
}

QvOutputStream& QvOutputStream::operator=(QvOutputStream&& other) noexcept {
    if (this != &other) {
        blocks_ = std::move(other.blocks_);
        other.blocks_.clear();
        cur_ = std::exchange(other.cur_, nullptr);
        end_ = std::exchange(other.end_, nullptr);
        size_ = std::exchange(other.size_, 0);
        nextCapacity_ = other.nextCapacity_;
        counting_ = other.counting_;
        context_ = other.context_;
        lengthLog_ = other.lengthLog_;
    }
    return *this;
}

void QvOutputStream::newBlock(std::size_t count) {
    std::size_t capacity = std::max(nextCapacity_, count);
    blocks_.emplace_back(capacity);
    cur_ = blocks_.back().data();
    end_ = cur_ + capacity;
    nextCapacity_ = std::min(nextCapacity_ * 2, kMaxBlock);
}

void QvOutputStream::writeSlow(const std::uint8_t* data, std::size_t count) {
    if (counting_) {
        size_ += count;
        return;
    }
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
    if (counting_) {
        size_ += count;
        return;
    }
    while (count > 0) {
        if (cur_ == end_) newBlock(count);
        const std::size_t n = std::min(count, static_cast<std::size_t>(end_ - cur_));
        std::memset(cur_, 0, n);
        cur_ += n;
        size_ += n;
        count -= n;
    }
}

std::size_t QvOutputStream::lastUsed() const noexcept {
    return blocks_.empty() ? 0 : blocks_.back().size() - static_cast<std::size_t>(end_ - cur_);
}

std::vector<std::uint8_t> QvOutputStream::bytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(size_);
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        const std::size_t used = i + 1 == blocks_.size() ? lastUsed() : blocks_[i].size();
        out.insert(out.end(), blocks_[i].begin(), blocks_[i].begin() + static_cast<std::ptrdiff_t>(used));
    }
    return out;
}

ByteBlocks QvOutputStream::takeBlocks() noexcept {
    if (!blocks_.empty()) blocks_.back().resize(lastUsed());
    ByteBlocks out = std::move(blocks_);
    blocks_.clear();
    cur_ = end_ = nullptr;
    size_ = 0;
    return out;
}

std::vector<std::uint8_t> QvOutputStream::takeBytes() {
    if (blocks_.size() <= 1) {
        ByteBlocks blocks = takeBlocks();
        return blocks.empty() ? std::vector<std::uint8_t>() : std::move(blocks.front());
    }
    std::vector<std::uint8_t> out = bytes();
    takeBlocks();
    return out;
}

} // namespace Quorv
