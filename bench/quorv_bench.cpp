// Times the standard deck (standard_deck.h) and the floor it is measured against. One
// measurement per process, so that the peak memory is that of the measurement alone:
//   quorv_bench deck N OUT.ppt PICTURE.png [REPEAT]   build and save the deck REPEAT times
//   quorv_bench floor BYTES OUT.bin [REPEAT]          one write + fsync of BYTES bytes
// Prints one JSON object: the median times in seconds, the output size and the peak resident
// memory of the process in bytes. bench/run.sh drives it and prints the table.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "quorv/quorv.h"
#include "standard_deck.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2.0;
}

// The process's peak resident memory (VmHWM). getrusage's ru_maxrss is not used: Linux carries it
// over from the parent across exec, so a small child reports its launcher's peak.
long long statusField(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0) return std::atoll(line.c_str() + length) * 1024;
    }
    return -1;
}

long long peakResident() { return statusField("VmHWM:"); }
long long resident() { return statusField("VmRSS:"); }

long long fileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<long long>(in.tellg()) : -1;
}

int deck(int slides, const std::string& out, const std::string& picture, int repeat) {
    if (!std::ifstream(picture, std::ios::binary)) {
        std::fprintf(stderr, "quorv_bench: cannot read %s\n", picture.c_str());
        return 1;
    }
    std::vector<double> build, save;
    // The memory of the first round: later rounds reuse what the allocator kept.
    long long before = resident(), model = 0, peak = 0;
    for (int r = 0; r < repeat; ++r) {
        ::unlink(out.c_str()); // each round writes a new file, as the floor does
        Quorv::PPTDocument doc;
        auto t0 = Clock::now();
        quorv_bench::buildStandardDeck(doc, slides, picture);
        auto t1 = Clock::now();
        if (r == 0) model = resident() - before;
        doc.save(out);
        auto t2 = Clock::now();
        if (r == 0) peak = peakResident();
        build.push_back(seconds(t0, t1));
        save.push_back(seconds(t1, t2));
    }
    std::printf("{\"slides\": %d, \"build_s\": %.6f, \"save_s\": %.6f, \"bytes\": %lld, \"peak_rss\": %lld, "
                "\"base_rss\": %lld, \"model_rss\": %lld}\n",
                slides, median(build), median(save), fileSize(out), peak, before, model);
    return 0;
}

int floorWrite(long long bytes, const std::string& out, int repeat) {
    std::vector<char> data(static_cast<std::size_t>(bytes), '\x5A');
    std::vector<double> times;
    for (int r = 0; r < repeat; ++r) {
        ::unlink(out.c_str());
        auto t0 = Clock::now();
        int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return 1;
        if (::write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size()) || ::fsync(fd) != 0) return 1;
        ::close(fd);
        auto t1 = Clock::now();
        times.push_back(seconds(t0, t1));
    }
    ::unlink(out.c_str());
    std::printf("{\"bytes\": %lld, \"floor_s\": %.6f, \"peak_rss\": %lld}\n", bytes, median(times), peakResident());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> a(argv + 1, argv + argc);
    if (a.size() >= 4 && a[0] == "deck") {
        return deck(std::atoi(a[1].c_str()), a[2], a[3], a.size() > 4 ? std::atoi(a[4].c_str()) : 1);
    }
    if (a.size() >= 3 && a[0] == "floor") {
        return floorWrite(std::atoll(a[1].c_str()), a[2], a.size() > 3 ? std::atoi(a[3].c_str()) : 1);
    }
    std::fprintf(stderr, "usage: quorv_bench deck N OUT.ppt PICTURE.png [REPEAT]\n"
                         "       quorv_bench floor BYTES OUT.bin [REPEAT]\n");
    return 2;
}
