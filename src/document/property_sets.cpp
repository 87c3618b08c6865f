#include "document/property_sets.h"

#include "core/record.h"

namespace Quorv {

const FormatId kSummaryInformationId = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                        0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
const FormatId kDocumentSummaryInformationId = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                                0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

namespace {

// A code-page string (VT_LPSTR) is null-terminated and padded with zeros to a multiple of 4; its
// size counts the padding. An empty string has size 0 and no bytes.
std::uint32_t paddedStringSize(const std::string& text) {
    if (text.empty()) return 0;
    return static_cast<std::uint32_t>((text.size() + 1 + 3) / 4 * 4);
}

void writeValue(QvOutputStream& s, const PropertyValue& v) {
    s.writeU32(static_cast<std::uint32_t>(v.type));
    switch (v.type) {
    case PropertyValue::Type::I2:
    case PropertyValue::Type::I4: s.writeU32(v.number); break;
    case PropertyValue::Type::String: {
        std::uint32_t size = paddedStringSize(v.text);
        s.writeU32(size);
        s.writeBytes(v.text.data(), 0, v.text.size());
        s.writeZeros(size - v.text.size());
        break;
    }
    case PropertyValue::Type::FileTime:
        s.writeU32(static_cast<std::uint32_t>(v.fileTime));
        s.writeU32(static_cast<std::uint32_t>(v.fileTime >> 32));
        break;
    }
}

} // namespace

void writePropertySetStream(QvOutputStream& s, const FormatId& formatId, const std::vector<PropertyValue>& values,
                            bool withHeader) {
    if (withHeader) {
        s.writeU16(0xFFFE);     // ByteOrder
        s.writeU16(0);          // Version
        s.writeU32(0x00020005); // SystemIdentifier
        s.writeZeros(16);       // CLSID
        s.writeU32(1);          // NumPropertySets
        s.writeBytes(formatId.data(), 0, formatId.size());
        s.writeU32(48); // Offset0: the property set follows this header
    }
    const auto count = static_cast<std::uint32_t>(values.size());
    auto valueSize = [&s](const PropertyValue& v) {
        return static_cast<std::uint32_t>(measure(s, [&v](QvOutputStream& o) { writeValue(o, v); }));
    };
    std::uint32_t offset = 8 + 8 * count;
    std::uint32_t size = offset;
    for (const PropertyValue& v : values) size += valueSize(v);

    s.writeU32(size);
    s.writeU32(count);
    for (const PropertyValue& v : values) {
        s.writeU32(v.id);
        s.writeU32(offset);
        offset += valueSize(v);
    }
    for (const PropertyValue& v : values) writeValue(s, v);
}

} // namespace Quorv
