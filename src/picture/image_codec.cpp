#include "picture/image_codec.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <memory>

#include <png.h>
#include <tiffio.h>

// stb_image is compiled into this file only, with its functions static, for the formats the
// library converts; it reads through callbacks, never from files.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#include <stb_image.h>

#include "picture/byte_order.h"

namespace Quorv {
namespace imaging {

namespace {

using picture::le32;

bool startsWith(const std::uint8_t* head, std::size_t size, const char* magic, std::size_t n) noexcept {
    return size >= n && std::memcmp(head, magic, n) == 0;
}

// ---- stb_image through callbacks ---------------------------------------------------------------

// stb_image asks for more bytes only when it needs them, and takes a read that returns nothing
// as bytes of value 0 (it does not fail on a cut file). Such a read is noted as an overrun: the
// image ends before its data do.
struct Cursor {
    picture::ByteSource* source;
    std::uint64_t position;
    bool overrun;
};

int readCallback(void* user, char* data, int size) {
    auto* c = static_cast<Cursor*>(user);
    if (size <= 0) return 0;
    std::size_t n = c->source->readAt(c->position, reinterpret_cast<std::uint8_t*>(data),
                                      static_cast<std::size_t>(size));
    c->position += n;
    if (n == 0) c->overrun = true;
    return static_cast<int>(n);
}

void skipCallback(void* user, int n) {
    auto* c = static_cast<Cursor*>(user);
    if (n >= 0) {
        c->position += static_cast<std::uint64_t>(n);
    } else {
        std::uint64_t back = static_cast<std::uint64_t>(-static_cast<std::int64_t>(n));
        c->position = back > c->position ? 0 : c->position - back;
    }
}

int eofCallback(void* user) {
    auto* c = static_cast<Cursor*>(user);
    return c->position >= c->source->size() ? 1 : 0;
}

const stbi_io_callbacks kCallbacks = {readCallback, skipCallback, eofCallback};

// No format the codec reads packs more than about 8,256 pixels into a byte (deflate's largest
// ratio, 1,032 to 1, with one bit per pixel): an image claiming more pixels than that for its size
// is damaged, and is refused before its pixels are allocated.
bool acceptableSize(std::uint64_t width, std::uint64_t height, std::uint64_t sourceSize) noexcept {
    if (width == 0 || height == 0 || width > INT_MAX || height > INT_MAX) return false;
    const std::uint64_t pixels = width * height;
    return pixels <= kMaxPixels && pixels <= sourceSize * 8256 + (std::uint64_t{1} << 20);
}

bool stbProbe(picture::ByteSource& source, int* width, int* height) {
    Cursor cursor{&source, 0, false};
    int w = 0, h = 0, n = 0;
    if (!stbi_info_from_callbacks(&kCallbacks, &cursor, &w, &h, &n) || cursor.overrun) return false;
    if (!acceptableSize(static_cast<std::uint64_t>(w), static_cast<std::uint64_t>(h), source.size())) return false;
    *width = w;
    *height = h;
    return true;
}

struct StbFree {
    void operator()(stbi_uc* p) const noexcept { stbi_image_free(p); }
};

std::optional<RasterImage> stbLoad(picture::ByteSource& source) {
    int w = 0, h = 0;
    if (!stbProbe(source, &w, &h)) return std::nullopt;
    Cursor cursor{&source, 0, false};
    int n = 0;
    std::unique_ptr<stbi_uc, StbFree> data(stbi_load_from_callbacks(&kCallbacks, &cursor, &w, &h, &n, 0));
    if (!data || cursor.overrun || n < 1 || n > 4 ||
        !acceptableSize(static_cast<std::uint64_t>(w), static_cast<std::uint64_t>(h), source.size())) {
        return std::nullopt;
    }
    std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * static_cast<std::size_t>(n);
    std::vector<std::uint8_t> pixels(data.get(), data.get() + count);
    return RasterImage(w, h, n, std::move(pixels));
}

// ---- libtiff through client procedures -----------------------------------------------------------

struct TiffHandle {
    picture::ByteSource* source;
    std::uint64_t position;
};

tmsize_t tiffRead(thandle_t h, void* buffer, tmsize_t size) {
    auto* t = static_cast<TiffHandle*>(h);
    if (size <= 0) return 0;
    std::size_t n = t->source->readAt(t->position, static_cast<std::uint8_t*>(buffer), static_cast<std::size_t>(size));
    t->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t tiffWrite(thandle_t, void*, tmsize_t) { return 0; }

toff_t tiffSeek(thandle_t h, toff_t offset, int whence) {
    auto* t = static_cast<TiffHandle*>(h);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR) base = t->position;
    else if (whence == SEEK_END) base = t->source->size();
    t->position = base + offset;
    return t->position;
}

int tiffClose(thandle_t) { return 0; }

toff_t tiffSize(thandle_t h) { return static_cast<TiffHandle*>(h)->source->size(); }

int tiffMap(thandle_t, void**, toff_t*) { return 0; }

void tiffUnmap(thandle_t, void*, toff_t) {}

// Messages of libtiff about one file are dropped; the result of the call tells what happened.
int tiffQuiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffOptionsFree {
    void operator()(TIFFOpenOptions* p) const noexcept { TIFFOpenOptionsFree(p); }
};
struct TiffClose {
    void operator()(TIFF* p) const noexcept { TIFFClose(p); }
};

std::unique_ptr<TIFF, TiffClose> tiffOpen(TiffHandle& handle) {
    std::unique_ptr<TIFFOpenOptions, TiffOptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), tiffQuiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), tiffQuiet, nullptr);
    return std::unique_ptr<TIFF, TiffClose>(TIFFClientOpenExt("picture", "rm", &handle, tiffRead, tiffWrite, tiffSeek,
                                                              tiffClose, tiffSize, tiffMap, tiffUnmap, options.get()));
}

