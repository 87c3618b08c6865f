#include "core/output_stream.h"

#include <cstring>

namespace Quorv {

QvOutputStream::QvOutputStream(int sizeHint) {
    buf_.reserve(sizeHint > 0 ? static_cast<std::size_t>(sizeHint) : 8192u);
}

QvOutputStream QvOutputStream::counter() { return QvOutputStream(CountingTag{}); }

QvOutputStream QvOutputStream::counter(const QvOutputStream& like) {
    QvOutputStream c{CountingTag{}};
    c.context_ = like.context_;
    return c;
}

void QvOutputStream::writeBytes(const void* data, std::size_t start, std::size_t count) {
    if (count == 0) return;
    if (counting_) {
        count_ += count;
        return;
    }
    const auto* p = static_cast<const std::uint8_t*>(data) + start;
    buf_.insert(buf_.end(), p, p + count);
}

void QvOutputStream::writeZeros(std::size_t count) {
    if (counting_) {
        count_ += count;
        return;
    }
    buf_.resize(buf_.size() + count, 0);
}

} // namespace Quorv
