#include "picture/metafile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include <zlib.h>

#include "picture/byte_order.h"

namespace Quorv {
namespace picture {

namespace {

std::int32_t asSigned(std::uint32_t v) noexcept {
    return v <= 0x7FFFFFFFu ? static_cast<std::int32_t>(v)
                            : static_cast<std::int32_t>(static_cast<std::int64_t>(v) - 0x100000000LL);
}

std::int32_t span(std::int32_t from, std::int32_t to) noexcept {
    std::int64_t d = static_cast<std::int64_t>(to) - from;
    if (d < 0) d = -d;
    return static_cast<std::int32_t>(std::min<std::int64_t>(d, std::numeric_limits<std::int32_t>::max()));
}

// Ends a deflate stream whatever happens.
class Deflater {
public:
    Deflater() {
        std::memset(&z_, 0, sizeof z_);
        int rc = deflateInit(&z_, 9);
        if (rc == Z_MEM_ERROR) throw std::bad_alloc();
        if (rc != Z_OK) throw std::runtime_error("deflateInit failed");
    }
    ~Deflater() { deflateEnd(&z_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    z_stream& stream() noexcept { return z_; }

private:
    z_stream z_;
};

} // namespace

bool isPlaceableWmf(ByteSource& source) {
    std::uint8_t head[kPlaceableHeaderSize + 18];
    if (source.size() < sizeof head || source.readAt(0, head, sizeof head) != sizeof head) return false;
    if (le32(head) != 0x9AC6CDD7u) return false;
    const std::uint8_t* meta = head + kPlaceableHeaderSize;
    std::uint16_t type = le16(meta);
    std::uint16_t headerWords = le16(meta + 2);
    return (type == 1 || type == 2) && headerWords == 9;
}

bool isEnhancedMetafile(ByteSource& source) {
    std::uint8_t head[kEmfHeaderSize];
    if (source.size() < sizeof head || source.readAt(0, head, sizeof head) != sizeof head) return false;
    std::uint32_t recordSize = le32(head + 4);
    return le32(head) == 1 && recordSize >= kEmfHeaderSize && recordSize <= source.size() &&
           std::memcmp(head + 40, " EMF", 4) == 0;
}

MetafileSize enhancedMetafileSize(ByteSource& source) {
    std::uint8_t bounds[16] = {};
    source.readAt(8, bounds, sizeof bounds);
    std::int32_t left = asSigned(le32(bounds));
    std::int32_t top = asSigned(le32(bounds + 4));
    std::int32_t right = asSigned(le32(bounds + 8));
    std::int32_t bottom = asSigned(le32(bounds + 12));
    return MetafileSize{span(left, right), span(top, bottom)};
}

std::vector<std::uint8_t> deflateRange(ByteSource& source, std::uint64_t offset, bool& complete) {
    complete = true;
    Deflater deflater;
    z_stream& z = deflater.stream();
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> in(std::min<std::uint64_t>(kBlockSize, std::max<std::uint64_t>(source.size(), 1)));
    std::vector<std::uint8_t> chunk(std::size_t{1} << 16);
    const std::uint64_t end = source.size();
    std::uint64_t at = std::min(offset, end);
    int flush = Z_NO_FLUSH;
    do {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), end - at));
        std::size_t got = want ? source.readAt(at, in.data(), want) : 0;
        if (got < want) complete = false;
        at += got;
        flush = (got < want || at >= end) ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(got);
        do {
            z.next_out = chunk.data();
            z.avail_out = static_cast<uInt>(chunk.size());
            int rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR) throw std::runtime_error("deflate failed");
            out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - z.avail_out));
        } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
    return out;
}

} // namespace picture
} // namespace Quorv
