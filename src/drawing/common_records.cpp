#include "drawing/common_records.h"

#include <cstring>

#include "core/record.h"

namespace Quorv {

const ColorScheme kDefaultColorScheme = {
    0x00FFFFFF, // background
    0x00000000, // text and lines
    0x00808080, // shadows
    0x00000000, // title text
    0x00E3E0BB, // fills
    0x00993333, // accent
    0x00999900, // accent and hyperlink
    0x0000CC99, // accent and followed hyperlink
};

void writeColorScheme(QvOutputStream& s, std::uint16_t instance, const ColorScheme& scheme) {
    writeRecord(s, atom(RecordType::ColorSchemeAtom, 0, instance), [&](QvOutputStream& o) {
        for (std::uint32_t c : scheme) o.writeU32(c);
    });
}

void writeAsciiCString(QvOutputStream& s, std::uint16_t instance, const char* text) {
    std::uint8_t units[64];
    std::size_t n = 0;
    for (const char* p = text; *p && n + 2 <= sizeof units; ++p) {
        units[n++] = static_cast<std::uint8_t>(*p);
        units[n++] = 0;
    }
    writeRecordBytes(s, atom(RecordType::CString, 0, instance), units, n);
}

officeart::Shape patriarchShape(std::uint32_t spid, std::int32_t groupRect) {
    officeart::Shape shape;
    shape.group = officeart::Rect{groupRect, groupRect, groupRect, groupRect};
    shape.spid = spid;
    shape.flags = officeart::kGroup | officeart::kPatriarch;
    return shape;
}

officeart::Shape backgroundShape(std::uint32_t spid, std::uint32_t lineStyleBooleans) {
    using officeart::PropertyId;
    officeart::Shape shape;
    shape.type = officeart::ShapeType::Rectangle;
    shape.spid = spid;
    shape.flags = officeart::kBackground | officeart::kHaveShapeType;
    shape.properties.add(PropertyId::FillColor, officeart::schemeColor(0))
        .add(PropertyId::FillBackColor, officeart::schemeColor(0))
        .add(PropertyId::FillRectRight, 9150350)
        .add(PropertyId::FillRectBottom, 6864350)
        .add(PropertyId::FillStyleBooleans, 0x00120012) // fillUseRect, fFilled
        .add(PropertyId::LineStyleBooleans, lineStyleBooleans)
        .add(PropertyId::BlackAndWhiteMode, 9)      // bwWhite
        .add(PropertyId::ShapeBooleans, 0x00010001); // fBackground
    return shape;
}

void writePlaceholderData(QvOutputStream& s, const PlaceholderData& p) {
    writeRecord(s, container(RecordType::OfficeArtClientData), [&](QvOutputStream& data) {
        writeRecord(data, atom(RecordType::PlaceholderAtom), [&](QvOutputStream& a) {
            a.writeI32(p.position);
            a.writeByte(p.placementId);
            a.writeByte(p.size);
            a.writeU16(p.unused);
        });
    });
}

void writePpt10Tags(QvOutputStream& s) {
    // The blob is itself a record: RT_SlideTime10Atom (type 0x2EEB, length 8) with a fixed
    // FILETIME, the same in every file.
    static const std::uint8_t kSlideTime10Blob[16] = {0x00, 0x00, 0xEB, 0x2E, 0x08, 0x00, 0x00, 0x00,
                                                      0xF8, 0x0E, 0xC9, 0x01, 0xE0, 0x3D, 0xD4, 0xE5};
    writeRecord(s, container(RecordType::ProgTags), [](QvOutputStream& tags) {
        writeRecord(tags, container(RecordType::ProgBinaryTag), [](QvOutputStream& tag) {
            writeAsciiCString(tag, 0, "___PPT10");
            writeRecordBytes(tag, atom(RecordType::BinaryTagDataBlob), kSlideTime10Blob,
                             sizeof kSlideTime10Blob);
        });
    });
}

} // namespace Quorv
