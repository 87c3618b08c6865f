#include "drawing/officeart_records.h"

#include <utility>

#include "core/units.h"

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

void writeArrayHeader(QvOutputStream& s, std::size_t count, std::size_t allocated, std::uint16_t cbElem) {
    s.writeU16(static_cast<std::uint16_t>(count));
    s.writeU16(static_cast<std::uint16_t>(allocated));
    s.writeU16(cbElem);
}

PropertyTable& addTableSideLineBooleans(PropertyTable& table) {
    return table.add(PropertyId::LeftLineStyleBooleans, 0x004E0006)
        .add(PropertyId::TopLineStyleBooleans, 0x004E0006)
        .add(PropertyId::RightLineStyleBooleans, 0x004E0006)
        .add(PropertyId::BottomLineStyleBooleans, 0x004E0006)
        .add(PropertyId::ColumnLineStyleBooleans, 0x000E0006);
}

ClientAnchor rotatedClientAnchor(float left, float top, float right, float bottom, int degrees, const char* what) {
    for (float edge : {left, top, right, bottom}) units::requireFinite(edge, QV_ERR_SHAPE_NOT_FINITE, what);
    int d = degrees % 360;
    if (d < 0) d += 360;
    if ((d >= 45 && d < 135) || (d >= 225 && d < 315)) {
        const float cx = (left + right) / 2.0f;
        const float cy = (top + bottom) / 2.0f;
        const float halfWidth = (right - left) / 2.0f;
        const float halfHeight = (bottom - top) / 2.0f;
        left = cx - halfHeight;
        top = cy - halfWidth;
        right = cx + halfHeight;
        bottom = cy + halfWidth;
    }
    // Turning a huge box may overflow: clamped like any other value beyond the range.
    return {units::clampAnchorUnits(top), units::clampAnchorUnits(left), units::clampAnchorUnits(right),
            units::clampAnchorUnits(bottom)};
}

namespace {

void writeRect(QvOutputStream& s, RecordHeader h, const Rect& r) {
    writeRecord(s, h, [&](QvOutputStream& o) {
        o.writeI32(r.left);
        o.writeI32(r.top);
        o.writeI32(r.right);
        o.writeI32(r.bottom);
    });
}

} // namespace

void writeShape(QvOutputStream& s, const Shape& shape) {
    writeRecord(s, container(RecordType::OfficeArtSpContainer), [&](QvOutputStream& o) {
        if (shape.group) writeRect(o, atom(RecordType::OfficeArtFSPGR, 1), *shape.group);
        writeRecord(o, atom(RecordType::OfficeArtFSP, 2, static_cast<std::uint16_t>(shape.type)),
                    [&](QvOutputStream& a) {
                        a.writeU32(shape.spid);
                        a.writeU32(shape.flags);
                    });
        if (shape.properties.count() > 0) shape.properties.write(o);
        if (shape.tertiary.count() > 0) shape.tertiary.write(o, RecordType::OfficeArtTertiaryFOPT);
        if (shape.sharedProperties) o.writeBytes(*shape.sharedProperties);
        if (const auto* a = std::get_if<ClientAnchor>(&shape.anchor)) {
            writeRecord(o, atom(RecordType::OfficeArtClientAnchor), [&](QvOutputStream& c) {
                c.writeI16(a->top);
                c.writeI16(a->left);
                c.writeI16(a->right);
                c.writeI16(a->bottom);
            });
        } else if (const auto* r = std::get_if<Rect>(&shape.anchor)) {
            writeRect(o, atom(RecordType::OfficeArtChildAnchor), *r);
        }
        if (shape.tail.write) shape.tail.write(o, shape.tail.context);
    });
}

} // namespace officeart
} // namespace Quorv
