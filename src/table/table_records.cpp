// The records of a table: one OfficeArtSpgrContainer holding a head shape that carries the
// group's rectangle and the table properties ([MS-ODRAW] 2.3.11 tableProperties,
// tableRowProperties), then a rectangle with a text box per cell, last row first, and the grid
// lines as line shapes. Shapes in the group are numbered 0x4D00 + their shape id.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/output_stream.h"
#include "core/record.h"
#include "drawing/drawing_units.h"
#include "drawing/officeart_records.h"
#include "drawing/shape_size.h"
#include "quorv/table.h"
#include "core/units.h"
#include "table/table_layout.h"

namespace Quorv {

namespace {

using officeart::PropertyId;
using officeart::PropertyTable;
using officeart::schemeColor;

constexpr std::uint32_t kSpidBase = 0x4D00;

// PlaceholderAtom of the head shape: position 0, placementId PT_Object (0x13), size PS_Full (0),
// then two bytes that carry no meaning.
constexpr std::uint8_t kPlaceholderObject = 0x13;
constexpr std::uint8_t kPlaceholderFull = 0x00;
constexpr std::uint8_t kPlaceholderUnused[2] = {0xA9, 0x04};

std::int32_t masterUnits(float points) { return drawing_units::masterUnits(points, "table coordinate"); }

// A text inset in EMU, as the text frame itself writes it.
std::uint32_t insetEmu(float points) noexcept { return static_cast<std::uint32_t>(units::emu(points)); }

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

// The OfficeArtSpContainer of one cell: a rectangle without an outline of its own, with the
// cell's fill, at its place in the group, holding the text frame's client data and text box.
void writeCellShape(QvOutputStream& s, const CellShape& cell, PPTTextFrame& frame) {
    writeRecord(s, container(RecordType::OfficeArtSpContainer), [&](QvOutputStream& o) {
        officeart::writeShapeAtom(o, officeart::ShapeType::Rectangle, cell.spid,
                                  officeart::kChild | officeart::kHaveAnchor | officeart::kHaveShapeType);
        PropertyTable p;
        p.add(PropertyId::ProtectionBooleans, 0x00040000); // fUsefLockText: the text is not locked
        p.add(PropertyId::LTxid, 0);
        p.add(PropertyId::DxTextLeft, insetEmu(frame.get_textleft()));
        p.add(PropertyId::DyTextTop, insetEmu(frame.get_texttop()));
        p.add(PropertyId::DxTextRight, insetEmu(frame.get_textright()));
        p.add(PropertyId::DyTextBottom, insetEmu(frame.get_textbottom()));
        if (frame.get_anchor() > 0) p.add(PropertyId::AnchorText, static_cast<std::uint32_t>(frame.get_anchor()));
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
        p.write(o);
        o.writeBytes(cellTertiaryProperties());
        officeart::writeChildAnchor(o, masterUnits(cell.left), masterUnits(cell.top),
                                    masterUnits(cell.left + cell.width), masterUnits(cell.top + cell.height));
        frame.output(o, true); // client data and client text box
    });
}

} // namespace

// ---- PPTCell -------------------------------------------------------------------------------

int PPTCell::cal_Size() {
    if (!cell_) return 0;
    QvOutputStream counter = QvOutputStream::counter();
    out_Stream(counter);
    return static_cast<int>(counter.position());
}

bool PPTCell::out_Stream(QvOutputStream& stream) {
    if (!cell_) return true;
    PPTPtr<PPTTextFrame> frame = getCellTextBox();
    const CellShape shape{static_cast<std::uint32_t>(frame->get_ShapeId()) + kSpidBase, left_, top_, width_, height_,
                          fill_};
    writeCellShape(stream, shape, *frame);
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
        outhead(o);
        for (auto row = t.rows.rbegin(); row != t.rows.rend(); ++row) {
            for (auto cell = row->cells.rbegin(); cell != row->cells.rend(); ++cell) {
                if (cell->covered) continue;
                const CellShape shape{static_cast<std::uint32_t>(cell->shapeId) + kSpidBase,
                                      cell->leftX(t.left),
                                      row->top,
                                      cell->width,
                                      cell->height,
                                      cell->fill};
                writeCellShape(o, shape, *cell->frame);
            }
        }
        for (const auto& rule : t.rules) rule->output(o, true);
    });
    return true;
}

int PPTTable::calheadsize() {
    QvOutputStream counter = QvOutputStream::counter();
    outhead(counter);
    return static_cast<int>(counter.position()) - 8;
}

bool PPTTable::outhead(QvOutputStream& stream) {
    const detail::TableLayout& t = laidOut();
    // Row heights in master units: the complex data of tableRowProperties, an array of u32
    // ([MS-ODRAW] 2.2.51 IMsoArray: nElems, nElemsAlloc, cbElem).
    std::vector<std::uint8_t> heights;
    {
        QvOutputStream a;
        const auto rows = static_cast<std::uint16_t>(t.rows.size());
        a.writeU16(rows);
        a.writeU16(static_cast<std::uint16_t>((rows + 3u) / 4u * 4u));
        a.writeU16(4);
        for (const detail::LayoutRow& row : t.rows) a.writeI32(masterUnits(row.height));
        heights = a.takeBytes();
    }
    const std::uint32_t spid = static_cast<std::uint32_t>(t.groupShapeId) + kSpidBase;
    writeRecord(stream, container(RecordType::OfficeArtSpContainer), [&](QvOutputStream& o) {
        officeart::writeGroupAtom(o, masterUnits(t.left), masterUnits(t.top), masterUnits(t.right),
                                  masterUnits(t.bottom));
        officeart::writeShapeAtom(o, officeart::ShapeType::NotPrimitive, spid,
                                  officeart::kGroup | officeart::kHaveAnchor);
        PropertyTable()
            .add(PropertyId::Rotation, 0)
            .add(PropertyId::ProtectionBooleans, 0x01000100) // fLockRotation with its use bit
            .write(o);
        PropertyTable()
            .add(PropertyId::TableProperties, 3)
            .addComplex(PropertyId::TableRowProperties, heights, officeart::kBlipId)
            .write(o, RecordType::OfficeArtTertiaryFOPT);
        const char* what = "table edge";
        officeart::writeClientAnchor(o, drawing_units::anchorUnits(t.top, what),
                                     drawing_units::anchorUnits(t.left, what),
                                     drawing_units::anchorUnits(t.right, what),
                                     drawing_units::anchorUnits(t.bottom, what));
        writeRecord(o, container(RecordType::OfficeArtClientData), [](QvOutputStream& d) {
            writeRecord(d, atom(RecordType::PlaceholderAtom), [](QvOutputStream& a) {
                a.writeI32(0);
                a.writeByte(kPlaceholderObject);
                a.writeByte(kPlaceholderFull);
                a.writeBytes(kPlaceholderUnused, 2);
            });
        });
    });
    return true;
}

} // namespace Quorv
