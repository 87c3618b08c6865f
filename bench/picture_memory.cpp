// Peak memory of saving a presentation that holds one large picture.
//
//   bench_picture_memory [MEGABYTES [DIRECTORY]]      (defaults: 50, the system's temporary directory)
//
// Writes a well-formed PNG of the given size (chunks of 1 MiB of pseudo-random bytes), then saves
// a one-slide presentation holding it, once with the picture given by file name and once as a
// stream of the host (a file stream, so the host itself holds nothing in memory). Each case runs
// in a child process that resets its peak resident size just before the save (Linux:
// /proc/self/clear_refs) and reports the peak above its size at that moment. Build with
// -DCMAKE_BUILD_TYPE=Release and without sanitizers for meaningful figures. Exit status 1 when a
// peak reaches four times the picture's size.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "quorv/quorv.h"

namespace {

std::uint32_t crc32(const std::uint8_t* p, std::size_t n, std::uint32_t c = 0xFFFFFFFFu) {
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c;
}

void putBig32(std::ofstream& out, std::uint32_t v) {
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
    out.write(b, 4);
}

void writeChunk(std::ofstream& out, const char* type, const std::vector<std::uint8_t>& data) {
    putBig32(out, static_cast<std::uint32_t>(data.size()));
    out.write(type, 4);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    std::uint32_t c = crc32(reinterpret_cast<const std::uint8_t*>(type), 4);
    putBig32(out, ~crc32(data.data(), data.size(), c));
}

// A PNG of exactly `size` bytes whose image data are pseudo-random (they are not decoded).
void writeLargePng(const std::string& path, std::uint64_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write("\x89PNG\r\n\x1A\n", 8);
    writeChunk(out, "IHDR", {0, 0, 4, 0, 0, 0, 4, 0, 8, 2, 0, 0, 0});
    std::uint64_t left = size - 8 - 25 - 12;
    std::uint32_t state = 12345;
    std::vector<std::uint8_t> block;
    while (left > 0) {
        std::uint64_t n = left - 12 > (1u << 20) ? (1u << 20) : left - 12;
        if (left - 12 - n > 0 && left - 12 - n < 12) n -= 12; // leave room for a whole chunk
        block.resize(static_cast<std::size_t>(n));
        for (auto& b : block) {
            state = state * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(state >> 24);
        }
        writeChunk(out, "IDAT", block);
        left -= 12 + n;
    }
    writeChunk(out, "IEND", {});
}

long statusKib(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    }
    return -1;
}

bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

// Runs in the child: saves the presentation and prints the figures.
int runCase(const char* name, const std::string& picture, const std::string& output, bool asStream,
            std::uint64_t size) {
    std::ifstream hostStream;
    Quorv::PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    Quorv::PPTPtr<Quorv::PPTPicture> p(new Quorv::PPTPicture(10, 10, 400, 300));
    if (asStream) {
        hostStream.open(picture, std::ios::binary);
        p->setFileStream(Quorv::PPTPicture::IMAGE_PNG, hostStream);
    } else {
        p->setFileName(Quorv::PPTPicture::IMAGE_PNG, picture);
    }
    p->set_PicId(1);
    doc.addSlides(720, 540)->addShape(p);

    const bool reset = resetPeak();
    const long base = statusKib("VmRSS");
    auto start = std::chrono::steady_clock::now();
    doc.save(output);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long peak = statusKib("VmHWM");
    const double above = static_cast<double>(peak - base) / 1024.0;
    const double ratio = above * 1024.0 * 1024.0 / static_cast<double>(size);
    std::printf("%-12s save %.2f s, resident before %.1f MiB, peak %.1f MiB, peak above before %.1f MiB = %.2f x the picture%s\n",
                name, seconds, static_cast<double>(base) / 1024.0, static_cast<double>(peak) / 1024.0, above, ratio,
                reset ? "" : " (peak not reset: includes the set-up)");
    std::fflush(stdout); // the child ends with _exit, which does not flush
    std::remove(output.c_str());
    return ratio < 4.0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 50;
    const std::string dir = argc > 2 ? argv[2] : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    const std::uint64_t size = megabytes * 1000 * 1000;
    const std::string picture = dir + "/quorv-bench-picture.png";
    const std::string output = dir + "/quorv-bench-picture.ppt";
    writeLargePng(picture, size);
    std::printf("picture: %s, %llu bytes\n", picture.c_str(), static_cast<unsigned long long>(size));

    int status = 0;
    const struct {
        const char* name;
        bool asStream;
    } cases[] = {{"file name", false}, {"host stream", true}};
    for (const auto& c : cases) {
        std::fflush(stdout);
        pid_t child = fork();
        if (child == 0) _exit(runCase(c.name, picture, output, c.asStream, size));
        int result = 0;
        if (child < 0 || waitpid(child, &result, 0) < 0 || !WIFEXITED(result) || WEXITSTATUS(result) != 0) status = 1;
    }
    std::remove(picture.c_str());
    return status;
}