bool tiffDimensions(TIFF* tif, const picture::ByteSource& source, std::uint32_t* width, std::uint32_t* height) {
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, height)) return false;
    return acceptableSize(*width, *height, source.size());
}

bool tiffProbe(picture::ByteSource& source) {
    TiffHandle handle{&source, 0};
    auto tif = tiffOpen(handle);
    std::uint32_t w = 0, h = 0;
    return tif && tiffDimensions(tif.get(), source, &w, &h);
}

std::optional<RasterImage> tiffLoad(picture::ByteSource& source) {
    TiffHandle handle{&source, 0};
    auto tif = tiffOpen(handle);
    std::uint32_t w = 0, h = 0;
    if (!tif || !tiffDimensions(tif.get(), source, &w, &h)) return std::nullopt;
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif.get(), message)) return std::nullopt;
    std::size_t count = static_cast<std::size_t>(w) * h;
    std::vector<std::uint32_t> raster(count);
    // Stop at the first damaged strip or tile rather than return an image with holes.
    if (!TIFFReadRGBAImageOriented(tif.get(), w, h, raster.data(), ORIENTATION_TOPLEFT, 1)) return std::nullopt;
    std::vector<std::uint8_t> pixels(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t p = raster[i];
        pixels[4 * i] = static_cast<std::uint8_t>(TIFFGetR(p));
        pixels[4 * i + 1] = static_cast<std::uint8_t>(TIFFGetG(p));
        pixels[4 * i + 2] = static_cast<std::uint8_t>(TIFFGetB(p));
        pixels[4 * i + 3] = static_cast<std::uint8_t>(TIFFGetA(p));
    }
    return RasterImage(static_cast<int>(w), static_cast<int>(h), 4, std::move(pixels));
}

