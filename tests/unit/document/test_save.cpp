// Saving to a file: the compound file's streams, errors, and what a failed save leaves behind.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "support/verifier.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

class SaveTest : public TempDirTest {};

Bytes readFile(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

PPTDocument twoSlides() {
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    doc.addSlides(720, 540);
    doc.addSlides(720, 540);
    return doc;
}

} // namespace

TEST_F(SaveTest, WritesACompoundFileWithTheStreams) {
    PPTDocument doc = twoSlides();
    const std::string narrow = path("deck.ppt");
    doc.save(std::wstring(narrow.begin(), narrow.end()));
    Bytes file = readFile(path("deck.ppt"));
    ASSERT_GE(file.size(), 512u);
    EXPECT_TRUE(sameBytes(hex("D0 CF 11 E0 A1 B1 1A E1"), slice(file, 0, 8)));
    EXPECT_EQ(file.size() % 512, 0u);
    EXPECT_EQ(describeProblems(verifyPresentationFile(file)), "");
    EXPECT_EQ(files(), std::vector<std::string>{"deck.ppt"});
}

TEST_F(SaveTest, EmptyFileNameThrowsCodeSix) {
    PPTDocument doc = twoSlides();
    try {
        doc.save(std::wstring());
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), 6);
        EXPECT_STREQ(e.what(), "");
    }
    EXPECT_THROW(doc.save(std::string()), QvException);
    EXPECT_TRUE(files().empty());
}

TEST_F(SaveTest, MissingDirectoryThrowsCodeFiveWithTheSystemText) {
    PPTDocument doc = twoSlides();
    try {
        doc.save(path("no/such/dir/deck.ppt"));
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), 5);
        EXPECT_STREQ(e.what(), "write ole file error   function: outputppt");
        EXPECT_NE(e.get_SystemError().find("No such file or directory"), std::string::npos) << e.get_SystemError();
    }
    EXPECT_TRUE(files().empty());
}

TEST_F(SaveTest, AFailedSaveLeavesAnExistingFileIntact) {
    {
        std::ofstream f(path("deck.ppt"), std::ios::binary);
        f << "earlier file";
    }
    PPTDocument doc = twoSlides();
    // The name of a directory cannot be replaced by a file.
    ASSERT_EQ(mkdir(path("dir.ppt").c_str(), 0755), 0);
    EXPECT_THROW(doc.save(path("dir.ppt")), QvException);
    rmdir(path("dir.ppt").c_str());
    // A document the format cannot hold fails before anything is written.
    PPTDocument big;
    for (int i = 0; i < 1048573; ++i) big.addSlides(1, 1);
    try {
        big.save(path("deck.ppt"));
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), 12);
    }
    EXPECT_EQ(readFile(path("deck.ppt")), Bytes({'e', 'a', 'r', 'l', 'i', 'e', 'r', ' ', 'f', 'i', 'l', 'e'}));
    EXPECT_EQ(files(), std::vector<std::string>{"deck.ppt"});
}

TEST_F(SaveTest, SavingReplacesAnEarlierFile) {
    {
        std::ofstream f(path("deck.ppt"), std::ios::binary);
        f << "earlier file";
    }
    PPTDocument doc = twoSlides();
    doc.save(path("deck.ppt"));
    EXPECT_GT(readFile(path("deck.ppt")).size(), 512u);
    EXPECT_EQ(files(), std::vector<std::string>{"deck.ppt"});
}

TEST_F(SaveTest, TwoDocumentsSaveOnTwoThreads) {
    auto work = [this](const std::string& name, int slides) {
        PPTDocument doc;
        PPTProperties props;
        props.set_Title(L"\x65E5\x672C " + std::to_wstring(slides));
        doc.setProperties(&props, false);
        for (int i = 0; i < slides; ++i) doc.addSlides(720, 540);
        for (int k = 0; k < 20; ++k) doc.save(path(name));
    };
    std::thread a(work, "a.ppt", 3);
    std::thread b(work, "b.ppt", 5);
    a.join();
    b.join();
    EXPECT_EQ(files().size(), 2u);
    EXPECT_EQ(describeProblems(verifyPresentationPath(path("a.ppt"))), "");
    EXPECT_EQ(describeProblems(verifyPresentationPath(path("b.ppt"))), "");
}

TEST(SaveToMemory, StreamsAndMemoryHoldTheBytesOfTheFile) {
    PPTDocument doc = twoSlides();
    std::vector<unsigned char> memory = doc.saveToMemory();
    EXPECT_EQ(describeProblems(verifyPresentationFile(memory)), "");
    std::ostringstream out;
    doc.save(out);
    std::string s = out.str();
    EXPECT_EQ(s.size(), memory.size());
    // Only the save time differs between two saves.
    Bytes fromStream(s.begin(), s.end());
    EXPECT_EQ(describeProblems(verifyPresentationFile(fromStream)), "");
    EXPECT_EQ(Quorv::detail::DocumentWriter::saveToBytes(doc, fixedContext()),
              Quorv::detail::DocumentWriter::saveToBytes(doc, fixedContext()));
}

TEST(SaveToMemory, AFailingStreamThrowsCodeFive) {
    PPTDocument doc = twoSlides();
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    try {
        doc.save(out);
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), 5);
        EXPECT_STREQ(e.what(), "write ole file error   function: outputppt");
        EXPECT_FALSE(e.get_SystemError().empty());
    }
}
