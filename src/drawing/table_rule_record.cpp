#include "drawing/table_rule_record.h"

#include "core/record.h"
#include "drawing/drawing_units.h"
#include "drawing/officeart_records.h"

namespace Quorv {

using officeart::PropertyId;
using officeart::PropertyTable;

namespace {

// The two property tables of every rule, the same for all: turned into bytes once.
const std::vector<std::uint8_t>& ruleProperties() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> out = PropertyTable()
            .add(PropertyId::TextBooleans, 0x000F0000)
            .add(PropertyId::FillStyleBooleans, 0x00100000) // fUsefFilled, not filled
            .add(PropertyId::LineColor, officeart::schemeColor(1))
            .add(PropertyId::LineWidth, 9525)               // 0.75 pt
            .add(PropertyId::LineEndCapStyle, 1)
            .add(PropertyId::LineStyleBooleans, 0x000E000C)
            .add(PropertyId::ShadowColor, officeart::schemeColor(2))
            .add(PropertyId::ShadowStyleBooleans, 0x00030000)
            .add(PropertyId::ThreeDObjectBooleans, 0x00080000)
            .add(PropertyId::CalloutBooleans, 0x000F0000)
            .recordBytes();
        PropertyTable tertiaryTable;
        tertiaryTable.add(PropertyId::GeometryBooleans, 0x00400000)
            .add(PropertyId::LineStyleBooleans, 0x00800000)
            .add(PropertyId::GroupShapeBooleans, 0x82008200);
        std::vector<std::uint8_t> tertiary =
            officeart::addTableSideLineBooleans(tertiaryTable).recordBytes(RecordType::OfficeArtTertiaryFOPT);
        out.insert(out.end(), tertiary.begin(), tertiary.end());
        return out;
    }();
    return bytes;
}

} // namespace

void writeTableRuleRecord(QvOutputStream& s, int shapeId, float x1, float y1, float x2, float y2) {
    const char* what = "table rule end point";
    // Child anchor: the table group's coordinates, master units (points x 8, truncated).
    const std::int32_t left = drawing_units::masterUnits(x1, what);
    const std::int32_t top = drawing_units::masterUnits(y1, what);
    const std::int32_t right = drawing_units::masterUnits(x2, what);
    const std::int32_t bottom = drawing_units::masterUnits(y2, what);
    const std::uint32_t spid = 0x4D00u + static_cast<std::uint32_t>(shapeId);

    writeRecord(s, container(RecordType::OfficeArtSpContainer), [&](QvOutputStream& o) {
        officeart::writeShapeAtom(o, officeart::ShapeType::Line, spid,
                                  officeart::kChild | officeart::kHaveAnchor | officeart::kHaveShapeType);
        o.writeBytes(ruleProperties());
        officeart::writeChildAnchor(o, left, top, right, bottom);
    });
}

} // namespace Quorv
