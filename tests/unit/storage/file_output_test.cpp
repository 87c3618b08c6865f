// AtomicFileSink: the target is replaced whole or not at all, and no temporary file stays.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "storage/file_output.h"

namespace Quorv::storage {
namespace {

namespace fs = std::filesystem;

class AtomicFileSinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorv-sink-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(dir_))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void put(const std::string& file, const std::string& text, mode_t mode) {
        std::ofstream(file, std::ios::binary) << text;
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    }

    fs::path dir_;
};

TEST_F(AtomicFileSinkTest, CommitReplacesTheTargetAndKeepsItsPermissions) {
    const std::string target = path("talk.ppt");
    put(target, "old contents", 0640);
    // Small writes are buffered, a block above the buffer size goes through directly.
    const std::string small(1000, 'a');
    const std::string large(AtomicFileSink::kBufferSize + 12345, 'b');
    {
        AtomicFileSink sink(target);
        EXPECT_EQ(fs::path(sink.temporaryPath()).parent_path(), dir_);
        sink.write(small.data(), small.size());
        sink.write(large.data(), large.size());
        sink.write(small.data(), small.size());
        EXPECT_EQ(read(target), "old contents");
        sink.commit();
        EXPECT_TRUE(sink.committed());
        EXPECT_THROW(sink.write("x", 1), std::logic_error);
    }
    EXPECT_EQ(read(target), small + large + small);
    struct stat info;
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(names(), std::vector<std::string>{"talk.ppt"});
}

TEST_F(AtomicFileSinkTest, CreatesANewFileAndWritesThroughASymbolicLink) {
    {
        AtomicFileSink sink(path("new.ppt"));
        sink.write("new", 3);
        sink.commit();
    }
    EXPECT_EQ(read(path("new.ppt")), "new");
    ASSERT_EQ(::symlink("new.ppt", path("link.ppt").c_str()), 0);
    {
        AtomicFileSink sink(path("link.ppt"));
        sink.write("newer", 5);
        sink.commit();
    }
    EXPECT_TRUE(fs::is_symlink(path("link.ppt")));
    EXPECT_EQ(read(path("new.ppt")), "newer");
    EXPECT_EQ(names(), (std::vector<std::string>{"link.ppt", "new.ppt"}));
}

TEST_F(AtomicFileSinkTest, UncommittedSinkLeavesTheTargetAlone) {
    const std::string target = path("talk.ppt");
    put(target, "old contents", 0644);
    {
        AtomicFileSink sink(target);
        const std::string large(3 * AtomicFileSink::kBufferSize, 'z');
        sink.write(large.data(), large.size());
        sink.write("tail", 4);
    }
    EXPECT_EQ(read(target), "old contents");
    EXPECT_EQ(names(), std::vector<std::string>{"talk.ppt"});
}

TEST_F(AtomicFileSinkTest, FailuresCarryOperationPathAndSystemText) {
    const std::string missing = path("no-such-dir/talk.ppt");
    try {
        AtomicFileSink sink(missing);
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_EQ(e.operation(), "open");
        EXPECT_EQ(fs::path(e.path()).parent_path(), dir_ / "no-such-dir");
        EXPECT_EQ(e.errorNumber(), ENOENT);
        EXPECT_EQ(e.systemMessage(), "No such file or directory");
        EXPECT_EQ(std::string(e.what()), "open " + e.path() + ": No such file or directory");
    }
    fs::create_directory(dir_ / "folder");
    try {
        AtomicFileSink sink(path("folder"));
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_EQ(e.errorNumber(), EISDIR);
        EXPECT_EQ(e.path(), path("folder"));
    }
    EXPECT_EQ(names(), std::vector<std::string>{"folder"});
}

// A full disk, imitated by a file size limit in a child process: write(2) first writes up to
// the limit, then fails with EFBIG. The sink reports that, commit() repeats it, and the target
// and the directory stay as they were.
TEST_F(AtomicFileSinkTest, WriteFailureLeavesTheTargetIntact) {
    const std::string target = path("talk.ppt");
    put(target, "old contents", 0644);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // this child only: EFBIG instead of the signal
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(10);
        int result = 11;
        std::string temporary;
        {
            AtomicFileSink sink(target);
            temporary = sink.temporaryPath();
            sink.write("head", 4);
            const std::vector<char> block(2 * AtomicFileSink::kBufferSize, 'x');
            try {
                sink.write(block.data(), block.size());
            } catch (const FileError& e) {
                result = e.operation() == "write" && e.path() == temporary &&
                                 e.errorNumber() == EFBIG && e.systemMessage() == "File too large"
                             ? 12
                             : 13;
            }
            if (result == 12) {
                try {
                    sink.commit();
                } catch (const FileError& e) {
                    result = e.errorNumber() == EFBIG && !sink.committed() ? 0 : 14;
                }
            }
        }
        if (result == 0 && ::access(temporary.c_str(), F_OK) == 0) result = 15;
        ::_exit(result);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(read(target), "old contents");
    EXPECT_EQ(names(), std::vector<std::string>{"talk.ppt"});
}

} // namespace
} // namespace Quorv::storage
