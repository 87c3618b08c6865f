#include "quorv/picture.h"

#include <memory>
#include <string>

#include "core/output_stream.h"
#include "core/record.h"
#include "drawing/officeart_records.h"
#include "drawing/shape_size.h"
#include "picture/image_codec.h"
#include "picture/picture_shape.h"
#include "picture/picture_store.h"

namespace Quorv {

namespace detail {

// The values the picture shape is written from; calSize measures what output writes from them.
// The anchor is apart: only writing the shape needs it (and checks the box).
struct PictureShapeOf {
    static picture::PictureShape values(const PPTPicture& p) {
        picture::PictureShape shape;
        shape.spid = 0x800u + static_cast<std::uint32_t>(p.get_ShapeId());
        shape.rotation = p.rotate_ < 0 ? p.rotate_ + 360 : p.rotate_; // -30 is written as 330
        const int id = p.get_PicId();
        shape.pib = id < 0 ? 0u : static_cast<std::uint32_t>(id) + 1u;
        shape.name = picture::pictureName(p.fileName_);
        return shape;
    }
    static officeart::ClientAnchor anchor(const PPTPicture& p, int rotation) {
        return officeart::rotatedClientAnchor(p.left, p.top, p.right, p.bottom, rotation, "picture edge");
    }
};

} // namespace detail

using picture::BlipKind;

PPTPicture::ImageType PPTPicture::imageTypeOf(const void* bytes, std::size_t size) noexcept {
    switch (imaging::sniffFormat(static_cast<const std::uint8_t*>(bytes), size)) {
    case imaging::ImageFormat::Png: return IMAGE_PNG;
    case imaging::ImageFormat::Jpeg: return IMAGE_JPEG;
    case imaging::ImageFormat::Wmf: return IMAGE_WMF;
    case imaging::ImageFormat::Emf: return IMAGE_EMF;
    case imaging::ImageFormat::Bmp:
    case imaging::ImageFormat::Gif:
    case imaging::ImageFormat::Tiff: return IMAGE_ANY;
    case imaging::ImageFormat::Unknown: break;
    }
    return IMAGE_NONE;
}

PPTPicture::PPTPicture(float x, float y, float width, float height)
    : PPTShape(Length(x, 3), Length(y, 3), Length(x + width, 3), Length(y + height, 3)) {
    setObjType(OT_Picture);
}

PPTPicture::PPTPicture(const PPTPicture& other)
    : PPTShape(other), pOffset_(other.pOffset_), pSize_(other.pSize_), picId_(other.picId_), noData_(other.noData_),
      rotate_(other.rotate_), storedKind_(other.storedKind_), ownsEntry_(other.ownsEntry_),
      references_(other.references_), identifiers_(other.identifiers_),
      fileName_(other.fileName_), input_(other.input_), type_(other.type_) {
    setObjType(OT_Picture);
}

PPTPicture::~PPTPicture() = default;

bool PPTPicture::setFileName(ImageType type, const std::string& fileName) {
    type_ = type;
    fileName_ = fileName;
    input_.reset();
    identifiers_ = {};
    return true;
}

bool PPTPicture::setFileStream(ImageType type, std::istream& stream) {
    type_ = type;
    input_ = std::make_shared<detail::PictureInput>(stream);
    identifiers_ = {};
    return true;
}

void PPTPicture::set_PicId(int id) noexcept {
    picId_ = id;
    noData_ = false;
}

int PPTPicture::get_PicId() const noexcept { return noData_ ? -1 : picId_; }

int PPTPicture::calSize(int*, bool flag) {
    if (flag) return slideRecordLength(*this);
    const officeart::PropertyTable table = pictureProperties(detail::PictureShapeOf::values(*this));
    return static_cast<int>(recordLength([&](QvOutputStream& o) { table.write(o); }));
}

bool PPTPicture::output(QvOutputStream& stream, bool flag) {
    if (flag) {
        if (!ownsEntry_ || noData_) return true;
        picture::StoreEntry entry;
        entry.kind = static_cast<BlipKind>(storedKind_);
        entry.id = identifiers_[static_cast<std::size_t>(storedKind_)].bytes;
        entry.size = pSize_;
        entry.offset = pOffset_;
        entry.references = references_;
        picture::writeStoreEntry(stream, entry);
        return true;
    }
    const picture::PictureShape values = detail::PictureShapeOf::values(*this);
    officeart::writeShape(stream, picture::pictureShape(values, detail::PictureShapeOf::anchor(*this, values.rotation)));
    return true;
}

bool PPTPicture::outputPicture(QvOutputStream& stream) {
    detail::PictureStore alone;
    return alone.add(*this, stream) != 0;
}

} // namespace Quorv
