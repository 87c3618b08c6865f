// Small OfficeArt records shared by every drawing: shape atoms, property tables and anchors
// ([MS-ODRAW] 2.2 and 2.3).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "core/output_stream.h"
#include "core/record.h"

namespace Quorv {
namespace officeart {

// Property ids (opid) of [MS-ODRAW] 2.3, without the fBid and fComplex flags.
enum class PropertyId : std::uint16_t {
    Rotation = 0x0004,
    ProtectionBooleans = 0x007F,
    LTxid = 0x0080,
    DxTextLeft = 0x0081,
    DyTextTop = 0x0082,
    DxTextRight = 0x0083,
    DyTextBottom = 0x0084,
    WrapText = 0x0085,
    AnchorText = 0x0087,
    TextFlow = 0x0088,
    TextBooleans = 0x00BF,
    Pib = 0x0104,
    PibName = 0x0105,
    PibFlags = 0x0106,
    GeoRight = 0x0142,
    GeoBottom = 0x0143,
    ShapePath = 0x0144,
    Vertices = 0x0145,
    SegmentInfo = 0x0146,
    GeometryBooleans = 0x017F,
    FillType = 0x0180,
    FillColor = 0x0181,
    FillOpacity = 0x0182,
    FillBackColor = 0x0183,
    FillBlip = 0x0186,
    FillRectRight = 0x0193,
    FillRectBottom = 0x0194,
    FillStyleBooleans = 0x01BF,
    LineColor = 0x01C0,
    LineFillBlip = 0x01C5,
    LineWidth = 0x01CB,
    LineDashing = 0x01CE,
    LineEndCapStyle = 0x01D7,
    LineStyleBooleans = 0x01FF,
    ShadowColor = 0x0201,
    ShadowStyleBooleans = 0x023F,
    ThreeDObjectBooleans = 0x02BF,
    BlackAndWhiteMode = 0x0304,
    ShapeBooleans = 0x033F,
    CalloutBooleans = 0x037F,
    TableProperties = 0x039F,
    TableRowProperties = 0x03A0,
    GroupShapeBooleans = 0x03BF,
    LeftLineStyleBooleans = 0x057F,
    TopLineStyleBooleans = 0x05BF,
    RightLineStyleBooleans = 0x05FF,
    BottomLineStyleBooleans = 0x063F,
    ColumnLineStyleBooleans = 0x067F,
};

// Flags of a property id: the value is a BLIP identifier, the value is the length of complex data.
constexpr std::uint16_t kBlipId = 0x4000;
constexpr std::uint16_t kComplex = 0x8000;

// Fill Style Boolean Properties ([MS-ODRAW] 2.3.7.43): fUsefFilled, with or without fFilled.
constexpr std::uint32_t kFilled = 0x00100010;
constexpr std::uint32_t kNotFilled = 0x00100000;
// Line Style Boolean Properties ([MS-ODRAW] 2.3.8.38): fUsefLine with fLine, the outline is drawn.
constexpr std::uint32_t kLineDrawn = 0x00080008;

// A colour value that names a colour of the colour scheme rather than RGB.
constexpr std::uint32_t schemeColor(std::uint8_t index) { return 0x08000000u | index; }

// The property table of an OfficeArtFOPT or OfficeArtTertiaryFOPT: entries in the order added,
// then the complex data of the entries that have some, in the same order.
class PropertyTable {
public:
    PropertyTable& add(PropertyId id, std::uint32_t value, std::uint16_t flags = 0);
    // A complex property: its value is the length of its size bytes of data, which follow the
    // entries. Returns where the caller writes them (valid until the table changes again).
    std::uint8_t* addComplex(PropertyId id, std::size_t size, std::uint16_t flags = 0);
    PropertyTable& addComplex(PropertyId id, const std::vector<std::uint8_t>& data, std::uint16_t flags = 0);
    // A complex IMsoArray ([MS-ODRAW] 2.2.51) of size bytes, header included, whose value counts
    // its elements but not its 6-byte header, as PowerPoint's files and LibreOffice give
    // pVertices; the data still starts with the header. Calligra Stage joins the points out of
    // order when pVertices counts the header. Returns where the caller writes the array.
    std::uint8_t* addArrayCountingElementsOnly(PropertyId id, std::size_t size);

