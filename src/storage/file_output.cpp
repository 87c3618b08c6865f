#include "storage/file_output.h"

#ifdef _WIN32
#error "storage/file_output.cpp: AtomicFileSink is written for POSIX systems only so far"
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/random.h>
#endif

namespace Quorv::storage {

namespace {

// strerror_r is the XSI one (returns int) or the GNU one (returns the text, which need not be
// in the buffer) depending on the feature macros; these overloads accept either.
[[maybe_unused]] const char* strerrorText(int result, const char* buffer) {
    return result == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char* strerrorText(const char* result, const char*) { return result; }

std::string systemText(int errorNumber) {
    char buffer[256];
    buffer[0] = '\0';
    const char* text = strerrorText(strerror_r(errorNumber, buffer, sizeof buffer), buffer);
    if (text == nullptr || *text == '\0') return "Unknown error " + std::to_string(errorNumber);
    return text;
}

std::uint64_t mix(std::uint64_t x) {
    // The splitmix64 finaliser.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t randomSuffix(const void* salt, unsigned attempt) {
    std::uint64_t value = 0;
#ifdef __linux__
    if (::getrandom(&value, sizeof value, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof value))
        return value;
#endif
    // No random source: time, process, object address and attempt differ between callers.
    value = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    value ^= mix(static_cast<std::uint64_t>(::getpid()) << 32 | attempt);
    value ^= mix(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(salt)));
    return mix(value);
}

std::string hex16(std::uint64_t value) {
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (std::size_t i = 16; i-- > 0; value >>= 4) text[i] = digits[value & 15];
    return text;
}

// Shortens a file name to at most maxBytes without cutting a UTF-8 sequence in two.
std::string shortened(const std::string& name, std::size_t maxBytes) {
    if (name.size() <= maxBytes) return name;
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

} // namespace

FileError::FileError(std::string operation, std::string path, int errorNumber)
    : FileError(std::make_shared<const Details>(
                    Details{std::move(operation), std::move(path), systemText(errorNumber)}),
                errorNumber) {}

FileError::FileError(std::shared_ptr<const Details> details, int errorNumber)
    : std::runtime_error(details->operation + " " + details->path + ": " + details->systemMessage),
      details_(std::move(details)), errorNumber_(errorNumber) {}

AtomicFileSink::AtomicFileSink(std::string targetPath)
    : target_(std::move(targetPath)), buffer_(new std::uint8_t[kBufferSize]) {
    destination_ = target_;
    struct stat info;
    if (::lstat(target_.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* resolved = ::realpath(target_.c_str(), nullptr)) {
            destination_ = resolved;
            std::free(resolved);
        }
    }

    const std::size_t slash = destination_.rfind('/');
    const std::string prefix = slash == std::string::npos ? "" : destination_.substr(0, slash + 1);
    const std::string name =
        slash == std::string::npos ? destination_ : destination_.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        throw FileError("open", target_, target_.empty() ? ENOENT : EISDIR);
    directory_ = prefix.empty() ? "." : prefix;

    bool keepMode = false;
    mode_t mode = 0;
    if (::stat(destination_.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) throw FileError("open", target_, EISDIR);
        if (!S_ISREG(info.st_mode)) throw FileError("open", target_, EINVAL);
        keepMode = true;
        mode = info.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);
    }

    // NAME_MAX is 255 bytes on the usual file systems; the suffix takes 22.
    const std::string stem = prefix + "." + shortened(name, 200) + ".";
    for (unsigned attempt = 0;; ++attempt) {
        temporary_ = stem + hex16(randomSuffix(this, attempt)) + ".tmp";
        // With a target, its own bits (less the umask until fchmod), so the file is never
        // readable by more users than the target is.
        fd_ = ::open(temporary_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC,
                     keepMode ? mode : 0666);
        if (fd_ >= 0) break;
        const int error = errno;
        if ((error == EEXIST || error == EINTR) && attempt < 100) continue;
        throw FileError("open", temporary_, error);
    }

