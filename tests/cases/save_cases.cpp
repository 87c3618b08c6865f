// Saving: to a file (written beside the target, then renamed over it), to a host stream and to
// memory. Every way a save can fail leaves an earlier file of that name as it was.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cases/decks.h"
#include <filesystem>

using namespace Quorv;
using namespace quorv_test;

namespace {

namespace fs = std::filesystem;

// A fresh folder holding an earlier file, deck.ppt, removed after the test.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/quorv_test_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
        std::ofstream(path("deck.ppt"), std::ios::binary) << "earlier file";
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    // The names in the folder, sorted, and what deck.ppt holds.
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    std::string earlier() const {
        std::ifstream in(path("deck.ppt"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string dir_;
};

PPTDocument& slides(PPTDocument& doc, int n) {
    for (int i = 0; i < n; ++i) doc.addSlides(720, 540);
    return doc;
}

struct Failure {
    const char* name;
    std::function<std::string(const std::string& dir)> target; // the file name to save to
    int slides;
    int code;
    const char* systemText; // part of get_SystemError()
};
void PrintTo(const Failure& f, std::ostream* os) { *os << f.name; }

const Failure kFailures[] = {
    {"missing_directory", [](const std::string& d) { return d + "/no/such/dir/deck.ppt"; }, 1, 5,
     "No such file or directory"},
    {"name_of_a_directory", [](const std::string& d) { return d; }, 1, 5, ""},
    {"name_too_long", [](const std::string& d) { return d + "/" + std::string(300, 'n') + ".ppt"; }, 1, 5, "too long"},
    {"file_system_without_new_files", [](const std::string&) { return std::string("/proc/quorv-test.ppt"); }, 1, 5, ""},
    {"empty_name", [](const std::string&) { return std::string(); }, 1, 6, ""},
    // More slides than persist ids: refused before anything is written.
    {"too_many_slides", [](const std::string& d) { return d + "/deck.ppt"; }, 1048573, 12, ""},
};

class FailedSave : public TempDirTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(FailedSave, LeavesTheEarlierFileAsItWas) {
    const Failure& f = GetParam();
    PPTDocument doc;
    slides(doc, f.slides);
    try {
        doc.save(f.target(dir_));
        ADD_FAILURE() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), f.code);
        EXPECT_NE(e.get_SystemError().find(f.systemText), std::string::npos) << e.get_SystemError();
        if (f.code == 5) EXPECT_STREQ(e.what(), "write ole file error   function: outputppt");
    }
    EXPECT_EQ(earlier(), "earlier file");
    EXPECT_EQ(files(), std::vector<std::string>{"deck.ppt"});
}
INSTANTIATE_TEST_SUITE_P(Save, FailedSave, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

class Save : public TempDirTest {};

// The disk fills up after 64 KiB: the limit is set in a child process, so that the test's own
// process keeps writing freely.
TEST_F(Save, AFullDiskLeavesTheEarlierFileAsItWas) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        PPTDocument doc;
        try {
            slides(doc, 400).save(path("deck.ppt")); // about 130 KB
        } catch (const QvException& e) {
            _exit(e.get_Code() == 5 && e.get_SystemError().find("too large") != std::string::npos ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(earlier(), "earlier file");
    EXPECT_EQ(files(), std::vector<std::string>{"deck.ppt"});
}

// A save replaces an earlier file and keeps its permissions; a wide name and a UTF-8 name name
// the same file; the stream and memory forms write a file of the same size (only the save time
// differs). 400 slides: the file takes the document stream as it is written, in several blocks.
TEST_F(Save, FileStreamAndMemoryHoldTheSameFile) {
    PPTDocument doc;
    slides(doc, 400);
    ASSERT_EQ(chmod(path("deck.ppt").c_str(), 0640), 0);
    doc.save(path("deck.ppt"));
    struct stat st {};
    ASSERT_EQ(stat(path("deck.ppt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    doc.save(std::wstring(dir_.begin(), dir_.end()) + L"/d\x00E9" L"ck.ppt");
    EXPECT_EQ(files(), (std::vector<std::string>{"deck.ppt", "d\xC3\xA9""ck.ppt"}));
    std::ifstream in(path("deck.ppt"), std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(describeProblems(verifyPresentationFile(file)), "");
    std::ostringstream out;
    doc.save(out);
    const std::vector<unsigned char> memory = doc.saveToMemory();
    EXPECT_EQ(out.str().size(), file.size());
    EXPECT_EQ(memory.size(), file.size());
    EXPECT_EQ(describeProblems(verifyPresentationFile(Bytes(memory.begin(), memory.end()))), "");

    std::ostringstream failing;
    failing.setstate(std::ios::badbit);
    try {
        doc.save(failing);
        ADD_FAILURE() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), 5);
    }
}

} // namespace
