#include "document/document_container.h"

#include <cstdint>

#include "core/record.h"
#include "core/text_encoding.h"
#include "core/units.h"
#include "document/main_master_data.h"
#include "drawing/common_records.h"
#include "drawing/officeart_records.h"

namespace Quorv {

namespace {

// lfCharSet is a byte; a character set outside 0..255 is written as DEFAULT_CHARSET (1).
std::uint32_t charsetByte(int charset) noexcept {
    return charset >= 0 && charset <= 0xFF ? static_cast<std::uint32_t>(charset) : 1u;
}

using officeart::PropertyId;
using officeart::PropertyTable;
using officeart::schemeColor;

// The slide size in master units. MS-PPT allows 576 to 32256 (1 to 56 inches): a size outside
// (0 when the host set none, negative, huge, NaN) is brought to the nearest end of that range.
std::int32_t slideSizeUnits(float points) {
    constexpr std::int64_t kMin = 576, kMax = 32256;
    return static_cast<std::int32_t>(units::clamp(static_cast<double>(points * 8.0f), kMin, kMax));
}

void writeDocumentAtom(QvOutputStream& s, float width, float height) {
    writeRecord(s, atom(RecordType::DocumentAtom, 1), [&](QvOutputStream& o) {
        o.writeI32(slideSizeUnits(width));  // slideSize.x
        o.writeI32(slideSizeUnits(height)); // slideSize.y
        o.writeI32(4320);                // notesSize.x
        o.writeI32(5760);                // notesSize.y
        o.writeI32(5);                   // serverZoom 5/10
        o.writeI32(10);
        o.writeU32(0); // notesMasterPersistIdRef: none
        o.writeU32(0); // handoutMasterPersistIdRef: none
        o.writeU16(1); // firstSlideNumber
        o.writeU16(6); // slideSizeType: custom
        o.writeByte(0); // fSaveWithFonts
        o.writeByte(0); // fOmitTitlePlace
        o.writeByte(0); // fRightToLeft
        o.writeByte(1); // fShowComments
    });
}

// Face names are cut to 31 UTF-16 code units so that the 64-byte field always holds the
// terminating null MS-PPT requires; a surrogate pair is never split.
std::u16string faceName(const std::wstring& name) {
    std::u16string units = toUtf16(name);
    constexpr std::size_t kMaxUnits = 31;
    if (units.size() > kMaxUnits) {
        std::size_t n = kMaxUnits;
        if (units[n - 1] >= 0xD800 && units[n - 1] <= 0xDBFF) --n;
        units.resize(n);
    }
    return units;
}

void writeFontCollection(QvOutputStream& s, const std::vector<FontFamilyName>& fonts) {
    writeRecord(s, container(RecordType::FontCollection), [&](QvOutputStream& o) {
        for (std::size_t i = 0; i < fonts.size(); ++i) {
            std::u16string name = faceName(fonts[i].name);
            writeRecord(o, atom(RecordType::FontEntityAtom, 0, static_cast<std::uint16_t>(i)),
                        [&](QvOutputStream& f) {
                            f.writeBytes(toUtf16Bytes(name));
                            f.writeZeros(64 - 2 * name.size());
                            // lfCharSet, then flags, font types and lfPitchAndFamily, all 0.
                            f.writeU32(charsetByte(fonts[i].charset));
                        });
        }
    });
}

void writeEnvironment(QvOutputStream& s, const std::vector<FontFamilyName>& fonts) {
    // The default character format: masks kumi and ansiTypeface, style 0x80, ansiFontRef 0.
    static const std::uint8_t kCharFormatException[8] = {0x80, 0x00, 0x40, 0x00, 0x80, 0x00, 0x00, 0x00};
    // The default special info: spell, lang 0x0411, altLang 0x0409.
    static const std::uint8_t kSpecialInfoDefault[10] = {0x07, 0x00, 0x00, 0x00, 0x02,
                                                         0x00, 0x11, 0x04, 0x09, 0x04};

    writeRecord(s, container(RecordType::Environment), [&](QvOutputStream& o) {
        writeRecord(o, container(RecordType::Kinsoku, 2), [](QvOutputStream& k) {
            writeRecord(k, atom(RecordType::KinsokuAtom, 0, 3), [](QvOutputStream& a) { a.writeU32(1); });
        });
        writeFontCollection(o, fonts);
        writeRecordBytes(o, atom(RecordType::TextCharFormatExceptionAtom), kCharFormatException,
                         sizeof kCharFormatException);
        writeRecord(o, atom(RecordType::TextParagraphFormatExceptionAtom), [](QvOutputStream& p) {
            p.writeU16(0);          // reserved
            p.writeU32(0x002E8800); // masks: align, defaultTabSize, charWrap, wordWrap, overflow, textDirection
            p.writeU16(0);          // textAlignment: left
            p.writeU16(0x0024);     // defaultTabSize
            p.writeU16(7);          // wrap flags
            p.writeU16(0);          // textDirection
        });
        writeRecordBytes(o, atom(RecordType::TextSpecialInfoDefaultAtom), kSpecialInfoDefault,
                         sizeof kSpecialInfoDefault);
        master_data::writeTextStyle(o, master_data::defaultTextStyle());
    });
}

void writeDrawingGroup(QvOutputStream& s, const DocumentContainerInput& in) {
    writeRecord(s, container(RecordType::DrawingGroup), [&](QvOutputStream& o) {
        writeRecord(o, container(RecordType::OfficeArtDggContainer), [&](QvOutputStream& dgg) {
            writeRecord(dgg, atom(RecordType::OfficeArtFDGGBlock), [](QvOutputStream& b) {
                b.writeU32(0x00001004); // spidMax
                b.writeU32(5);          // cidcl
                b.writeU32(7);          // cspSaved
                b.writeU32(2);          // cdgSaved
                // OfficeArtIDCL: (dgid, cspidCur) of the four shape-id clusters.
                const std::uint32_t clusters[8] = {1, 7, 0, 4, 0, 4, 2, 4};
                for (std::uint32_t v : clusters) b.writeU32(v);
            });
            if (in.pictures.size() >= 1) {
                // The store counts its entries (one for each picture's data, and the empty first one) in the 12 bits
                // of recInstance; beyond 4,095 it says 4,095. Readers take the entries from the
                // container's length (Apache POI and LibreOffice read all of them).
                const int count = in.pictures.size() + 1;
                const auto entries = static_cast<std::uint16_t>(count < 0xFFF ? count : 0xFFF);
                writeRecord(dgg, container(RecordType::OfficeArtBStoreContainer, entries),
                            [&](QvOutputStream& store) {
                                // The empty first entry; picture ids count from the entry after it.
                                picture::writeStoreEntry(store, picture::StoreEntry{});
                                in.pictures.writeEntries(store);
                            });
            }
            PropertyTable()
                .add(PropertyId::FillColor, schemeColor(4))
                .add(PropertyId::FillBackColor, schemeColor(0))
                .add(PropertyId::FillBlip, 0, officeart::kBlipId)
                .add(PropertyId::FillStyleBooleans, 0x00100010)
                .add(PropertyId::LineColor, schemeColor(1))
                .add(PropertyId::LineFillBlip, 0, officeart::kBlipId)
                .add(PropertyId::LineStyleBooleans, 0x00080008)
                .add(PropertyId::ShadowColor, schemeColor(2))
                .write(dgg);
            writeRecord(dgg, atom(RecordType::OfficeArtSplitMenuColorContainer, 0, 4), [](QvOutputStream& c) {
                c.writeU32(schemeColor(4));
                c.writeU32(schemeColor(1));
                c.writeU32(schemeColor(2));
                c.writeU32(0x100000F7); // system colour 0xF7
            });
        });
    });
}

void writeMasterList(QvOutputStream& s) {
    writeRecord(s, container(RecordType::SlideListWithText, 1), [](QvOutputStream& o) {
        writeRecord(o, atom(RecordType::SlidePersistAtom), [](QvOutputStream& a) {
            a.writeU32(kMasterPersistId);
            a.writeU32(0); // flags
            a.writeU32(0); // cTexts
            a.writeU32(kMainMasterId);
            a.writeU32(0); // reserved
        });
    });
}

// The document's view and tag settings, the same in every file: the normal view's split bars,
// the slide view (65% zoom, snap to grid, one horizontal and one vertical guide), no macros, the
// notes view (100%), and the grid spacing of the "___PPT10" tag.
void writeViewSettings(QvOutputStream& s) {
    static const std::uint8_t kNormalViewSetInfo9[20] = {0xBA, 0x93, 0xB0, 0xF6, 0x00, 0xCA, 0x9A, 0x3B, 0xAD, 0x07,
                                                         0x94, 0xC7, 0x00, 0xCA, 0x9A, 0x3B, 0x01, 0x01, 0x00, 0x00};
    static const std::uint8_t kSlideViewInfo[3] = {0x00, 0x01, 0x00};
    static const std::uint8_t kSlideViewScale[52] = {
        0x41, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x88, 0x81, 0xC9, 0x00, 0x14, 0x97, 0x12, 0x00, 0x07, 0xC9, 0x0C, 0x30, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0xCC, 0xFD, 0xFF, 0xFF, 0x8E, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x12, 0x00};
    static const std::uint8_t kHorizontalGuide[8] = {0x00, 0x00, 0x00, 0x00, 0x70, 0x08, 0x00, 0x00};
    static const std::uint8_t kVerticalGuide[8] = {0x01, 0x00, 0x00, 0x00, 0x40, 0x0B, 0x00, 0x00};
    static const std::uint8_t kVbaInfo[12] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
    static const std::uint8_t kNotesViewScale[52] = {
        0x64, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x02, 0x00,
        0x00, 0x00, 0xB3, 0x78, 0x0C, 0x30, 0x74, 0xA9, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x12, 0x00};
    static const std::uint8_t kGridSpacing10[8] = {0x00, 0xC0, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00};

    writeRecord(s, container(RecordType::List), [](QvOutputStream& o) {
        writeRecord(o, container(RecordType::NormalViewSetInfo9, 1), [](QvOutputStream& c) {
            writeRecordBytes(c, atom(RecordType::NormalViewSetInfo9Atom), kNormalViewSetInfo9,
                             sizeof kNormalViewSetInfo9);
        });
        writeRecord(o, container(RecordType::SlideViewInfo), [](QvOutputStream& c) {
            writeRecordBytes(c, atom(RecordType::SlideViewInfoAtom), kSlideViewInfo, sizeof kSlideViewInfo);
            writeRecordBytes(c, atom(RecordType::ViewInfoAtom), kSlideViewScale, sizeof kSlideViewScale);
            writeRecordBytes(c, atom(RecordType::GuideAtom, 0, 7), kHorizontalGuide, sizeof kHorizontalGuide);
            writeRecordBytes(c, atom(RecordType::GuideAtom, 0, 7), kVerticalGuide, sizeof kVerticalGuide);
        });
        writeRecord(o, container(RecordType::VbaInfo, 1), [](QvOutputStream& c) {
            writeRecordBytes(c, atom(RecordType::VbaInfoAtom, 2), kVbaInfo, sizeof kVbaInfo);
        });
        writeRecord(o, container(RecordType::NotesTextViewInfo9, 1), [](QvOutputStream& c) {
            writeRecordBytes(c, atom(RecordType::ViewInfoAtom), kNotesViewScale, sizeof kNotesViewScale);
        });
        writeRecord(o, container(RecordType::ProgTags), [](QvOutputStream& tags) {
            writeRecord(tags, container(RecordType::ProgBinaryTag), [](QvOutputStream& tag) {
                writeAsciiCString(tag, 0, "___PPT10");
                writeRecord(tag, atom(RecordType::BinaryTagDataBlob), [](QvOutputStream& blob) {
                    writeRecordBytes(blob, atom(RecordType::GridSpacing10Atom), kGridSpacing10,
                                     sizeof kGridSpacing10);
                });
            });
        });
    });
}

void writeSlideList(QvOutputStream& s, std::size_t slideCount) {
    // The per-slide atoms carry no text: each slide's texts live in its own drawing.
    static const std::uint8_t kSpellingRun[10] = {0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
    writeRecord(s, container(RecordType::SlideListWithText), [&](QvOutputStream& o) {
        for (std::size_t i = 0; i < slideCount; ++i) {
            writeRecord(o, atom(RecordType::SlidePersistAtom), [&](QvOutputStream& a) {
                a.writeU32(slidePersistId(i));
                a.writeU32(4); // fNonOutlineData
                a.writeI32(2); // cTexts
                a.writeU32(slideId(i));
                a.writeU32(0);
            });
            writeRecord(o, atom(RecordType::TextHeaderAtom, 0, 0),
                        [&](QvOutputStream& a) { a.writeU32(i == 0 ? 6 : 0); }); // centre title / title
            writeRecordBytes(o, atom(RecordType::TextSpecialInfoAtom), kSpellingRun, sizeof kSpellingRun);
            writeRecord(o, atom(RecordType::TextHeaderAtom, 0, 1),
                        [&](QvOutputStream& a) { a.writeU32(i == 0 ? 5 : 1); }); // centre body / body
            writeRecordBytes(o, atom(RecordType::TextSpecialInfoAtom), kSpellingRun, sizeof kSpellingRun);
        }
    });
}

} // namespace

void writeDocumentContainer(QvOutputStream& s, const DocumentContainerInput& in) {
    writeRecord(s, container(RecordType::Document), [&](QvOutputStream& o) {
        writeDocumentAtom(o, in.width, in.height);
        writeEnvironment(o, in.fonts);
        writeDrawingGroup(o, in);
        writeMasterList(o);
        writeViewSettings(o);
        // A presentation without slides has no slide list at all (the list is optional).
        if (!in.slides.empty()) writeSlideList(o, in.slides.size());
        writeRecord(o, atom(RecordType::EndDocumentAtom), [](QvOutputStream&) {});
    });
}

} // namespace Quorv
