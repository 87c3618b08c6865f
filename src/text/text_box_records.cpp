// The records of a text box on a slide: the OfficeArtSpContainer with the shape atom, its
// properties and anchor, the client data holding the bullet and numbering extension
// (RT_ProgTags / "___PPT9" / RT_StyleTextProp9Atom) and the client text box with the text and
// its style runs ([MS-PPT] 2.9.76 OfficeArtClientTextbox, 2.9.3 TextHeaderAtom).
#include <climits>
#include <cstdint>
#include <vector>

#include "core/output_stream.h"
#include "core/record.h"
#include "core/text_encoding.h"
#include "core/units.h"
#include "drawing/common_records.h"
#include "drawing/officeart_records.h"
#include "drawing/shape_size.h"
#include "quorv/text.h"
#include "text/style_runs.h"
#include "text/text_frame_access.h"

namespace Quorv {

namespace {

using officeart::PropertyId;
using officeart::PropertyTable;
using officeart::schemeColor;

// Text frames on a slide are numbered in drawing 2: spid 0x800 + shape id.
constexpr std::uint32_t kSpidBase = 0x800;
// TextHeaderAtom.textType: Tx_TYPE_OTHER, text that belongs to no placeholder.
constexpr std::uint32_t kTextTypeOther = 4;
// TextRulerAtom: the default tab size is given (fDefaultTabSize), 288 master units (half an inch).
constexpr std::uint32_t kRulerMasks = 0x00000001;
constexpr std::uint16_t kDefaultTabSize = 288;
// A line width of 0.75 point is the format's default and is not written.
constexpr float kDefaultLineWidth = 0.75f;

// Margins in EMU; they do not place the shape, so they are clamped (NaN as 0).
std::uint32_t emu(float points) noexcept { return static_cast<std::uint32_t>(units::clampEmu(points)); }

// The shape's property table, in the order of the property ids.
PropertyTable textBoxProperties(const PPTTextFrame& frame) {
    PropertyTable t;
    const int rotation = frame.get_Srotate();
    if (rotation != 0) {
        // An angle below 0 is written as the same turn clockwise (-90 as 270).
        const int degrees = rotation < 0 ? rotation + 360 : rotation;
        t.add(PropertyId::Rotation, static_cast<std::uint32_t>(degrees) << 16);
    }
    detail::TextFrameAccess::addTextProperties(t, frame);
    if (frame.get_rotate()) t.add(PropertyId::TextFlow, 1); // msotxflTopToBottom
    t.add(PropertyId::TextBooleans, 0x00020002);            // fUsefFitShapeToText, fFitShapeToText

    const int fill = frame.get_FillColor();
    t.add(PropertyId::FillColor, fill == -1 ? schemeColor(4) : static_cast<std::uint32_t>(fill));
    if (frame.get_ShapeOpac() < 100) {
        t.add(PropertyId::FillOpacity, static_cast<std::uint32_t>(frame.GetShapeOpacity(frame.get_ShapeOpac())));
    }
    const int back = frame.get_BackColor();
    t.add(PropertyId::FillBackColor, back == -1 ? schemeColor(0) : static_cast<std::uint32_t>(back));
    // fUsefFilled, with fFilled when the host gave a fill colour.
    t.add(PropertyId::FillStyleBooleans, fill != -1 ? officeart::kFilled : officeart::kNotFilled);

    const int line = frame.get_LineColor();
    t.add(PropertyId::LineColor, line == -1 ? schemeColor(1) : static_cast<std::uint32_t>(line));
    const float width = frame.get_LineSWidth();
    // MS-ODRAW's lineWidth is 0..20116800 EMU (1584 points); NaN gives 0.
    if (width != kDefaultLineWidth) {
        t.add(PropertyId::LineWidth, static_cast<std::uint32_t>(units::clamp(width * 12700.0, 0, 20116800)));
    }
    const int style = frame.get_LineStyle();
    if (style > -1) {
        std::uint32_t dashing = static_cast<std::uint32_t>(style);
        if (style == 1) dashing = 2;
        if (style == 3 || style == 4 || style == 5) dashing = 0;
        t.add(PropertyId::LineDashing, dashing);
        if (style == 1) t.add(PropertyId::LineEndCapStyle, 0); // msolineEndCapRound
    }
    // fUsefLine set and fLine clear: a text frame draws no outline of its own.
    const bool lineSet = line != -1 || width != kDefaultLineWidth || style > -1;
    t.add(PropertyId::LineStyleBooleans, lineSet ? 0x00080000 : 0x00080010);
    t.add(PropertyId::ShadowColor, schemeColor(2));
    return t;
}

// OfficeArtClientData holding the programmable tag "___PPT9" whose blob is the
// RT_StyleTextProp9Atom with the bullet and numbering entries.
void writeClientData(QvOutputStream& s, const std::vector<text::BulletExtension>& entries) {
    writeRecord(s, container(RecordType::OfficeArtClientData), [&](QvOutputStream& data) {
        writeRecord(data, container(RecordType::ProgTags), [&](QvOutputStream& tags) {
            writeRecord(tags, container(RecordType::ProgBinaryTag), [&](QvOutputStream& tag) {
                writeAsciiCString(tag, 0, "___PPT9");
                writeRecord(tag, atom(RecordType::BinaryTagDataBlob), [&](QvOutputStream& blob) {
                    writeRecord(blob, atom(RecordType::StyleTextProp9Atom), [&](QvOutputStream& o) {
                        for (const text::BulletExtension& e : entries) text::writeBulletExtension(o, e);
                    });
                });
            });
        });
    });
}

} // namespace

void detail::TextFrameAccess::addTextProperties(officeart::PropertyTable& t, const PPTTextFrame& f) {
    t.add(PropertyId::LTxid, 0);
    t.add(PropertyId::DxTextLeft, emu(f.get_textleft()));
    t.add(PropertyId::DyTextTop, emu(f.get_texttop()));
    t.add(PropertyId::DxTextRight, emu(f.get_textright()));
    t.add(PropertyId::DyTextBottom, emu(f.get_textbottom()));
    if (f.get_anchor() > 0) t.add(PropertyId::AnchorText, static_cast<std::uint32_t>(f.get_anchor()));
}

void detail::TextFrameAccess::describeText(officeart::Shape& shape, PPTTextFrame& f) {
    f.ensureText();
    shape.tail = {&writeTail, &f};
}

void detail::TextFrameAccess::writeTail(QvOutputStream& s, void* frame) {
    const PPTTextFrame& f = *static_cast<const PPTTextFrame*>(frame);
    std::vector<MultiPPTParagraphFormat> storage;
    const std::vector<MultiPPTParagraphFormat>& written = text::writtenParagraphs(f.params_, storage);
    writeClientData(s, text::bulletExtensions(written));
    writeTextBox(s, f, written);
}

int PPTTextFrame::calSize(int*, bool whole) {
    if (whole) return slideRecordLength(*this);
    // The client data with its header, and the client text box without its header.
    return static_cast<int>(recordLength([this](QvOutputStream& o) { output(o, true); }));
}

bool PPTTextFrame::output(QvOutputStream& stream, bool tail) {
    officeart::Shape shape;
    detail::TextFrameAccess::describeText(shape, *this);
    if (tail) {
        detail::TextFrameAccess::writeTail(stream, this);
        return true;
    }
    shape.type = officeart::ShapeType::TextBox;
    shape.spid = static_cast<std::uint32_t>(get_ShapeId()) + kSpidBase;
    shape.flags = officeart::kHaveAnchor | officeart::kHaveShapeType;
    shape.properties = textBoxProperties(*this);
    shape.anchor = officeart::rotatedClientAnchor(left, top, right, bottom, get_Srotate(), "text frame edge");
    officeart::writeShape(stream, shape);
    return true;
}

bool PPTTextFrame::outtextbox(QvOutputStream& stream) {
    std::vector<MultiPPTParagraphFormat> storage;
    detail::TextFrameAccess::writeTextBox(stream, *this, text::writtenParagraphs(params_, storage));
    return true;
}

void detail::TextFrameAccess::writeTextBox(QvOutputStream& stream, const PPTTextFrame& f,
                                           const std::vector<MultiPPTParagraphFormat>& written) {
    const std::size_t fontCount = text::fontTableSize(stream);
    const bool styled = text::hasTextProperties(f.fonts_, written, fontCount);
    writeRecord(stream, container(RecordType::OfficeArtClientTextbox), [&](QvOutputStream& o) {
        writeRecord(o, atom(RecordType::TextHeaderAtom), [](QvOutputStream& h) { h.writeU32(kTextTypeOther); });
        // U+0000 is written as U+FFFD: readers end the text at a NUL character and lose the rest
        // of the frame; the replacement keeps every count in place.
        writeRecord(o, atom(RecordType::TextCharsAtom), [&](QvOutputStream& c) { writeUtf16(c, f.text_, 0xFFFD); });
        if (styled) {
            writeRecord(o, atom(RecordType::StyleTextPropAtom), [&](QvOutputStream& runs) {
                text::writeParagraphRuns(runs, f.text_, f.fonts_, written, fontCount);
                text::writeCharacterRuns(runs, f.text_, f.fonts_, fontCount);
            });
        }
        writeRecord(o, atom(RecordType::TextRulerAtom), [](QvOutputStream& r) {
            r.writeU32(kRulerMasks);
            r.writeU16(kDefaultTabSize);
        });
    });
}

int PPTTextFrame::calBulletlen() {
    return static_cast<int>(
        measure([this](QvOutputStream& o) { writeClientData(o, text::bulletExtensions(text::writtenParagraphs(params_))); }));
}

} // namespace Quorv
