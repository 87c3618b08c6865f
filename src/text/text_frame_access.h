// What the library's other parts (and its tests) need from a text frame beyond its public
// interface: the text itself, the size and run writers of the text box, the records that carry
// its text in a shape (a table cell's too), and moving the box (a table places its cells' text
// frames when it lays itself out).
#pragma once

#include <string>
#include <vector>

#include "core/output_stream.h"
#include "drawing/officeart_records.h"
#include "quorv/text.h"

namespace Quorv {
namespace detail {

struct TextFrameAccess {
    static const std::wstring& text(const PPTTextFrame& f) noexcept { return f.text_; }

    // The box's edges in points.
    static void setBounds(PPTTextFrame& f, float left, float top, float right, float bottom) noexcept {
        f.left = Length(left, 3);
        f.top = Length(top, 3);
        f.right = Length(right, 3);
        f.bottom = Length(bottom, 3);
    }

    // The properties of the frame's text in a shape's table, in property-id order: lTxid, the
    // four margins (EMU, clamped), and anchorText when not at the top.
    static void addTextProperties(officeart::PropertyTable& table, const PPTTextFrame& f);
    // Gives shape the frame's client data and client text box (an empty frame first gets one
    // space); the writer refers to f, which must outlive it.
    static void describeText(officeart::Shape& shape, PPTTextFrame& f);
    // The client data and client text box of the frame that frame points at.
    static void writeTail(QvOutputStream& s, void* frame);
    // The client text box, with the paragraph runs as writtenParagraphs gives them.
    static void writeTextBox(QvOutputStream& s, const PPTTextFrame& f,
                             const std::vector<MultiPPTParagraphFormat>& written);

    static bool calTextPropty(const PPTTextFrame& f) { return f.calTextPropty(); }
    static std::vector<float> calDefauleLineSpace(const PPTTextFrame& f) {
        std::vector<float> spaces;
        f.calDefauleLineSpace(spaces);
        return spaces;
    }
    static int calparalen(const PPTTextFrame& f) { return f.calparalen(); }
    static int calfontlen(const PPTTextFrame& f) { return f.calfontlen(); }
    static int calBulletlen(PPTTextFrame& f) { return f.calBulletlen(); }
    static bool writeParamInfo(const PPTTextFrame& f, QvOutputStream& s) { return f.writeParamInfo(s); }
    static bool writeFontInfo(const PPTTextFrame& f, QvOutputStream& s) { return f.writeFontInfo(s); }
    static bool outtextbox(PPTTextFrame& f, QvOutputStream& s) { return f.outtextbox(s); }
};

} // namespace detail
} // namespace Quorv