    std::uint16_t count() const noexcept { return static_cast<std::uint16_t>(count_ + overflow_.size()); }
    // Writes the record (recVer 3, recInstance = number of properties).
    void write(QvOutputStream& s, RecordType type = RecordType::OfficeArtFOPT) const;
    // The record's bytes: a table that never changes is turned into bytes once and copied.
    std::vector<std::uint8_t> recordBytes(RecordType type = RecordType::OfficeArtFOPT) const;

private:
    struct Entry {
        std::uint16_t opid;
        std::uint32_t value;
    };
    // A shape's table fits in the inline entries (no allocation per shape); more go to overflow_.
    static constexpr std::size_t kInline = 24;
    std::array<Entry, kInline> entries_; // the first count_ are set
    std::size_t count_ = 0;
    std::vector<Entry> overflow_;
    // The complex data: in complexInline_ while it fits, else all of it in complexOverflow_.
    static constexpr std::size_t kInlineComplex = 128;
    std::array<std::uint8_t, kInlineComplex> complexInline_;
    std::vector<std::uint8_t> complexOverflow_;
    std::size_t complexSize_ = 0;
    std::uint8_t* growComplex(std::size_t size);
};

// The 6-byte header of an IMsoArray ([MS-ODRAW] 2.2.51): nElems, nElemsAlloc and cbElem (the
// size of an element, or 0xFFF0 for POINTs stored as two s16), at p. The counts are 16-bit:
// callers keep them below 0x10000. Returns where the elements go.
std::uint8_t* putArrayHeader(std::uint8_t* p, std::size_t count, std::size_t allocated, std::uint16_t cbElem);

// The line style booleans of the four sides and the column lines that a table's cells and grid
// lines carry in their tertiary property tables (all drawn, none of them set on the shape).
PropertyTable& addTableSideLineBooleans(PropertyTable& table);

// Shape types ([MS-ODRAW] 2.4.24 MSOSPT) used by the library.
enum class ShapeType : std::uint16_t {
    NotPrimitive = 0,
    Rectangle = 1,
    Line = 20,
    PictureFrame = 75,
    TextBox = 202,
};

// Flags of OfficeArtFSP ([MS-ODRAW] 2.2.40).
enum ShapeFlags : std::uint32_t {
    kGroup = 0x001,
    kChild = 0x002,
    kPatriarch = 0x004,
    kDeleted = 0x008,
    kOleShape = 0x010,
    kHaveMaster = 0x020,
    kFlipH = 0x040,
    kFlipV = 0x080,
    kConnector = 0x100,
    kHaveAnchor = 0x200,
    kBackground = 0x400,
    kHaveShapeType = 0x800,
};

// A rectangle of four s32: an OfficeArtFSPGR's coordinate space or an OfficeArtChildAnchor, in
// the group's coordinates.
struct Rect {
    std::int32_t left, top, right, bottom;
};

// OfficeArtClientAnchor as the presentation format defines it: four s16 in master units, in the
// order top, left, right, bottom ([MS-PPT] 2.7.1 SmallRectStruct).
struct ClientAnchor {
    std::int16_t top, left, right, bottom;
};

// The client anchor of a shape that may be rotated (text frames, pictures), from its box in
// points. The box's edges must be finite (QvException code 15, naming what). For a rotation of
// 45 to 135 or 225 to 315 degrees the format stores the box turned by 90 degrees about its centre
// (width and height swapped), as PowerPoint does and readers expect; other rotations store the box
// itself. The result is clamped to the anchor's range.
ClientAnchor rotatedClientAnchor(float left, float top, float right, float bottom, int degrees, const char* what);

// One shape: what its OfficeArtSpContainer ([MS-ODRAW] 2.2.14) holds, in the order written. Every
// shape kind describes itself as one of these and writeShape writes it.
struct Shape {
    std::optional<Rect> group; // OfficeArtFSPGR: the coordinate space of a group's first shape
    ShapeType type = ShapeType::NotPrimitive;
    std::uint32_t spid = 0;
    std::uint32_t flags = 0; // ShapeFlags of OfficeArtFSP
    PropertyTable properties; // OfficeArtFOPT, left out when empty
    PropertyTable tertiary;   // OfficeArtTertiaryFOPT, left out when empty
    // Property records that every shape of a kind has alike, turned into bytes once (headers
    // included); written after the two tables above.
    const std::vector<std::uint8_t>* sharedProperties = nullptr;
    std::variant<std::monostate, ClientAnchor, Rect> anchor; // on a slide, or in a group
    // The records after the anchor (OfficeArtClientData, OfficeArtClientTextbox), written whole
    // by a function of the shape's kind from what context points at: a plain function, so that
    // describing a shape allocates nothing. None when write is null.
    struct Tail {
        void (*write)(QvOutputStream&, void*) = nullptr;
        void* context = nullptr;
    } tail;
};

// Writes one OfficeArtSpContainer: the only place that opens one.
void writeShape(QvOutputStream& s, const Shape& shape);

} // namespace officeart
} // namespace Quorv
