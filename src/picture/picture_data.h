// What a picture's bytes are, checked against the kind the host declared.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "picture/blip_records.h"
#include "picture/byte_source.h"

namespace Quorv {
namespace picture {

struct PreparedData {
    BlipKind kind = BlipKind::None;
    // A PNG made from an image of another raster format; null when the bytes go in as they are.
    std::shared_ptr<const std::vector<std::uint8_t>> converted;
};

// Whether a declared type (PPTPicture::ImageType) asks for a picture record at all: 1, 2, 3, 5, 6.
bool declaresData(int declaredType) noexcept;

// Decides what record a picture gets from the type the host declared (PPTPicture::ImageType) and
// the bytes themselves. Bytes are never written under a kind they are not:
// - types 0, 4 and unknown types: no record;
// - types 2, 3, 5 and 6: bytes that are a complete PNG, a JPEG with a well-formed header, a
//   placeable WMF or an EMF are stored as what they are, whatever was declared; anything else
//   gives no record;
// - type 1: the same four kinds are stored as they are; BMP, GIF and TIFF images are decoded and
//   stored as a PNG of the same pixels; bytes that do not decode give no record.
PreparedData prepareData(int declaredType, ByteSource& source);

} // namespace picture
} // namespace Quorv
