// The records of a table: one OfficeArtSpgrContainer holding a head shape that carries the
// group's rectangle and the table properties ([MS-ODRAW] 2.3.11 tableProperties,
// tableRowProperties), then a rectangle with a text box per cell, last row first, and the grid
// lines as line shapes. Shapes in the group are numbered 0x4D00 + their shape id.
#include <cstdint>
#include <vector>

#include "core/output_stream.h"
#include "core/record.h"
#include "core/units.h"
#include "drawing/common_records.h"
#include "drawing/officeart_records.h"
#include "drawing/shape_size.h"
#include "quorv/table.h"
#include "table/table_layout.h"
#include "table/table_rule_record.h"
#include "text/text_frame_access.h"

namespace Quorv {

namespace {

using officeart::PropertyId;
using officeart::PropertyTable;
using officeart::schemeColor;

constexpr std::uint32_t kSpidBase = 0x4D00;

// PlaceholderAtom of the head shape: position 0, placementId PT_Object (0x13), size PS_Full (0),
// then two bytes that carry no meaning.
constexpr PlaceholderData kPlaceholderObject = {0, 0x13, 0x00, 0x04A9};

std::int32_t masterUnits(float points) {
    return units::checkedMasterUnits(points, QV_ERR_TABLE_NOT_FINITE, "table coordinate");
}

struct CellShape {
    std::uint32_t spid;
    float left;
    float top;
    float width;
    float height;
    int fill;
};

// The tertiary property table of every cell, the same for all: turned into bytes once.
const std::vector<std::uint8_t>& cellTertiaryProperties() {
    static const std::vector<std::uint8_t> bytes = [] {
        PropertyTable table;
        table.add(PropertyId::GeometryBooleans, 0x00400000)
            .add(PropertyId::FillStyleBooleans, 0x00200000)
            .add(PropertyId::LineStyleBooleans, 0x00C00000)
            .add(PropertyId::GroupShapeBooleans, 0x82008200);
        return officeart::addTableSideLineBooleans(table).recordBytes(RecordType::OfficeArtTertiaryFOPT);
    }();
    return bytes;
}

// The shape of one cell: a rectangle without an outline of its own, with the cell's fill, at its
// place in the group, holding the text frame's client data and text box.
officeart::Shape cellShape(const CellShape& cell, PPTTextFrame& frame) {
    officeart::Shape shape;
    shape.type = officeart::ShapeType::Rectangle;
    shape.spid = cell.spid;
    shape.flags = officeart::kChild | officeart::kHaveAnchor | officeart::kHaveShapeType;
    PropertyTable& p = shape.properties;
    p.add(PropertyId::ProtectionBooleans, 0x00040000); // fUsefLockText: the text is not locked
    detail::TextFrameAccess::addTextProperties(p, frame);
    p.add(PropertyId::TextBooleans, 0x000F0000);
    const bool filled = cell.fill != -1;
    p.add(PropertyId::FillColor, filled ? static_cast<std::uint32_t>(cell.fill) : schemeColor(4));
    p.add(PropertyId::FillBackColor, schemeColor(0));
    p.add(PropertyId::FillStyleBooleans, filled ? 0x001F0019 : 0x001F0009);
    p.add(PropertyId::LineColor, schemeColor(1));
    p.add(PropertyId::LineWidth, 9525); // 0.75 pt
    p.add(PropertyId::LineStyleBooleans, 0x000E0006); // fUsefLine set, fLine clear: no outline
    p.add(PropertyId::ShadowColor, schemeColor(2));
    p.add(PropertyId::ShadowStyleBooleans, 0x00030000);
    p.add(PropertyId::CalloutBooleans, 0x000F0000);
    shape.sharedProperties = &cellTertiaryProperties();
    shape.anchor = officeart::Rect{masterUnits(cell.left), masterUnits(cell.top), masterUnits(cell.left + cell.width),
                                   masterUnits(cell.top + cell.height)};
    detail::TextFrameAccess::describeText(shape, frame);
    return shape;
}

// The group's first shape: the group's rectangle, the table properties with the row heights,
// the anchor on the slide and the placeholder that marks the group as a table.
officeart::Shape headShape(const detail::TableLayout& t) {
    // Row heights in master units: the complex data of tableRowProperties, an array of s32
    // allocated in fours.
    const auto rows = t.rows.size();
    officeart::Shape shape;
    shape.group = officeart::Rect{masterUnits(t.left), masterUnits(t.top), masterUnits(t.right), masterUnits(t.bottom)};
    shape.spid = static_cast<std::uint32_t>(t.groupShapeId) + kSpidBase;
    shape.flags = officeart::kGroup | officeart::kHaveAnchor;
    shape.properties.add(PropertyId::Rotation, 0).add(PropertyId::ProtectionBooleans, 0x01000100); // fLockRotation
    shape.tertiary.add(PropertyId::TableProperties, 3);
    std::uint8_t* heights = officeart::putArrayHeader(
        shape.tertiary.addComplex(PropertyId::TableRowProperties, 6 + 4 * rows, officeart::kBlipId), rows,
        (rows + 3) / 4 * 4, 4);
    for (const detail::LayoutRow& row : t.rows) {
        detail::putU32(heights, static_cast<std::uint32_t>(masterUnits(row.height)));
        heights += 4;
    }
    auto anchorUnits = [](float points) {
        return units::checkedAnchorUnits(points, QV_ERR_TABLE_NOT_FINITE, "table edge");
    };
    shape.anchor = officeart::ClientAnchor{anchorUnits(t.top), anchorUnits(t.left), anchorUnits(t.right),
                                           anchorUnits(t.bottom)};
    shape.tail.write = [](QvOutputStream& o, void*) { writePlaceholderData(o, kPlaceholderObject); };
    return shape;
}

} // namespace

// ---- PPTCell -------------------------------------------------------------------------------

int PPTCell::cal_Size() {
    if (!cell_) return 0;
    return static_cast<int>(measure([this](QvOutputStream& o) { out_Stream(o); }));
}

bool PPTCell::out_Stream(QvOutputStream& stream) {
    if (!cell_) return true;
    PPTPtr<PPTTextFrame> frame = getCellTextBox();
    const CellShape shape{static_cast<std::uint32_t>(frame->get_ShapeId()) + kSpidBase, left_, top_, width_, height_,
                          fill_};
    officeart::writeShape(stream, cellShape(shape, *frame));
    return true;
}

// ---- PPTTable ------------------------------------------------------------------------------

const detail::TableLayout& PPTTable::laidOut() {
    if (!layout_) {
        int counter = 2 + 32; // where the first table on a slide starts
        layOut(&counter);
    }
    return *layout_;
}

int PPTTable::calSize(int* counter, bool flag) {
    if (!flag) return layOut(counter);
    laidOut();
    return slideRecordLength(*this);
}

bool PPTTable::output(QvOutputStream& stream, bool flag) {
    if (flag) return true;
    const detail::TableLayout& t = laidOut();
    writeRecord(stream, container(RecordType::OfficeArtSpgrContainer), [&](QvOutputStream& o) {
        officeart::writeShape(o, headShape(t));
        for (auto row = t.rows.rbegin(); row != t.rows.rend(); ++row) {
            for (auto cell = row->cells.rbegin(); cell != row->cells.rend(); ++cell) {
                if (cell->covered) continue;
                const CellShape shape{static_cast<std::uint32_t>(cell->shapeId) + kSpidBase,
                                      cell->leftX(t.left),
                                      row->top,
                                      cell->width,
                                      cell->height,
                                      cell->fill};
                officeart::writeShape(o, cellShape(shape, *cell->frame));
            }
        }
        for (const detail::Rule& rule : t.rules) {
            officeart::writeShape(o, tableRuleShape(rule.shapeId, rule.x1, rule.y1, rule.x2, rule.y2));
        }
    });
    return true;
}

} // namespace Quorv
