#include "picture/picture_data.h"

#include "picture/image_codec.h"
#include "picture/metafile.h"

namespace Quorv {
namespace picture {

bool declaresData(int type) noexcept { return type == 1 || type == 2 || type == 3 || type == 5 || type == 6; }

PreparedData prepareData(int declaredType, ByteSource& source) {
    PreparedData out;
    if (!declaresData(declaredType) || source.size() == 0) return out;
    const bool anyImage = declaredType == 1;

    std::uint8_t head[44] = {};
    std::size_t n = source.readAt(0, head, sizeof head);
    switch (imaging::sniffFormat(head, n)) {
    case imaging::ImageFormat::Png:
        if (imaging::isCompletePng(source)) out.kind = BlipKind::Png;
        break;
    case imaging::ImageFormat::Jpeg:
        if (imaging::isWellFormedJpeg(source)) out.kind = BlipKind::Jpeg;
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
