// Writing a file so that it either appears complete and on disk, or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "storage/compound_file.h"

namespace Quorv::storage {

// A failed system call on a file: what() reads "<operation> <path>: <system text>", e.g.
// "open /home/a/.talk.ppt.1f2e3d4c5b6a7988.tmp: No such file or directory".
class FileError : public std::runtime_error {
public:
    // errorNumber is the errno value of the failed call; its text is looked up here.
    FileError(std::string operation, std::string path, int errorNumber);

    const std::string& operation() const noexcept { return details_->operation; }
    const std::string& path() const noexcept { return details_->path; }
    const std::string& systemMessage() const noexcept { return details_->systemMessage; }
    int errorNumber() const noexcept { return errorNumber_; }

private:
    struct Details {
        std::string operation;
        std::string path;
        std::string systemMessage;
    };
    FileError(std::shared_ptr<const Details> details, int errorNumber);

    // Shared, so that copying the exception cannot throw.
    std::shared_ptr<const Details> details_;
    int errorNumber_;
};

// Writes a file atomically and durably (POSIX). The constructor creates a temporary file next
// to the target ("." + the target's name + a random suffix + ".tmp"), with mode 0666 less the
// umask, or with the permission bits of the target when it exists. A target that is a symbolic
// link is written through: the file it points to is replaced and the link stays.
// write() buffers about 1 MiB and passes larger blocks straight to the system; writeAt() goes
// back over what was written (a compound file's header, written last). commit() writes
// what is buffered, syncs the file, renames it over the target and syncs the directory. A sink
// destroyed without a successful commit() closes and removes its temporary file and leaves the
// target as it was; once the rename is done, committed() is true even if syncing the directory
// then fails. Every failed system call throws FileError; after one, write() and commit() throw
// it again; after a commit they throw std::logic_error. One sink belongs to one thread at a
// time; any number of sinks, for the same target or not, may work in parallel.
class AtomicFileSink final : public ByteSink {
public:
    // targetPath is a narrow path (UTF-8 on Linux); it must not name a directory.
    explicit AtomicFileSink(std::string targetPath);
    ~AtomicFileSink() override;
    AtomicFileSink(const AtomicFileSink&) = delete;
    AtomicFileSink& operator=(const AtomicFileSink&) = delete;

    void write(const void* data, std::size_t size) override;
    // Writes over bytes written before (pwrite), after writing what is buffered.
    void writeAt(std::uint64_t offset, const void* data, std::size_t size) override;
    void commit();

    const std::string& targetPath() const noexcept { return target_; }
    const std::string& temporaryPath() const noexcept { return temporary_; }
    bool committed() const noexcept { return committed_; }

    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

private:
    [[noreturn]] void fail(const char* operation, const std::string& path, int errorNumber);
    void flushBuffer();
    void writeAll(const std::uint8_t* data, std::size_t size);

    std::string target_;
    std::string destination_; // target_, or the file a symbolic link target_ points to
    std::string directory_;
    std::string temporary_;
    int fd_ = -1;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0; // bytes handed to the system by write()
    bool committed_ = false;
    std::unique_ptr<FileError> failure_; // the first failure, thrown again by commit()
};

} // namespace Quorv::storage
