// The image loader: tells what kind of image some bytes are, decodes raster images and writes
// them as PNG. Built on stb_image (PNG, JPEG, BMP, GIF), libtiff (TIFF) and libpng (writing).
// Nothing else of the library sees those libraries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "picture/byte_source.h"

namespace Quorv {
namespace imaging {

enum class ImageFormat { Unknown, Png, Jpeg, Wmf, Emf, Bmp, Gif, Tiff };

// The format announced by the first bytes of a file (its signature). Looks at up to 44 bytes;
// a placeable WMF needs 4, an EMF 44.
ImageFormat sniffFormat(const std::uint8_t* head, std::size_t size) noexcept;

// A PNG signature followed by chunks that all lie within the data, IHDR first, at least one
// IDAT, up to IEND. Reads only the chunk headers.
bool isCompletePng(picture::ByteSource& source);

// A JPEG start-of-image marker followed by well-formed marker segments up to the start of scan:
// each within the data, a frame header among them, Huffman tables of at most 256 codes. Reads
// only the segments' headers and the tables' code counts.
bool isWellFormedJpeg(picture::ByteSource& source);

// Whether the codec can decode images of a format.
bool isRasterFormat(ImageFormat format) noexcept;

// Images with more pixels than this are not decoded (the pixels alone would take 1 GiB), nor
// images that claim far more pixels than their file's size can hold.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

// A decoded raster image: rows top to bottom, 8 bits per sample, 1 (grey), 2 (grey and alpha),
// 3 (RGB) or 4 (RGBA) samples per pixel.
class RasterImage {
public:
    // Decodes a PNG, JPEG, BMP, GIF (its first frame) or TIFF (its first page). Nothing when the
    // bytes are not an image of those kinds, are damaged, or have more than kMaxPixels pixels.
    static std::optional<RasterImage> load(picture::ByteSource& source);
    // Reads only as far as the image's size: true when load() would find a header it accepts.
    static bool probe(picture::ByteSource& source);

    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    int channels() const noexcept { return channels_; }
    const std::vector<std::uint8_t>& pixels() const noexcept { return pixels_; }

    // The image as a PNG file of the same pixels; false when encoding fails.
    bool writePng(std::vector<std::uint8_t>& out) const;

    RasterImage(int width, int height, int channels, std::vector<std::uint8_t> pixels);

private:
    int width_;
    int height_;
    int channels_;
    std::vector<std::uint8_t> pixels_;
};

} // namespace imaging
} // namespace Quorv
