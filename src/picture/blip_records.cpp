#include "picture/blip_records.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/record.h"
#include "quorv/exception.h"
#include "storage/compound_file.h"

namespace Quorv {
namespace picture {

namespace {

const BlipKindInfo kInfo[] = {
    {RecordType::OfficeArtFBSE, 0x000, 0, 0},            // None: an empty store entry
    {RecordType::OfficeArtBlipEMF, 0x3D4, 2, 4},         // msoblipEMF; the Mac sees a PICT
    {RecordType::OfficeArtBlipWMF, 0x216, 3, 4},         // msoblipWMF; the Mac sees a PICT
    {RecordType::OfficeArtBlipJPEG, 0x46A, 5, 5},        // msoblipJPEG
    {RecordType::OfficeArtBlipPNG, 0x6E0, 6, 6},         // msoblipPNG
};

constexpr std::uint8_t kBitmapTag = 0xFF;
constexpr std::uint8_t kDeflate = 0x00;   // msocompressionDeflate
constexpr std::uint8_t kNoFilter = 0xFE;  // msofilterNone

std::string describe(std::uint64_t offset, std::uint64_t bodyLength) {
    return "a picture record of " + std::to_string(bodyLength + 8) + " bytes at offset " + std::to_string(offset) +
           " of the Pictures stream";
}

} // namespace

const BlipKindInfo& blipKindInfo(BlipKind kind) noexcept {
    int k = static_cast<int>(kind);
    return kInfo[k >= 0 && k <= 4 ? k : 0];
}

BlipIdentifier makeIdentifier(const detail::Guid& g) {
    auto le = [&g](std::size_t at, int bytes) {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | g[at + static_cast<std::size_t>(i)];
        return v;
    };
    char text[40];
    std::snprintf(text, sizeof text, "{%08X%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X}", le(0, 4), le(4, 2), le(6, 2),
                  g[8], g[9], g[10], g[11], g[12], g[13], g[14], g[15]);
    BlipIdentifier id{};
    std::copy(text, text + id.size(), id.begin());
    return id;
}

MetafileHeader wmfHeader(std::uint32_t uncompressedSize) {
    return MetafileHeader{uncompressedSize, {-293, 11, 0, 0}, {448056, 224028}};
}

MetafileHeader emfHeader(std::uint32_t uncompressedSize, std::int32_t width, std::int32_t height) {
    return MetafileHeader{uncompressedSize, {0, 0, width, height}, {1333500, 914400}};
}

void writeBitmapBlip(QvOutputStream& s, BlipKind kind, const BlipIdentifier& id, ByteSource& image) {
    const std::uint64_t size = image.size();
    checkRecordFits(s.position(), kBitmapDataOffset + size);
    const BlipKindInfo& info = blipKindInfo(kind);
    writeRecord(s, atom(info.recordType, 0, info.instance), [&](QvOutputStream& o) {
        o.writeBytes(id.data(), id.size());
        o.writeByte(kBitmapTag);
        if (const std::uint8_t* bytes = image.data()) {
            o.writeBytes(bytes, static_cast<std::size_t>(size));
            return;
        }
        std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::uint64_t>(size, kBlockSize)));
        for (std::uint64_t at = 0; at < size;) {
            std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - at));
            std::size_t got = image.readAt(at, block.data(), want);
            if (got != want) {
                throw makeException(QV_ERR_PICTURE_READ, "the image ended after " + std::to_string(at + got) +
                                                             " of " + std::to_string(size) + " bytes");
            }
            o.writeBytes(block.data(), got);
            at += got;
        }
    });
}

void writeMetafileBlip(QvOutputStream& s, BlipKind kind, const BlipIdentifier& id, const MetafileHeader& header,
                       const std::vector<std::uint8_t>& compressed) {
    checkRecordFits(s.position(), kMetafileDataOffset + compressed.size());
    const BlipKindInfo& info = blipKindInfo(kind);
    writeRecord(s, atom(info.recordType, 0, info.instance), [&](QvOutputStream& o) {
        o.writeBytes(id.data(), id.size());
        o.writeU32(header.uncompressedSize);
        for (std::int32_t v : header.bounds) o.writeI32(v);
        for (std::int32_t v : header.sizeEmu) o.writeI32(v);
        o.writeU32(static_cast<std::uint32_t>(compressed.size())); // cbSave; checkRecordFits bounds it
        o.writeByte(kDeflate);
        o.writeByte(kNoFilter);
        o.writeBytes(compressed);
    });
}

void checkRecordFits(std::uint64_t offset, std::uint64_t bodyLength) {
    constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;
    if (bodyLength > kMax32 - 8 || offset > kMax32) {
        throw makeException(QV_ERR_PICTURE_TOO_LARGE, describe(offset, bodyLength));
    }
    if (offset + 8 + bodyLength > storage::kMaxCompoundFileSize) {
        throw makeException(QV_ERR_TOO_LARGE, describe(offset, bodyLength) + " would not fit in the file");
    }
}

} // namespace picture
} // namespace Quorv
