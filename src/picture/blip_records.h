// The picture records of the "Pictures" stream: OfficeArt BLIPs ([MS-ODRAW] 2.2.23 to 2.2.31).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/output_stream.h"
#include "core/record_types.h"
#include "core/save_context.h"
#include "picture/byte_source.h"

namespace Quorv {
namespace picture {

// The kinds of picture record the library writes; None is a picture without data.
enum class BlipKind : int { None = 0, Emf = 1, Wmf = 2, Jpeg = 3, Png = 4 };

struct BlipKindInfo {
    RecordType recordType;  // of the BLIP
    std::uint16_t instance; // recInstance of the BLIP: the kind, with one identifier
    std::uint8_t btWin32;   // MSOBLIPTYPE of the store entry ([MS-ODRAW] 2.4.1)
    std::uint8_t btMacOS;
};
const BlipKindInfo& blipKindInfo(BlipKind kind) noexcept;

// rgbUid: 16 bytes naming a picture record; the store entry repeats them.
using BlipIdentifier = std::array<std::uint8_t, 16>;

// The identifier made from a GUID: the first 16 characters of its braced text form
// "{XXXXXXXX-..." without the dashes, Data1, Data2 and Data3 read little-endian from the binary
// GUID and written in upper-case hexadecimal: '{' and 15 hexadecimal digits, as ASCII.
BlipIdentifier makeIdentifier(const detail::Guid& guid);

// The fields of a metafile record's OfficeArtMetafileHeader ([MS-ODRAW] 2.2.31).
struct MetafileHeader {
    std::uint32_t uncompressedSize;  // cbSize
    std::int32_t bounds[4];          // rcBounds: left, top, right, bottom
    std::int32_t sizeEmu[2];         // ptSize
};

// The metafile header of a Windows metafile record; the bounds and size are fixed values.
MetafileHeader wmfHeader(std::uint32_t uncompressedSize);
// The metafile header of an enhanced metafile record, with the metafile's width and height.
MetafileHeader emfHeader(std::uint32_t uncompressedSize, std::int32_t width, std::int32_t height);

// Where a BLIP's data starts in its body: after the identifier and a bitmap's tag byte, or after
// the identifier and the metafile header (OfficeArtMetafileHeader, 34 bytes: cbSize, rcBounds,
// ptSize, cbSave, compression and filter).
constexpr std::size_t kBitmapDataOffset = 16 + 1;
constexpr std::size_t kMetafileDataOffset = 16 + 34;

// Both writers first check, with checkRecordFits, that the record fits where it goes (the
// stream's position is its offset in the "Pictures" stream), and write nothing when it does not.
// A PNG or JPEG record: identifier, tag 0xFF, then the image file's bytes, copied in blocks.
// Throws QvException code 14 when the source gives fewer bytes than its size.
void writeBitmapBlip(QvOutputStream& s, BlipKind kind, const BlipIdentifier& id, ByteSource& image);
// A WMF or EMF record: identifier, metafile header, then the compressed metafile.
void writeMetafileBlip(QvOutputStream& s, BlipKind kind, const BlipIdentifier& id, const MetafileHeader& header,
                       const std::vector<std::uint8_t>& compressed);

// Checks that a record of this body length, written at this offset of the "Pictures" stream,
// can be described by the store entry and the record header (32-bit offset and sizes; QvException
// code 13) and that the file stays within the largest compound file (code 12).
void checkRecordFits(std::uint64_t offset, std::uint64_t bodyLength);

} // namespace picture
} // namespace Quorv