// An alpha channel in which every pixel is opaque is dropped: the PNG gets smaller and shows the
// same pixels.
void dropOpaqueAlpha(int& channels, std::vector<std::uint8_t>& pixels) {
    if (channels != 2 && channels != 4) return;
    const std::size_t step = static_cast<std::size_t>(channels);
    for (std::size_t i = step - 1; i < pixels.size(); i += step) {
        if (pixels[i] != 0xFF) return;
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < pixels.size(); i += step) {
        for (std::size_t k = 0; k + 1 < step; ++k) pixels[out++] = pixels[i + k];
    }
    pixels.resize(out);
    channels -= 1;
}

ImageFormat sniffSource(picture::ByteSource& source) {
    std::uint8_t head[44] = {};
    std::size_t n = source.readAt(0, head, sizeof head);
    return sniffFormat(head, n);
}

} // namespace

bool isCompletePng(picture::ByteSource& source) {
    const std::uint64_t size = source.size();
    std::uint64_t at = 8; // after the signature
    bool first = true;
    bool sawData = false;
    while (at + 12 <= size) {
        std::uint8_t header[8];
        if (source.readAt(at, header, sizeof header) != sizeof header) return false;
        const std::uint32_t length = picture::be32(header);
        if (length > 0x7FFFFFFFu) return false; // the PNG limit on a chunk's length
        const char* type = reinterpret_cast<const char*>(header + 4);
        if (first && (std::memcmp(type, "IHDR", 4) != 0 || length != 13)) return false;
        first = false;
        at += 12 + static_cast<std::uint64_t>(length); // length, type, data, CRC
        if (at > size) return false;
        if (std::memcmp(type, "IDAT", 4) == 0) sawData = true;
        if (std::memcmp(type, "IEND", 4) == 0) return sawData;
    }
    return false;
}

bool isWellFormedJpeg(picture::ByteSource& source) {
    const std::uint64_t size = source.size();
    std::uint8_t b[4];
    if (source.readAt(0, b, 2) != 2 || b[0] != 0xFF || b[1] != 0xD8) return false;
    std::uint64_t at = 2;
    bool sawFrame = false;
    for (;;) {
        // A marker: 0xFF (any number of them), then its code.
        std::uint8_t code = 0xFF;
        if (source.readAt(at, b, 1) != 1 || b[0] != 0xFF) return false;
        while (code == 0xFF) {
            if (source.readAt(++at, &code, 1) != 1) return false;
        }
        ++at;
        if (code == 0x01 || code == 0xD8 || (code >= 0xD0 && code <= 0xD7)) continue; // no segment
        if (code == 0xD9 || code == 0x00) return false; // end of image, or a stuffed byte, before the scan
        if (source.readAt(at, b, 2) != 2) return false;
        const std::uint64_t length = (static_cast<std::uint64_t>(b[0]) << 8) | b[1];
        if (length < 2 || at + length > size) return false;
        if (code == 0xDA) return sawFrame && length >= 8; // start of scan: the header is complete
        const bool frame = code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
        if (frame) {
            if (length < 8) return false;
            sawFrame = true;
        }
        if (code == 0xC4) { // Huffman tables: class and id, 16 code counts, the codes' values
            std::uint64_t t = at + 2;
            while (t < at + length) {
                std::uint8_t counts[17];
                if (t + 17 > at + length || source.readAt(t, counts, 17) != 17) return false;
                unsigned total = 0;
                for (int i = 1; i <= 16; ++i) total += counts[i];
                if (total > 256 || (counts[0] >> 4) > 1 || (counts[0] & 15) > 3) return false;
                t += 17 + total;
            }
            if (t != at + length) return false;
        }
        at += length;
    }
}

