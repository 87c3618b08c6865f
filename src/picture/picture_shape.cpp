#include "picture/picture_shape.h"

#include "core/text_encoding.h"

namespace Quorv {
namespace picture {

using officeart::PropertyId;

namespace {

// Protection booleans ([MS-ODRAW] 2.3.1.1): fLockAspectRatio with its use bit.
constexpr std::uint32_t kLockAspectRatio = 0x00800080;
// pibFlags: msoblipflagFile, the name in pibName is a file name.
constexpr std::uint32_t kNameIsFileName = 1;

} // namespace

officeart::PropertyTable pictureProperties(const PictureShape& shape) {
    officeart::PropertyTable table;
    // Rotation is a 16.16 fixed-point number of degrees.
    if (shape.rotation > 0) table.add(PropertyId::Rotation, static_cast<std::uint32_t>(shape.rotation) << 16);
    table.add(PropertyId::ProtectionBooleans, kLockAspectRatio);
    table.add(PropertyId::Pib, shape.pib, officeart::kBlipId);
    const std::size_t units = utf16Units(shape.name) + 1; // with the terminating 16-bit zero
    std::uint8_t* name = table.addComplex(PropertyId::PibName, 2 * units, officeart::kBlipId);
    putUtf16(name, shape.name);
    detail::putU16(name + 2 * units - 2, 0);
    table.add(PropertyId::PibFlags, kNameIsFileName);
    return table;
}

officeart::Shape pictureShape(const PictureShape& values, const officeart::ClientAnchor& anchor) {
    officeart::Shape shape;
    shape.type = officeart::ShapeType::PictureFrame;
    shape.spid = values.spid;
    shape.flags = officeart::kHaveAnchor | officeart::kHaveShapeType;
    shape.properties = pictureProperties(values);
    shape.anchor = anchor;
    return shape;
}

std::wstring pictureName(const std::string& fileName) {
    const std::size_t cut = fileName.find_last_of("/\\");
    return fromUtf8(cut == std::string::npos ? fileName : fileName.substr(cut + 1));
}

} // namespace picture
} // namespace Quorv
