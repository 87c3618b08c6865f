#include "table/table_rule_record.h"

#include "core/units.h"

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

officeart::Shape tableRuleShape(int shapeId, float x1, float y1, float x2, float y2) {
    // Child anchor: the table group's coordinates, master units (points x 8, truncated).
    auto masterUnits = [](float points) {
        return units::checkedMasterUnits(points, QV_ERR_SHAPE_NOT_FINITE, "table rule end point");
    };
    officeart::Shape shape;
    shape.type = officeart::ShapeType::Line;
    shape.spid = 0x4D00u + static_cast<std::uint32_t>(shapeId);
    shape.flags = officeart::kChild | officeart::kHaveAnchor | officeart::kHaveShapeType;
    shape.sharedProperties = &ruleProperties();
    shape.anchor = officeart::Rect{masterUnits(x1), masterUnits(y1), masterUnits(x2), masterUnits(y2)};
    return shape;
}

} // namespace Quorv
