// A test fixture with a fresh folder of its own, removed with what is in it after the test.
#pragma once

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace quorv_test {

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/quorv_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        for (const std::string& f : files()) std::remove(path(f).c_str());
        rmdir(dir_.c_str());
    }
    // The names in the folder, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        if (DIR* d = opendir(dir_.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") out.push_back(n);
            }
            closedir(d);
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    std::string dir_;
};

} // namespace quorv_test
