#include "document/property_sets.h"

#include "core/text_encoding.h"

namespace Quorv {

const FormatId kSummaryInformationId = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                        0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
const FormatId kDocumentSummaryInformationId = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                                0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

namespace {

constexpr std::uint32_t kCodePageId = 0x01; // PID_CODEPAGE, a VT_I2
constexpr std::uint16_t kCodePage932 = 932;
constexpr std::uint16_t kCodePageUtf8 = 65001; // CP_UTF8

// A string value as written: its bytes, and the Size field in front of them. The bytes are
// padded with zeros to a multiple of 4.
struct EncodedString {
    std::vector<std::uint8_t> bytes;
    std::uint32_t size = 0;
};

std::uint32_t padded(std::size_t n) { return static_cast<std::uint32_t>((n + 3) / 4 * 4); }

// Code page 932: null-terminated, the Size counts the padding; an empty string has size 0 and
// no bytes.
EncodedString codePage932(const std::string& text) {
    EncodedString e;
    if (text.empty()) return e;
    e.size = padded(text.size() + 1);
    e.bytes.assign(text.begin(), text.end());
    e.bytes.resize(e.size, 0);
    return e;
}

// Code page 65001 (UTF-8): null-terminated; the Size counts the terminator but not the padding
// ([MS-OLEPS] 2.5). An empty string has size 0 and no bytes, as in code page 932.
EncodedString utf8(const std::wstring& text) {
    EncodedString e;
    if (text.empty()) return e;
    const std::string bytes = toUtf8(text);
    e.bytes.assign(bytes.begin(), bytes.end());
    e.bytes.push_back(0);
    e.size = static_cast<std::uint32_t>(e.bytes.size());
    e.bytes.resize(padded(e.bytes.size()), 0);
    return e;
}

} // namespace

void writePropertySetStream(QvOutputStream& s, const FormatId& formatId, const std::vector<PropertyValue>& values,
                            bool withHeader) {
    // Every string in code page 932 when all of them fit it, else every string in UTF-8.
    std::vector<std::string> narrow(values.size());
    bool fits = true;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].type == PropertyValue::Type::String) fits = toCodePage932(values[i].text, narrow[i]) && fits;
    }
    std::vector<EncodedString> strings(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].type != PropertyValue::Type::String) continue;
        strings[i] = fits ? codePage932(narrow[i]) : utf8(values[i].text);
    }
    const auto valueSize = [&](std::size_t i) -> std::uint32_t {
        switch (values[i].type) {
        case PropertyValue::Type::String: return 8 + static_cast<std::uint32_t>(strings[i].bytes.size());
        case PropertyValue::Type::FileTime: return 12;
        default: return 8;
        }
    };

    if (withHeader) {
        s.writeU16(0xFFFE);     // ByteOrder
        s.writeU16(0);          // Version
        s.writeU32(0x00020005); // SystemIdentifier
        s.writeZeros(16);       // CLSID
        s.writeU32(1);          // NumPropertySets
        s.writeBytes(formatId.data(), 0, formatId.size());
        s.writeU32(48); // Offset0: the property set follows this header
    }
    const auto count = static_cast<std::uint32_t>(values.size() + 1);
    std::uint32_t offset = 8 + 8 * count;
    std::uint32_t size = offset + 8; // the code page
    for (std::size_t i = 0; i < values.size(); ++i) size += valueSize(i);

    s.writeU32(size);
    s.writeU32(count);
    s.writeU32(kCodePageId);
    s.writeU32(offset);
    offset += 8;
    for (std::size_t i = 0; i < values.size(); ++i) {
        s.writeU32(values[i].id);
        s.writeU32(offset);
        offset += valueSize(i);
    }
    s.writeU32(static_cast<std::uint32_t>(PropertyValue::Type::I2));
    s.writeU32(fits ? kCodePage932 : kCodePageUtf8);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const PropertyValue& v = values[i];
        s.writeU32(static_cast<std::uint32_t>(v.type));
        switch (v.type) {
        case PropertyValue::Type::I2:
        case PropertyValue::Type::I4: s.writeU32(v.number); break;
        case PropertyValue::Type::String:
            s.writeU32(strings[i].size);
            s.writeBytes(strings[i].bytes);
            break;
        case PropertyValue::Type::FileTime:
            s.writeU32(static_cast<std::uint32_t>(v.fileTime));
            s.writeU32(static_cast<std::uint32_t>(v.fileTime >> 32));
            break;
        }
    }
}

} // namespace Quorv
