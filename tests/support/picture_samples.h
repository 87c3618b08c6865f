// Picture inputs for tests: the samples of tests/data/pictures (16 x 12 pixels) and
// PNG files of any size made on the spot.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <zlib.h>

namespace quorv_test {

inline std::string picturePath(const std::string& name) { return std::string(QUORV_TEST_DATA_DIR) + "/pictures/" + name; }

inline std::vector<std::uint8_t> pictureBytes(const std::string& name) {
    std::ifstream in(picturePath(name), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string asString(const std::vector<std::uint8_t>& b) { return std::string(b.begin(), b.end()); }

// The RGB colour of pixel (x, y) of the 16 x 12 raster samples.
struct Rgb {
    std::uint8_t r, g, b;
};
inline Rgb samplePixel(int x, int y) {
    return Rgb{static_cast<std::uint8_t>((x * 16 + 8) % 256), static_cast<std::uint8_t>((y * 21 + 4) % 256),
               static_cast<std::uint8_t>((x / 4 + y / 3) % 2 ? 255 : 40)};
}

inline void appendBigEndian(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void appendChunk(std::vector<std::uint8_t>& b, const char* type, const std::vector<std::uint8_t>& data) {
    appendBigEndian(b, static_cast<std::uint32_t>(data.size()));
    std::size_t start = b.size();
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data.begin(), data.end());
    appendBigEndian(b, static_cast<std::uint32_t>(crc32(0, b.data() + start, static_cast<uInt>(b.size() - start))));
}

// A well-formed PNG of exactly `size` bytes (at least 57): signature, IHDR of a 1 x 1 image,
// one IDAT chunk padded to the size, IEND. Only its chunk structure is meaningful.
inline std::vector<std::uint8_t> pngOfSize(std::size_t size) {
    std::vector<std::uint8_t> b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    appendChunk(b, "IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0});
    std::vector<std::uint8_t> data(size - b.size() - 12 - 12, 0x5A);
    appendChunk(b, "IDAT", data);
    appendChunk(b, "IEND", {});
    return b;
}

} // namespace quorv_test
