// Windows metafiles and enhanced metafiles: the checks of their headers, the size an enhanced
// metafile declares, and their compression for the "Pictures" stream.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/byte_source.h"

namespace Quorv {
namespace picture {

// The placeable header that precedes a Windows metafile on disk; the picture record stores the
// metafile without it.
constexpr std::uint64_t kPlaceableHeaderSize = 22;
// An enhanced metafile begins with its EMR_HEADER record, at least 88 bytes long.
constexpr std::uint64_t kEmfHeaderSize = 88;

// A placeable header followed by the 18-byte header of a Windows metafile ([MS-WMF] 2.3.2.3
// META_PLACEABLE, 2.3.2.2 META_HEADER: type 1 or 2, header size 9 words).
bool isPlaceableWmf(ByteSource& source);
// An EMR_HEADER ([MS-EMF] 2.3.4.2): record type 1, a record size of at least 88 bytes within
// the file, and the signature " EMF".
bool isEnhancedMetafile(ByteSource& source);

// The width and height an enhanced metafile declares, from the rclBounds rectangle of its
// header (byte offsets 8 to 23: left, top, right, bottom, signed 32-bit): right - left and
// bottom - top, as absolute values. rclBounds is the rectangle the metafile's own readers report
// as its size; the frame rectangle at offset 24 is in 0.01 mm and describes the page instead.
struct MetafileSize {
    std::int32_t width;
    std::int32_t height;
};
MetafileSize enhancedMetafileSize(ByteSource& source);

// Bytes [offset, end) of the source compressed with zlib's deflate at level 9 in the zlib
// format (RFC 1950). The input is read in blocks. Sets complete to false when the source gave
// fewer bytes than its size.
std::vector<std::uint8_t> deflateRange(ByteSource& source, std::uint64_t offset, bool& complete);

} // namespace picture
} // namespace Quorv
