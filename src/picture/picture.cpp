#include "quorv/picture.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/output_stream.h"
#include "core/record.h"
#include "core/save_context.h"
#include "drawing/officeart_records.h"
#include "drawing/shape_size.h"
#include "picture/blip_records.h"
#include "picture/byte_source.h"
#include "picture/image_codec.h"
#include "picture/metafile.h"
#include "picture/picture_data.h"
#include "picture/picture_shape.h"
#include "picture/picture_store.h"
#include "quorv/exception.h"
#include "quorv/input_stream.h"

namespace Quorv {

namespace detail {

// A host stream and, once it has been read, the bytes it gave. Copies of a picture share one
// PictureInput, so the stream is read once however many copies are saved, on whatever thread.
struct PictureInput {
    std::mutex mutex;
    QvInputStream stream;
    bool read = false;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;

    explicit PictureInput(std::istream& in) : stream(in) {}

    // The bytes of the stream from its start, read at the first call. The stream is not touched
    // again afterwards: the host may destroy it once the first save has returned.
    std::shared_ptr<const std::vector<std::uint8_t>> take() {
        std::lock_guard<std::mutex> lock(mutex);
        if (!read) {
            std::istream* in = stream.get_istrm();
            std::int64_t length = in ? picture::streamLength(*in) : -1;
            if (length > 0) {
                if (static_cast<std::uint64_t>(length) > 0xFFFFFFFFu) {
                    throw makeException(QV_ERR_PICTURE_TOO_LARGE,
                                        "a picture stream of " + std::to_string(length) + " bytes");
                }
                bytes = std::make_shared<const std::vector<std::uint8_t>>(
                    picture::readAll(*in, static_cast<std::uint64_t>(length)));
            }
            read = true;
            stream = QvInputStream();
        }
        return bytes;
    }
};

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

namespace {

using picture::BlipKind;

detail::Guid newGuid(const QvOutputStream& stream) {
    const detail::SaveContext* context = stream.context();
    if (context && context->newGuid) return context->newGuid();
    return detail::randomGuid();
}

std::uint32_t position32(const QvOutputStream& stream) {
    std::size_t p = stream.position();
    picture::checkRecordFits(p, 0);
    return static_cast<std::uint32_t>(p);
}

} // namespace

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
      rotate_(other.rotate_), storedKind_(other.storedKind_), identifiers_(other.identifiers_),
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
        picture::StoreEntry entry;
        entry.kind = static_cast<BlipKind>(storedKind_);
        if (entry.kind != BlipKind::None) entry.id = identifiers_[static_cast<std::size_t>(storedKind_)].bytes;
        entry.size = pSize_;
        entry.offset = pOffset_;
        picture::writeStoreEntry(stream, entry);
        return true;
    }
    const picture::PictureShape values = detail::PictureShapeOf::values(*this);
    officeart::writeShape(stream, picture::pictureShape(values, detail::PictureShapeOf::anchor(*this, values.rotation)));
    return true;
}

bool PPTPicture::outputPicture(QvOutputStream& stream) {
    const std::uint32_t offset = position32(stream);
    set_pOffset(offset);
    set_pSize(0);
    storedKind_ = static_cast<int>(BlipKind::None);
    noData_ = true;

    if (!picture::declaresData(type_)) return false; // types 0 and 4: a picture without data

    // The source: the bytes kept from the host's stream, or the file, opened for this save.
    std::unique_ptr<picture::ByteSource> source;
    std::optional<QvInputStream> file;
    if (input_) {
        source = std::make_unique<picture::MemorySource>(input_->take());
    } else if (!fileName_.empty()) {
        file.emplace(fileName_);
        std::istream* in = file->get_istrm();
        if (!in || !*in) return false;
        auto fileSource = std::make_unique<picture::StreamSource>(*in);
        if (!fileSource->ok()) return false;
        // A small file is read in one go: its checks then cost no further reads and seeks. A large
        // one is read block by block as it is copied, so it is never held in memory whole.
        constexpr std::uint64_t kReadWhole = std::uint64_t{4} << 20;
        if (fileSource->size() <= kReadWhole) {
            auto bytes = std::make_shared<std::vector<std::uint8_t>>(picture::readAll(*in, fileSource->size()));
            if (bytes->size() != fileSource->size()) {
                throw makeException(QV_ERR_PICTURE_READ, "the file " + fileName_ + " ended early");
            }
            source = std::make_unique<picture::MemorySource>(std::move(bytes));
        } else {
            source = std::move(fileSource);
        }
    } else {
        return false;
    }

    picture::PreparedData data = picture::prepareData(type_, *source);
    if (data.kind == BlipKind::None) return false;

    Identifier& identifier = identifiers_[static_cast<std::size_t>(data.kind)];
    if (!identifier.made) {
        identifier.bytes = picture::makeIdentifier(newGuid(stream));
        identifier.made = true;
    }

    if (data.kind == BlipKind::Png || data.kind == BlipKind::Jpeg) {
        std::unique_ptr<picture::ByteSource> converted;
        if (data.converted) converted = std::make_unique<picture::MemorySource>(data.converted);
        picture::ByteSource& image = converted ? *converted : *source;
        picture::writeBitmapBlip(stream, data.kind, identifier.bytes, image);
    } else {
        // A Windows metafile is stored without its placeable header, an enhanced metafile whole.
        const bool wmf = data.kind == BlipKind::Wmf;
        const std::uint64_t start = wmf ? picture::kPlaceableHeaderSize : 0;
        if (source->size() - start > 0xFFFFFFFFu) {
            throw makeException(QV_ERR_PICTURE_TOO_LARGE,
                                "a metafile of " + std::to_string(source->size()) + " bytes");
        }
        bool complete = true;
        std::vector<std::uint8_t> compressed = picture::deflateRange(*source, start, complete);
        if (!complete) throw makeException(QV_ERR_PICTURE_READ, "the metafile ended early");
        const auto uncompressed = static_cast<std::uint32_t>(source->size() - start);
        picture::MetafileHeader header;
        if (wmf) {
            header = picture::wmfHeader(uncompressed);
        } else {
            picture::MetafileSize size = picture::enhancedMetafileSize(*source);
            header = picture::emfHeader(uncompressed, size.width, size.height);
        }
        picture::writeMetafileBlip(stream, data.kind, identifier.bytes, header, compressed);
    }

    set_pSize(static_cast<std::uint32_t>(stream.position() - offset));
    storedKind_ = static_cast<int>(data.kind);
    noData_ = false;
    return true;
}

} // namespace Quorv
