// The picture shape in a slide's drawing: a picture frame that refers to its store entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/output_stream.h"
#include "drawing/officeart_records.h"

namespace Quorv {
namespace picture {

struct PictureShape {
    std::uint32_t spid = 0;
    int rotation = 0;              // degrees, 0..359; 0 writes no rotation property
    std::uint32_t pib = 0;         // 1-based store entry, 0 for no picture
    std::wstring name;             // pibName, written in UTF-16LE with a terminator
};

// The shape's property table: rotation (only when not 0), protection, pib, pibName, pibFlags.
officeart::PropertyTable pictureProperties(const PictureShape& shape);

// The picture frame shape: those properties and the client anchor.
officeart::Shape pictureShape(const PictureShape& values, const officeart::ClientAnchor& anchor);

// The name stored in pibName: the file name's last component, after the last '/' or '\\', taken
// as UTF-8.
std::wstring pictureName(const std::string& fileName);

} // namespace picture
} // namespace Quorv
