// QvInputStream: the byte source from which the library reads picture data.
#pragma once

#include <istream>
#include <memory>
#include <string>

#include "quorv/export.h"

namespace Quorv {

// Wraps a host's std::istream (which must outlive this object), a block of memory (not copied;
// it must outlive this object) or a file opened by name. No operation throws: failures show as
// short reads, a result of 1 from skip or seek, or a size of 0 or -1.
// Copies share the stream they read from; a stream this object opened is closed when the last
// copy is gone.
class QUORV_EXPORT QvInputStream {
public:
    QvInputStream() noexcept;
    explicit QvInputStream(std::istream& stream) noexcept;
    QvInputStream(unsigned char* data, int length);
    // Opens the file (a narrow path, UTF-8 on POSIX systems) for reading in binary mode. The
    // object is valid whether or not the file could be opened; a missing file has size -1.
    explicit QvInputStream(const std::string& fileName);
    QvInputStream(const QvInputStream&);
    QvInputStream& operator=(const QvInputStream&);
    ~QvInputStream();

    // The next byte (0 to 255), or -1 at the end or on failure.
    int read();
    // Reads up to count bytes into buffer[offset...]; returns the number read.
    int read(char* buffer, int offset, int count);
    // Moves the read position count bytes forward; 0 if the stream is still good, 1 otherwise.
    int skip(int count);
    // Clears an end-of-file state and moves to offset from the start (origin 0), the current
    // position (1) or the end (2); returns 0, or 1 for any other origin.
    int seek(int offset, int origin);
    // The stream's length in bytes, 0 when it has no position, -1 when it failed.
    int size();
    bool isValid() const noexcept { return valid_; }
    // Closes a file opened by name; sets the fail state when closing fails.
    void close();
    std::istream* get_istrm() const noexcept { return stream_; }

private:
    struct Owned;
    std::shared_ptr<Owned> owned_; // the stream and buffer this object created, if any
    std::istream* stream_;
    bool valid_;
};

} // namespace Quorv
