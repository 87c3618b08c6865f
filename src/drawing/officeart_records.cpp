#include "drawing/officeart_records.h"

#include <cstring>
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

std::uint8_t* PropertyTable::growComplex(std::size_t size) {
    const std::size_t at = complexSize_;
    complexSize_ += size;
    if (complexSize_ <= kInlineComplex) return complexInline_.data() + at;
    if (complexOverflow_.empty()) {
        complexOverflow_.reserve(2 * complexSize_);
        complexOverflow_.assign(complexInline_.begin(), complexInline_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    complexOverflow_.resize(complexSize_);
    return complexOverflow_.data() + at;
}

std::uint8_t* PropertyTable::addComplex(PropertyId id, std::size_t size, std::uint16_t flags) {
    add(id, static_cast<std::uint32_t>(size), static_cast<std::uint16_t>(flags | kComplex));
    return growComplex(size);
}

PropertyTable& PropertyTable::addComplex(PropertyId id, const std::vector<std::uint8_t>& data, std::uint16_t flags) {
    if (!data.empty()) std::memcpy(addComplex(id, data.size(), flags), data.data(), data.size());
    else addComplex(id, 0, flags);
    return *this;
}

std::uint8_t* PropertyTable::addArrayCountingElementsOnly(PropertyId id, std::size_t size) {
    constexpr std::size_t kArrayHeader = 6; // nElems, nElemsAlloc, cbElem
    add(id, static_cast<std::uint32_t>(size >= kArrayHeader ? size - kArrayHeader : size), kComplex);
    return growComplex(size);
}

void PropertyTable::write(QvOutputStream& s, RecordType type) const {
    writeRecord(s, atom(type, 3, count()), [this](QvOutputStream& o) {
        std::uint8_t* p = o.claim(6 * (count_ + overflow_.size()));
        auto put = [&p](const Entry& e) {
            detail::putU16(p, e.opid);
            detail::putU32(p + 2, e.value);
            p += 6;
        };
        for (std::size_t i = 0; i < count_; ++i) put(entries_[i]);
        for (const Entry& e : overflow_) put(e);
        o.writeBytes(complexOverflow_.empty() ? complexInline_.data() : complexOverflow_.data(), complexSize_);
    });
}

std::vector<std::uint8_t> PropertyTable::recordBytes(RecordType type) const {
    QvOutputStream s(256);
    write(s, type);
    return s.takeBytes();
}

std::uint8_t* putArrayHeader(std::uint8_t* p, std::size_t count, std::size_t allocated, std::uint16_t cbElem) {
    detail::putU16(p, static_cast<std::uint16_t>(count));
    detail::putU16(p + 2, static_cast<std::uint16_t>(allocated));
    detail::putU16(p + 4, cbElem);
    return p + 6;
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