ImageFormat sniffFormat(const std::uint8_t* head, std::size_t size) noexcept {
    if (startsWith(head, size, "\x89PNG\r\n\x1A\n", 8)) return ImageFormat::Png;
    if (startsWith(head, size, "\xFF\xD8\xFF", 3)) return ImageFormat::Jpeg;
    if (startsWith(head, size, "\xD7\xCD\xC6\x9A", 4)) return ImageFormat::Wmf;
    if (size >= 44 && le32(head) == 1 && std::memcmp(head + 40, " EMF", 4) == 0) return ImageFormat::Emf;
    if (startsWith(head, size, "GIF87a", 6) || startsWith(head, size, "GIF89a", 6)) return ImageFormat::Gif;
    if (startsWith(head, size, "II*\0", 4) || startsWith(head, size, "MM\0*", 4) ||
        startsWith(head, size, "II+\0", 4) || startsWith(head, size, "MM\0+", 4)) {
        return ImageFormat::Tiff;
    }
    // "BM" alone is too weak a signature; the size of the bitmap header that follows the 14-byte
    // file header must be one of the published ones.
    if (startsWith(head, size, "BM", 2) && size >= 18) {
        std::uint32_t dib = le32(head + 14);
        if (dib == 12 || dib == 40 || dib == 52 || dib == 56 || dib == 64 || dib == 108 || dib == 124) {
            return ImageFormat::Bmp;
        }
    }
    return ImageFormat::Unknown;
}

bool isRasterFormat(ImageFormat format) noexcept {
    switch (format) {
    case ImageFormat::Png:
    case ImageFormat::Jpeg:
    case ImageFormat::Bmp:
    case ImageFormat::Gif:
    case ImageFormat::Tiff:
        return true;
    default:
        return false;
    }
}

RasterImage::RasterImage(int width, int height, int channels, std::vector<std::uint8_t> pixels)
    : width_(width), height_(height), channels_(channels), pixels_(std::move(pixels)) {
    dropOpaqueAlpha(channels_, pixels_);
}

std::optional<RasterImage> RasterImage::load(picture::ByteSource& source) {
    switch (sniffSource(source)) {
    case ImageFormat::Jpeg:
        // stb_image's reader is given only JPEGs whose tables it can hold.
        if (!isWellFormedJpeg(source)) return std::nullopt;
        return stbLoad(source);
    case ImageFormat::Png:
    case ImageFormat::Bmp:
    case ImageFormat::Gif:
        return stbLoad(source);
    case ImageFormat::Tiff:
        return tiffLoad(source);
    default:
        return std::nullopt;
    }
}

bool RasterImage::probe(picture::ByteSource& source) {
    int w = 0, h = 0;
    switch (sniffSource(source)) {
    case ImageFormat::Jpeg:
        return isWellFormedJpeg(source) && stbProbe(source, &w, &h);
    case ImageFormat::Png:
    case ImageFormat::Bmp:
    case ImageFormat::Gif:
        return stbProbe(source, &w, &h);
    case ImageFormat::Tiff:
        return tiffProbe(source);
    default:
        return false;
    }
}

bool RasterImage::writePng(std::vector<std::uint8_t>& out) const {
    static const png_uint_32 kFormats[4] = {PNG_FORMAT_GRAY, PNG_FORMAT_GA, PNG_FORMAT_RGB, PNG_FORMAT_RGBA};
    if (channels_ < 1 || channels_ > 4 || width_ <= 0 || height_ <= 0) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width_);
    image.height = static_cast<png_uint_32>(height_);
    image.format = kFormats[channels_ - 1];

    // Deflate never grows data by more than a few bytes per block; the filter byte of each row
    // and the chunk headers come on top. A buffer this large is enough in one pass, and when it
    // is not, libpng says how much is needed.
    png_alloc_size_t capacity = pixels_.size() + static_cast<std::size_t>(height_) + pixels_.size() / 64 + 4096;
    for (int attempt = 0; attempt < 2; ++attempt) {
        out.resize(capacity);
        png_alloc_size_t written = capacity;
        if (png_image_write_to_memory(&image, out.data(), &written, 0, pixels_.data(), 0, nullptr)) {
            out.resize(written);
            return true;
        }
        png_image_free(&image);
        if (written <= capacity) break; // a failure other than the buffer's size
        capacity = written;
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(width_);
        image.height = static_cast<png_uint_32>(height_);
        image.format = kFormats[channels_ - 1];
    }
    out.clear();
    return false;
}

} // namespace imaging
} // namespace Quorv
