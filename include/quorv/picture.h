// Pictures: PPTPicture.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>

#include "quorv/export.h"
#include "quorv/shape.h"

namespace Quorv {

namespace detail {
struct PictureInput;
struct PictureShapeOf;
class PictureStore;
}

// An image on a slide. A picture touches three places of the file: its picture record (an
// OfficeArt BLIP) in the "Pictures" stream, its entry in the picture store of the document, and
// the picture shape in the slide's drawing, which refers to its store entry by number.
//
// A document stores each picture's data once: pictures whose data is the same (the same bytes
// once converted, such as two pictures of one file or of streams with the same contents) share
// one picture record and one store entry. The save numbers the entries itself, in the order the
// pictures come (slide by slide and, within a slide, in the order the shapes were added), and
// gives every picture the number of its entry as its PicId: 1 for the first entry after the
// store's empty first one. A number the host set before is replaced by that of the save.
class QUORV_EXPORT PPTPicture : public PPTShape {
public:
    // The kind of image the host declares. The bytes are checked against it when the picture is
    // saved: bytes of another of the four kinds PNG, JPEG, placeable WMF and EMF are stored as
    // what they are; bytes of no such kind give a picture without data.
    enum ImageType : int {
        IMAGE_NONE = 0,  // no picture record
        IMAGE_ANY = 1,   // any raster image the library decodes (PNG, JPEG, BMP, GIF, TIFF); stored as PNG
        IMAGE_JPEG = 2,
        IMAGE_PNG = 3,
        IMAGE_UNUSED = 4, // no picture record
        IMAGE_WMF = 5,   // Windows metafile with its 22-byte placeable header; stored compressed
        IMAGE_EMF = 6,   // enhanced metafile; stored compressed
    };

    // The kind of image the first bytes of a file announce by their signature (up to 44 bytes
    // are looked at): IMAGE_PNG, IMAGE_JPEG, IMAGE_WMF (placeable), IMAGE_EMF, IMAGE_ANY for BMP,
    // GIF and TIFF, IMAGE_NONE for anything else. The type to declare for such a file; saving
    // still checks the whole file.
    static ImageType imageTypeOf(const void* bytes, std::size_t size) noexcept;

    // Left x, top y, width and height in points.
    PPTPicture(float x, float y, float width, float height);
    // Copies every field of the picture. The copy shares the original's input: a host stream is
    // read once, and both pictures write the bytes read from it.
    PPTPicture(const PPTPicture& other);
    ~PPTPicture() override;

    // The image is the file at fileName (UTF-8 on POSIX systems), read on every save. Replaces
    // a stream set before and forgets the identifiers of the picture records. Returns true.
    bool setFileName(ImageType type, const std::string& fileName);
    // The image is read from stream at the first save; the bytes read are kept for later saves,
    // so the host needs to keep the stream alive only until the first save has returned.
    // Replaces a file or stream set before and forgets the identifiers. Returns true.
    bool setFileStream(ImageType type, std::istream& stream);

    // The picture's number in the picture store (see above): after a save, the number of the
    // entry that holds its data, which pictures with the same data share; -1 after a save that
    // found no usable image data, until a save finds data again or the host sets a new number.
    void set_PicId(int id) noexcept;
    int get_PicId() const noexcept;
    // Rotation in degrees, stored as v % 360 with the sign of v; a negative angle is written as
    // the equivalent positive one.
    void set_iRotate(int v) noexcept { rotate_ = v % 360; }
    int get_iRotate() const noexcept { return rotate_; }

    // With true: the length of the picture shape's container (what output(stream, false)
    // writes, without its header). With false: the length of the shape's property table.
    int calSize(int* counter, bool flag) override;
    // With true: the picture's entry in the picture store, written by the first picture of the
    // last save that had its data (nothing for the others). With false: the picture shape; a box
    // whose position or size is infinite or NaN throws QvException QV_ERR_SHAPE_NOT_FINITE (15),
    // huge ones are clamped to the anchor's range (about 4096 points).
    bool output(QvOutputStream& stream, bool flag) override;
    // Writes the picture record into the "Pictures" stream as the only picture of a store (its
    // PicId becomes 1); false when the picture has no data. A save goes through the document's
    // store instead, which writes identical data once.
    // Throws QvException code 13 when the picture's record cannot be described by the 32-bit
    // sizes and offsets of the format, 12 when it would make the file larger than the format
    // allows, 14 when the input changed or failed while it was read.
    bool outputPicture(QvOutputStream& stream) override;

private:
    friend struct detail::PictureShapeOf;
    friend class detail::PictureStore;

    // The identifier of the picture record of each kind, made when first needed: 16 bytes
    // (the first 16 characters of a GUID in its braced text form).
    struct Identifier {
        bool made = false;
        std::array<std::uint8_t, 16> bytes{};
    };
    static constexpr int kKinds = 5; // index: none, EMF, WMF, JPEG, PNG

    // Where the picture record went in the "Pictures" stream during the last save.
    std::uint32_t pOffset_ = 0;
    std::uint32_t pSize_ = 0;
    int picId_ = 0;
    bool noData_ = false; // the last save found no usable data: the shape shows no picture
    int rotate_ = 0;
    int storedKind_ = 0; // the kind of record the last save wrote (index as for identifiers)
    bool ownsEntry_ = false;     // the last save stored the data under this picture: it writes the entry
    std::uint32_t references_ = 0; // and the pictures that showed it (cRef)
    std::array<Identifier, kKinds> identifiers_{};
    std::string fileName_;
    std::shared_ptr<detail::PictureInput> input_; // a host stream and the bytes read from it
    ImageType type_ = IMAGE_NONE;
};

} // namespace Quorv
