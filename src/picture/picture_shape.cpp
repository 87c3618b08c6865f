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
    std::vector<std::uint8_t> name = shape.name;
    name.push_back(0); // the terminating 16-bit zero
    name.push_back(0);
    table.addComplex(PropertyId::PibName, std::move(name), officeart::kBlipId);
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

std::vector<std::uint8_t> pictureName(const std::string& fileName) {
    std::size_t cut = fileName.find_last_of("/\\");
    std::string last = cut == std::string::npos ? fileName : fileName.substr(cut + 1);
    return toUtf16Bytes(fromUtf8(last));
}

} // namespace picture
} // namespace Quorv
