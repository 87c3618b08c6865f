// The shape-container component: writes the OfficeArt shape container ([MS-ODRAW] 2.2.14
// OfficeArtSpContainer) of a line, a rectangle or a polyline that sits directly on a slide.
//
// A container is built from the shape's box, given setters, and then either measured
// (Translate, GetLength) or written (Output). Translate turns the inputs into the values of the
// record; Output writes those values (translating first when nobody has); GetLength counts what
// Output writes, so the size and the bytes have one description.
//
// The record of every shape, in order:
//   OfficeArtFSP          shape type, spid = 0x800 + the shape id, fHaveAnchor | fHaveSpt (+ flips)
//   OfficeArtFOPT         the properties, sorted by property id
//   OfficeArtClientAnchor top, left, right, bottom as s16 master units ([MS-PPT] 2.7.1)
//
// What the inputs become:
//   - Colours are OfficeArtCOLORREF values. -1, and any value whose high byte is 0xFF (a colour
//     readers must ignore, [MS-ODRAW] 2.2.2), counts as "not set": an outline then draws in
//     scheme colour 1 (text and lines), a fill is switched off.
//   - The outline is always drawn; its width is written in EMU and its dash style
//     (MSOLINEDASHING) only when it is not solid, which is the default of every reader.
//   - Fill opacity, a percentage 0..100, becomes 16.16 fixed point and is written only for a
//     filled shape that is not fully opaque.
//   - Coordinates are points; they are truncated to master units and clamped to the client
//     anchor's range. Infinite and NaN coordinates or widths throw QV_ERR_SHAPE_NOT_FINITE.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/output_stream.h"
#include "drawing/officeart_records.h"

namespace Quorv {
namespace officedrawing {

// A length in points (the component's own type, apart from the library's Length).
class Length {
public:
    Length() noexcept = default;
    Length(float points) noexcept : points_(points) {} // NOLINT: a float is a length in points
    float points() const noexcept { return points_; }

private:
    float points_ = 0.0f;
};

// A vertex of a polyline, in points relative to the left and top of the polyline's box.
struct Point {
    Length x;
    Length y;
};

// Dash styles of an outline ([MS-ODRAW] 2.4.15).
enum MSOLINEDASHING : std::uint32_t {
    msolineSolid = 0,
    msolineDashSys = 1,
    msolineDotSys = 2,
    msolineDashDotSys = 3,
    msolineDashDotDotSys = 4,
    msolineDotGEL = 5,
    msolineDashGEL = 6,
    msolineLongDashGEL = 7,
    msolineDashDotGEL = 8,
    msolineLongDashDotGEL = 9,
    msolineLongDashDotDotGEL = 10,
};

// What every container has: id, outline, and the translate / measure / write protocol.
class CommonShape {
public:
    virtual ~CommonShape();

    // The shape id the slide handed out; the record's spid is 0x800 + id (the slide's drawing
    // owns the spids from 0x800, its group shape being 0x800 itself).
    void SetShapeId(int id);
    // An OfficeArtCOLORREF, or -1 (not set: scheme colour 1).
    void SetLineColor(int color);
    void SetLineWidth(Length width);
    void SetLineDashing(MSOLINEDASHING dashing);

    // Turns the inputs into the values of the record. Throws QvException for inputs that
    // cannot be written (see the top of this file).
    void Translate();
    // The recLen of the record Output writes: its size minus the 8-byte header.
    unsigned GetLength() const;
    // Writes one complete OfficeArtSpContainer at the stream's position. Returns true.
    bool Output(QvOutputStream& stream) const;

protected:
    CommonShape() = default;
    CommonShape(const CommonShape&) = default;
    CommonShape& operator=(const CommonShape&) = default;

    // The shape's type, flags beyond fHaveAnchor | fHaveSpt, properties and anchor; Translate adds
    // the spid and those two flags.
    using Record = officeart::Shape;
    virtual Record translate() const = 0;
    // Any setter makes an earlier Translate stale.
    void changed() noexcept { translated_.reset(); }

    // Outline properties, in property-id order: lineColor, lineWidth, lineDashing (when not
    // solid), Line Style Boolean Properties (line drawn).
    void addLineProperties(officeart::PropertyTable& properties) const;
    // Fill properties: fillColor and fillOpacity (when filled), Fill Style Boolean Properties.
    static void addFillProperties(officeart::PropertyTable& properties, int color, int opacityPercent);

private:
    Record complete(Record r) const;

    std::uint32_t spid_ = 0x800;
    int lineColor_ = -1;
    Length lineWidth_{0.75f};
    MSOLINEDASHING dashing_ = msolineSolid;
    std::optional<Record> translated_;
};

// A straight line from (x1, y1) to (x2, y2), slide points, in any direction: the anchor is the
// box the two points span, and the flips say which corners the line joins (msosptLine runs from
// the top-left to the bottom-right corner of its box).
class LineShapeContainer : public CommonShape {
public:
    LineShapeContainer(Length x1, Length y1, Length x2, Length y2);
    ~LineShapeContainer() override;

private:
    Record translate() const override;

    Length x1_, y1_, x2_, y2_;
};

// A rectangle given by its left, top, right and bottom edges (slide points, in any order).
class RectangleShapeContainer : public CommonShape {
public:
    RectangleShapeContainer(Length left, Length top, Length right, Length bottom);
    ~RectangleShapeContainer() override;

    // An OfficeArtCOLORREF, or -1 (not set: the rectangle is not filled).
    void SetFillColor(int color);
    // Opacity of the fill in percent, 0..100 (clamped).
    void SetFillOpacity(int percent);

private:
    Record translate() const override;

    Length left_, top_, right_, bottom_;
    int fillColor_ = -1;
    int opacity_ = 100;
};

// An open polyline or, when the last vertex repeats the first, a closed polygon: a freeform
// (msosptNotPrimitive) with its own geometry.
//
// The box only places the vertices, which are given relative to its left and top and may lie
// outside it. The anchor is the bounding box of the vertices; the geometry space is that anchor
// in master units from (0, 0), at least 1 wide and high, and the vertices are measured from its
// top-left corner. The path is moveTo, one lineTo per further vertex, then close for a polygon,
// and end (shapePath msoshapeLines or msoshapeLinesClosed). An open polyline with a fill is
// filled the way PowerPoint fills an open freeform: as if closed by a straight line, while its
// outline stays open.
class PolyLineShapeContainer : public CommonShape {
public:
    PolyLineShapeContainer(Length left, Length top, Length right, Length bottom);
    ~PolyLineShapeContainer() override;

    // A vertex in points relative to the box's left and top; the container keeps a copy.
    void AddPoint(const Point& p);
    // An OfficeArtCOLORREF, or -1 (not set: not filled).
    void SetFillColor(int color);
    // Opacity of the fill in percent, 0..100 (clamped).
    void SetFillOpacity(int percent);

    // The most vertices a freeform can hold (IMsoArray counts are 16-bit, and the segment list
    // has one entry per vertex plus the end, and the close of a polygon).
    static constexpr std::size_t kMaxOpenVertices = 0xFFFF - 1;
    static constexpr std::size_t kMaxClosedVertices = 0xFFFF - 2;

private:
    Record translate() const override;
    bool closed() const noexcept;

    Length left_, top_, right_, bottom_;
    std::vector<Point> points_;
    int fillColor_ = -1;
    int opacity_ = 100;
};

} // namespace officedrawing
} // namespace Quorv
