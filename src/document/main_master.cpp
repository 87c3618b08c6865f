#include "document/main_master.h"

#include <string>

#include "core/record.h"
#include "core/text_encoding.h"
#include "document/main_master_data.h"
#include "drawing/common_records.h"
#include "drawing/officeart_records.h"
#include "text/text_exceptions.h"

namespace Quorv {

namespace {

using namespace master_data;
using officeart::PropertyId;
using officeart::PropertyTable;
using officeart::schemeColor;
using officeart::ShapeType;

constexpr std::uint16_t kMasterDrawingId = 1;

void writeMasterSlideAtom(QvOutputStream& s) {
    writeRecord(s, atom(RecordType::SlideAtom, 2), [](QvOutputStream& o) {
        o.writeU32(1); // geom: title and body
        // Master title, master body, master date, master footer, master slide number.
        const std::uint8_t placeholders[8] = {0x01, 0x02, 0x07, 0x09, 0x08, 0, 0, 0};
        o.writeBytes(placeholders, sizeof placeholders);
        o.writeU32(0);      // masterIdRef
        o.writeU32(0);      // notesIdRef
        o.writeU16(0);      // slideFlags
        o.writeU16(0x300C); // unused
    });
}

void writeTextHeader(QvOutputStream& s, std::uint32_t textType) {
    writeRecord(s, atom(RecordType::TextHeaderAtom), [&](QvOutputStream& o) { o.writeU32(textType); });
}

// One RT_TextSpecialInfoAtom run per count: spelling information only.
void writeSpellingRuns(QvOutputStream& s, std::initializer_list<std::uint32_t> counts) {
    writeRecord(s, atom(RecordType::TextSpecialInfoAtom), [&](QvOutputStream& o) {
        for (std::uint32_t count : counts) {
            o.writeU32(count);
            o.writeU32(0x00000001); // masks: spell
            o.writeU16(0);          // spellInfo
        }
    });
}

// The prompt texts of the title and body placeholders, with their indent levels.
void writePromptText(QvOutputStream& s, std::uint32_t textType, const std::wstring& text,
                     std::initializer_list<std::pair<std::uint32_t, std::uint16_t>> levelRuns) {
    writeTextHeader(s, textType);
    std::string bytes = toCodePage932(text);
    writeRecordBytes(s, atom(RecordType::TextBytesAtom), bytes.data(), bytes.size());
    writeRecord(s, atom(RecordType::MasterTextPropAtom), [&](QvOutputStream& o) {
        for (const auto& run : levelRuns) {
            o.writeU32(run.first);  // count
            o.writeU16(run.second); // indentLevel
        }
    });
    // The runs cover the text and the closing paragraph mark the format counts.
    writeSpellingRuns(s, {static_cast<std::uint32_t>(bytes.size() + 1)});
}

// The "*" field of the date, footer and slide-number placeholders, 14 points.
void writeFieldText(QvOutputStream& s, std::uint16_t alignment, RecordType metaCharAtom) {
    writeTextHeader(s, 4);
    writeRecord(s, atom(RecordType::TextCharsAtom), [](QvOutputStream& o) { o.writeU16(u'*'); });
    writeRecord(s, atom(RecordType::StyleTextPropAtom), [&](QvOutputStream& o) {
        ParagraphException paragraph;
        if (alignment != 0) {
            paragraph.mask = pf::kAlign;
            paragraph.textAlignment = alignment;
        }
        o.writeU32(2); // count
        o.writeU16(0); // indentLevel
        writeParagraphException(o, paragraph);
        CharacterException character;
        character.mask = cf::kSize;
        character.fontSize = 14;
        o.writeU32(2);
        writeCharacterException(o, character);
    });
    writeRecord(s, atom(metaCharAtom), [](QvOutputStream& o) { o.writeI32(0); }); // position
    writeSpellingRuns(s, {1, 1});
}

template <class Text>
void writePlaceholder(QvOutputStream& s, const Placeholder& p, Text&& writeText) {
    officeart::Shape shape;
    shape.type = ShapeType::Rectangle;
    shape.spid = p.spid;
    shape.flags = officeart::kHaveAnchor | officeart::kHaveShapeType;
    shape.properties.add(PropertyId::ProtectionBooleans, 0x00010001).add(PropertyId::LTxid, 0x00D7D8B0);
    if (p.anchorMiddle) shape.properties.add(PropertyId::AnchorText, 1);
    shape.properties.add(PropertyId::FillColor, schemeColor(4))
        .add(PropertyId::FillBackColor, schemeColor(0))
        .add(PropertyId::FillStyleBooleans, 0x00110001)
        .add(PropertyId::LineColor, schemeColor(1))
        .add(PropertyId::LineStyleBooleans, 0x00090001)
        .add(PropertyId::ShadowColor, schemeColor(2));
    shape.anchor = p.anchor;
    struct Tail {
        const Placeholder& p;
        Text& writeText;
        static void write(QvOutputStream& o, void* context) {
            Tail& t = *static_cast<Tail*>(context);
            writePlaceholderData(o, t.p.data);
            writeRecord(o, container(RecordType::OfficeArtClientTextbox), t.writeText);
        }
    } tail{p, writeText};
    shape.tail = {&Tail::write, &tail};
    officeart::writeShape(s, shape);
}

void writeMasterDrawing(QvOutputStream& s) {
    writeRecord(s, container(RecordType::Drawing), [](QvOutputStream& drawing) {
        writeRecord(drawing, container(RecordType::OfficeArtDgContainer), [](QvOutputStream& dg) {
            writeRecord(dg, atom(RecordType::OfficeArtFDG, 0, kMasterDrawingId), [](QvOutputStream& o) {
                o.writeU32(6);     // csp
                o.writeU32(0x406); // spidCur
            });
            writeRecord(dg, container(RecordType::OfficeArtSpgrContainer), [](QvOutputStream& group) {
                // The master's group rectangle is filled with 0xF5 bytes rather than zeros.
                officeart::writeShape(group, patriarchShape(0x400, static_cast<std::int32_t>(0xF5F5F5F5u)));
                writePlaceholder(group, kTitle, [](QvOutputStream& t) {
                    writePromptText(t, kTitle.textType, L"Click to edit Master title style", {{33, 0}});
                });
                writePlaceholder(group, kBody, [](QvOutputStream& t) {
                    writePromptText(t, kBody.textType,
                                    L"Click to edit Master text styles\rSecond Level\rThird Level\r"
                                    L"Fourth Level\rFifth Level",
                                    {{33, 0}, {13, 1}, {12, 2}, {13, 3}, {12, 4}});
                });
                writePlaceholder(group, kDate, [](QvOutputStream& t) {
                    writeFieldText(t, 0, RecordType::GenericDateMetaCharAtom);
                });
                writePlaceholder(group, kFooter, [](QvOutputStream& t) {
                    writeFieldText(t, 1, RecordType::FooterMetaCharAtom);
                });
                writePlaceholder(group, kSlideNumber, [](QvOutputStream& t) {
                    writeFieldText(t, 2, RecordType::SlideNumberMetaCharAtom);
                });
            });
            officeart::writeShape(dg, backgroundShape(0x401, 0x00000800));
        });
    });
}

} // namespace

void writeMainMaster(QvOutputStream& s) {
    writeRecord(s, container(RecordType::MainMaster), [](QvOutputStream& o) {
        writeMasterSlideAtom(o);
        for (const ColorScheme& scheme : kSchemes) writeColorScheme(o, 6, scheme);
        for (const TextStyle& style : textStyles()) writeTextStyle(o, style);
        writeMasterDrawing(o);
        writeColorScheme(o, 1, kSchemes[0]);
        writePpt10Tags(o);
        writeAsciiCString(o, 2, "Default Design");
    });
}

} // namespace Quorv
