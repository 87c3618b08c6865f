#include "drawing/officeart_records.h"

#include <utility>

namespace Quorv {
namespace officeart {

PropertyTable& PropertyTable::add(PropertyId id, std::uint32_t value, std::uint16_t flags) {
    const auto opid = static_cast<std::uint16_t>(static_cast<std::uint16_t>(id) | flags);
    if (count_ < kInline) {
        // Field by field: a whole Entry built on the stack and copied stalls on store forwarding.
        Entry& e = entries_[count_++];
        e.opid = opid;
        e.value = value;
    } else {
        overflow_.push_back(Entry{opid, value});
    }
    return *this;
}

PropertyTable& PropertyTable::addComplex(PropertyId id, std::vector<std::uint8_t> data,
                                         std::uint16_t flags) {
    add(id, static_cast<std::uint32_t>(data.size()), static_cast<std::uint16_t>(flags | kComplex));
    complex_.insert(complex_.end(), data.begin(), data.end());
    return *this;
}

PropertyTable& PropertyTable::addArrayCountingElementsOnly(PropertyId id, std::vector<std::uint8_t> array) {
    constexpr std::uint32_t kArrayHeader = 6; // nElems, nElemsAlloc, cbElem
    const auto size = static_cast<std::uint32_t>(array.size());
    add(id, size >= kArrayHeader ? size - kArrayHeader : size, kComplex);
    complex_.insert(complex_.end(), array.begin(), array.end());
    return *this;
}

void PropertyTable::write(QvOutputStream& s, RecordType type) const {
    writeRecord(s, atom(type, 3, count()), [this](QvOutputStream& o) {
        for (std::size_t i = 0; i < count_; ++i) {
            o.writeU16(entries_[i].opid);
            o.writeU32(entries_[i].value);
        }
        for (const Entry& e : overflow_) {
            o.writeU16(e.opid);
            o.writeU32(e.value);
        }
        o.writeBytes(complex_);
    });
}

std::vector<std::uint8_t> PropertyTable::recordBytes(RecordType type) const {
    QvOutputStream s(256);
    write(s, type);
    return s.takeBytes();
}

AnchorBox anchorBoxForRotation(float left, float top, float right, float bottom, int degrees) noexcept {
    int d = degrees % 360;
    if (d < 0) d += 360;
    const bool swapped = (d >= 45 && d < 135) || (d >= 225 && d < 315);
    if (!swapped) return {left, top, right, bottom};
    const float cx = (left + right) / 2.0f;
    const float cy = (top + bottom) / 2.0f;
    const float halfWidth = (right - left) / 2.0f;
    const float halfHeight = (bottom - top) / 2.0f;
    return {cx - halfHeight, cy - halfWidth, cx + halfHeight, cy + halfWidth};
}

PropertyTable& addTableSideLineBooleans(PropertyTable& table) {
    return table.add(PropertyId::LeftLineStyleBooleans, 0x004E0006)
        .add(PropertyId::TopLineStyleBooleans, 0x004E0006)
        .add(PropertyId::RightLineStyleBooleans, 0x004E0006)
        .add(PropertyId::BottomLineStyleBooleans, 0x004E0006)
        .add(PropertyId::ColumnLineStyleBooleans, 0x000E0006);
}

void writeShapeAtom(QvOutputStream& s, ShapeType type, std::uint32_t spid, std::uint32_t flags) {
    writeRecord(s, atom(RecordType::OfficeArtFSP, 2, static_cast<std::uint16_t>(type)),
                [&](QvOutputStream& o) {
                    o.writeU32(spid);
                    o.writeU32(flags);
                });
}

void writeGroupAtom(QvOutputStream& s, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom) {
    writeRecord(s, atom(RecordType::OfficeArtFSPGR, 1), [&](QvOutputStream& o) {
        o.writeI32(left);
        o.writeI32(top);
        o.writeI32(right);
        o.writeI32(bottom);
    });
}

void writeClientAnchor(QvOutputStream& s, std::int16_t top, std::int16_t left, std::int16_t right,
                       std::int16_t bottom) {
    writeRecord(s, atom(RecordType::OfficeArtClientAnchor), [&](QvOutputStream& o) {
        o.writeI16(top);
        o.writeI16(left);
        o.writeI16(right);
        o.writeI16(bottom);
    });
}

void writeChildAnchor(QvOutputStream& s, std::int32_t left, std::int32_t top, std::int32_t right,
                      std::int32_t bottom) {
    writeRecord(s, atom(RecordType::OfficeArtChildAnchor), [&](QvOutputStream& o) {
        o.writeI32(left);
        o.writeI32(top);
        o.writeI32(right);
        o.writeI32(bottom);
    });
}

} // namespace officeart
} // namespace Quorv
