#include "picture/picture_data.h"

#include <cstring>

#include "picture/image_codec.h"
#include "picture/metafile.h"

namespace Quorv {
namespace picture {

namespace {

std::uint32_t be32(const std::uint8_t* p) noexcept {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

bool declaresData(int type) noexcept { return type == 1 || type == 2 || type == 3 || type == 5 || type == 6; }

} // namespace

bool isCompletePng(ByteSource& source) {
    const std::uint64_t size = source.size();
    std::uint64_t at = 8; // after the signature
    bool first = true;
    bool sawData = false;
    while (at + 12 <= size) {
        std::uint8_t header[8];
        if (source.readAt(at, header, sizeof header) != sizeof header) return false;
        const std::uint32_t length = be32(header);
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

PreparedData prepareData(int declaredType, ByteSource& source) {
    PreparedData out;
    if (!declaresData(declaredType) || source.size() == 0) return out;
    const bool anyImage = declaredType == 1;

    std::uint8_t head[44] = {};
    std::size_t n = source.readAt(0, head, sizeof head);
    switch (imaging::sniffFormat(head, n)) {
    case imaging::ImageFormat::Png:
        if (isCompletePng(source)) out.kind = BlipKind::Png;
        break;
    case imaging::ImageFormat::Jpeg:
        if (!anyImage || imaging::RasterImage::probe(source)) out.kind = BlipKind::Jpeg;
        break;
    case imaging::ImageFormat::Wmf:
        if (isPlaceableWmf(source)) out.kind = BlipKind::Wmf;
        break;
    case imaging::ImageFormat::Emf:
        if (isEnhancedMetafile(source)) out.kind = BlipKind::Emf;
        break;
    case imaging::ImageFormat::Bmp:
    case imaging::ImageFormat::Gif:
    case imaging::ImageFormat::Tiff:
        if (anyImage) {
            std::optional<imaging::RasterImage> image = imaging::RasterImage::load(source);
            auto png = std::make_shared<std::vector<std::uint8_t>>();
            if (image && image->writePng(*png)) {
                out.kind = BlipKind::Png;
                out.converted = std::move(png);
            }
        }
        break;
    case imaging::ImageFormat::Unknown:
        break;
    }
    return out;
}

} // namespace picture
} // namespace Quorv