    if (keepMode && ::fchmod(fd_, mode) != 0) {
        const int error = errno;
        // File systems without Unix permissions refuse; the file then has their default mode.
        if (error != EPERM && error != ENOTSUP && error != EOPNOTSUPP) {
            ::close(fd_);
            ::unlink(temporary_.c_str());
            throw FileError("fchmod", temporary_, error);
        }
    }
}

AtomicFileSink::~AtomicFileSink() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temporary_.c_str());
}

void AtomicFileSink::fail(const char* operation, const std::string& path, int errorNumber) {
    failure_ = std::make_unique<FileError>(operation, path, errorNumber);
    throw *failure_;
}

void AtomicFileSink::writeAll(const std::uint8_t* data, std::size_t size) {
    const std::uint64_t start = written_;
    while (size > 0) {
        const std::size_t chunk = std::min<std::size_t>(size, std::size_t{1} << 30);
        const ssize_t done = ::write(fd_, data, chunk);
        if (done < 0) {
            const int error = errno;
            if (error == EINTR) continue;
            fail("write", temporary_, error);
        }
        if (done == 0) fail("write", temporary_, EIO); // no progress and no error code
        data += done;
        size -= static_cast<std::size_t>(done);
        written_ += static_cast<std::uint64_t>(done);
    }
#ifdef __linux__
    // Ask the system to start writing what it has back to the disk now, while the save goes on
    // producing the rest: the fsync of commit() then has less left to wait for. Only a hint; its
    // failure changes nothing, since commit() syncs the whole file anyway.
    if (written_ - start >= kBufferSize) {
        ::sync_file_range(fd_, static_cast<off_t>(start), static_cast<off_t>(written_ - start), SYNC_FILE_RANGE_WRITE);
    }
#endif
}

void AtomicFileSink::flushBuffer() {
    const std::size_t size = used_;
    used_ = 0;
    writeAll(buffer_.get(), size);
}

void AtomicFileSink::write(const void* data, std::size_t size) {
    if (committed_) throw std::logic_error("AtomicFileSink::write after commit");
    if (failure_) throw *failure_;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (size >= kBufferSize) {
        flushBuffer();
        writeAll(bytes, size);
        return;
    }
    if (size > kBufferSize - used_) flushBuffer();
    if (size > 0) std::memcpy(buffer_.get() + used_, bytes, size);
    used_ += size;
}

void AtomicFileSink::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
    if (committed_) throw std::logic_error("AtomicFileSink::writeAt after commit");
    if (failure_) throw *failure_;
    flushBuffer();
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t done = ::pwrite(fd_, bytes, size, static_cast<off_t>(offset));
        if (done < 0) {
            const int error = errno;
            if (error == EINTR) continue;
            fail("write", temporary_, error);
        }
        if (done == 0) fail("write", temporary_, EIO);
        bytes += done;
        offset += static_cast<std::uint64_t>(done);
        size -= static_cast<std::size_t>(done);
    }
}

void AtomicFileSink::commit() {
    if (committed_) throw std::logic_error("AtomicFileSink::commit called twice");
    if (failure_) throw *failure_;
    flushBuffer();
    while (::fsync(fd_) != 0) {
        const int error = errno;
        if (error != EINTR) fail("fsync", temporary_, error);
    }
    const int fd = fd_;
    fd_ = -1;
    // After close() the descriptor is gone whatever the result; EINTR does not mean failure.
    if (::close(fd) != 0) {
        const int error = errno;
        if (error != EINTR) fail("close", temporary_, error);
    }
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        const int error = errno;
        fail("rename", destination_, error);
    }
    committed_ = true;

    const int dir = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        const int error = errno;
        throw FileError("open", directory_, error);
    }
    while (::fsync(dir) != 0) {
        const int error = errno;
        if (error == EINTR) continue;
        // Some file systems cannot sync a directory (EINVAL); the rename stands regardless.
        if (error == EINVAL) break;
        ::close(dir);
        throw FileError("fsync", directory_, error);
    }
    ::close(dir);
}

} // namespace Quorv::storage
