#include "quorv/input_stream.h"

#include <climits>
#include <fstream>
#include <streambuf>

namespace Quorv {

namespace {

// A read-only stream buffer over a block of memory that the caller keeps alive.
class MemoryBuffer : public std::streambuf {
public:
    MemoryBuffer(unsigned char* data, int length) {
        char* begin = reinterpret_cast<char*>(data);
        std::size_t n = (data != nullptr && length > 0) ? static_cast<std::size_t>(length) : 0;
        setg(begin, begin, begin + n);
    }

protected:
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override {
        if (!(which & std::ios_base::in)) return pos_type(off_type(-1));
        off_type base = 0;
        if (dir == std::ios_base::cur) base = gptr() - eback();
        else if (dir == std::ios_base::end) base = egptr() - eback();
        off_type target = base + off;
        if (target < 0 || target > egptr() - eback()) return pos_type(off_type(-1));
        setg(eback(), eback() + target, egptr());
        return pos_type(target);
    }
    pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
        return seekoff(off_type(pos), std::ios_base::beg, which);
    }
};

} // namespace

struct QvInputStream::Owned {
    std::unique_ptr<std::streambuf> buffer;
    std::unique_ptr<std::istream> stream;
};

QvInputStream::QvInputStream() noexcept : stream_(nullptr), valid_(false) {}

QvInputStream::QvInputStream(std::istream& stream) noexcept : stream_(&stream), valid_(true) {}

QvInputStream::QvInputStream(unsigned char* data, int length)
    : owned_(std::make_shared<Owned>()), stream_(nullptr), valid_(true) {
    owned_->buffer = std::make_unique<MemoryBuffer>(data, length);
    owned_->stream = std::make_unique<std::istream>(owned_->buffer.get());
    stream_ = owned_->stream.get();
}

QvInputStream::QvInputStream(const std::string& fileName)
    : owned_(std::make_shared<Owned>()), stream_(nullptr), valid_(true) {
    owned_->stream = std::make_unique<std::ifstream>(fileName, std::ios::in | std::ios::binary);
    stream_ = owned_->stream.get();
}

QvInputStream::QvInputStream(const QvInputStream&) = default;
QvInputStream& QvInputStream::operator=(const QvInputStream&) = default;
QvInputStream::~QvInputStream() = default;

int QvInputStream::read() {
    if (!stream_) return -1;
    std::istream::int_type c = stream_->get();
    if (c == std::istream::traits_type::eof()) return -1;
    return static_cast<int>(static_cast<unsigned char>(std::istream::traits_type::to_char_type(c)));
}

int QvInputStream::read(char* buffer, int offset, int count) {
    if (!stream_ || buffer == nullptr || count <= 0 || offset < 0) return 0;
    stream_->read(buffer + offset, count);
    return static_cast<int>(stream_->gcount());
}

int QvInputStream::skip(int count) {
    if (!stream_) return 1;
    if (count > 0) stream_->ignore(count);
    return stream_->good() ? 0 : 1;
}

int QvInputStream::seek(int offset, int origin) {
    std::ios_base::seekdir dir;
    switch (origin) {
    case 0: dir = std::ios_base::beg; break;
    case 1: dir = std::ios_base::cur; break;
    case 2: dir = std::ios_base::end; break;
    default: return 1;
    }
    if (!stream_) return 0;
    stream_->clear(); // an end-of-file (and the failed read that found it) is forgotten
    stream_->seekg(offset, dir);
    return 0;
}

int QvInputStream::size() {
    if (!stream_) return 0;
    std::istream::pos_type p = stream_->tellg();
    if (p == std::istream::pos_type(-1) && stream_->good()) return 0;
    stream_->seekg(0, std::ios_base::end);
    std::streamoff end = static_cast<std::streamoff>(stream_->tellg());
    if (p != std::istream::pos_type(-1)) stream_->seekg(p);
    if (end < 0) return -1;
    // Sizes an int cannot hold are reported as a failure rather than wrapped around.
    if (end > INT_MAX) return -1;
    return static_cast<int>(end);
}

void QvInputStream::close() {
    if (!owned_) return;
    if (auto* file = dynamic_cast<std::ifstream*>(owned_->stream.get())) {
        file->close(); // sets the fail state itself when closing fails
    }
}

} // namespace Quorv
