// Record types of the "PowerPoint Document" stream ([MS-PPT] 2.13.24 RecordType) and of the
// OfficeArt records inside it ([MS-ODRAW] 2.1), named as the published documents name them.
#pragma once

#include <cstdint>

namespace Quorv {

enum class RecordType : std::uint16_t {
    // [MS-PPT]
    Document = 0x03E8,
    DocumentAtom = 0x03E9,
    EndDocumentAtom = 0x03EA,
    Slide = 0x03EE,
    SlideAtom = 0x03EF,
    Environment = 0x03F2,
    SlidePersistAtom = 0x03F3,
    MainMaster = 0x03F8,
    SlideViewInfo = 0x03FA,
    GuideAtom = 0x03FB,
    ViewInfoAtom = 0x03FD,
    SlideViewInfoAtom = 0x03FE,
    VbaInfo = 0x03FF,
    VbaInfoAtom = 0x0400,
    DrawingGroup = 0x040B,
    Drawing = 0x040C,
    GridSpacing10Atom = 0x040D,
    NotesTextViewInfo9 = 0x0413,
    NormalViewSetInfo9 = 0x0414,
    NormalViewSetInfo9Atom = 0x0415,
    List = 0x07D0,
    FontCollection = 0x07D5,
    ColorSchemeAtom = 0x07F0,
    PlaceholderAtom = 0x0BC3,
    TextHeaderAtom = 0x0F9F,
    TextCharsAtom = 0x0FA0,
    StyleTextPropAtom = 0x0FA1,
    MasterTextPropAtom = 0x0FA2,
    TextMasterStyleAtom = 0x0FA3,
    TextCharFormatExceptionAtom = 0x0FA4,
    TextParagraphFormatExceptionAtom = 0x0FA5,
    TextRulerAtom = 0x0FA6,
    TextBytesAtom = 0x0FA8,
    TextSpecialInfoDefaultAtom = 0x0FA9,
    TextSpecialInfoAtom = 0x0FAA,
    StyleTextProp9Atom = 0x0FAC,
    FontEntityAtom = 0x0FB7,
    CString = 0x0FBA,
    Kinsoku = 0x0FC8,
    KinsokuAtom = 0x0FD2,
    SlideNumberMetaCharAtom = 0x0FD8,
    SlideListWithText = 0x0FF0,
    UserEditAtom = 0x0FF5,
    CurrentUserAtom = 0x0FF6,
    GenericDateMetaCharAtom = 0x0FF8,
    FooterMetaCharAtom = 0x0FFA,
    ProgTags = 0x1388,
    ProgBinaryTag = 0x138A,
    BinaryTagDataBlob = 0x138B,
    PersistDirectoryAtom = 0x1772,
    SlideTime10Atom = 0x2EEB,

    // [MS-ODRAW]
    OfficeArtDggContainer = 0xF000,
    OfficeArtBStoreContainer = 0xF001,
    OfficeArtDgContainer = 0xF002,
    OfficeArtSpgrContainer = 0xF003,
    OfficeArtSpContainer = 0xF004,
    OfficeArtFDGGBlock = 0xF006,
    OfficeArtFBSE = 0xF007,
    OfficeArtFDG = 0xF008,
    OfficeArtFSPGR = 0xF009,
    OfficeArtFSP = 0xF00A,
    OfficeArtFOPT = 0xF00B,
    OfficeArtClientTextbox = 0xF00D,
    OfficeArtChildAnchor = 0xF00F,
    OfficeArtClientAnchor = 0xF010,
    OfficeArtClientData = 0xF011,
    OfficeArtBlipEMF = 0xF01A,
    OfficeArtBlipWMF = 0xF01B,
    OfficeArtBlipJPEG = 0xF01D,
    OfficeArtBlipPNG = 0xF01E,
    OfficeArtSplitMenuColorContainer = 0xF11E,
    OfficeArtTertiaryFOPT = 0xF122,
};

// recVer of a container record.
constexpr std::uint8_t kContainerVersion = 0xF;

// The recLen the published layouts fix for a record type, as this library writes it (an
// OfficeArtFBSE without a name, the 8-byte form of OfficeArtClientAnchor), or -1 where the length
// varies. Debug builds check every record of these types against it.
constexpr std::int64_t fixedRecordLength(RecordType type) noexcept {
    switch (type) {
    case RecordType::EndDocumentAtom: return 0;
    case RecordType::SlideViewInfoAtom: return 3;
    case RecordType::TextHeaderAtom:
    case RecordType::KinsokuAtom:
    case RecordType::SlideNumberMetaCharAtom:
    case RecordType::GenericDateMetaCharAtom:
    case RecordType::FooterMetaCharAtom: return 4;
    case RecordType::GuideAtom:
    case RecordType::GridSpacing10Atom:
    case RecordType::PlaceholderAtom:
    case RecordType::SlideTime10Atom:
    case RecordType::OfficeArtFDG:
    case RecordType::OfficeArtFSP:
    case RecordType::OfficeArtClientAnchor: return 8;
    case RecordType::VbaInfoAtom: return 12;
    case RecordType::OfficeArtFSPGR:
    case RecordType::OfficeArtChildAnchor: return 16;
    case RecordType::NormalViewSetInfo9Atom:
    case RecordType::SlidePersistAtom: return 20;
    case RecordType::SlideAtom: return 24;
    case RecordType::ColorSchemeAtom: return 32;
    case RecordType::OfficeArtFBSE: return 36;
    case RecordType::DocumentAtom: return 40;
    case RecordType::ViewInfoAtom: return 52;
    case RecordType::FontEntityAtom: return 68;
    default: return -1;
    }
}

} // namespace Quorv
