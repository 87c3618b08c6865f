// Records that slides and the main master write alike.
#pragma once

#include <array>
#include <cstdint>

#include "core/output_stream.h"
#include "drawing/officeart_records.h"

namespace Quorv {

// The id of the main master, which every slide names as its master.
constexpr std::uint32_t kMainMasterId = 0x80000000u;

// Eight colours of a colour scheme ([MS-PPT] 2.4.17 ColorSchemeAtom): background, text and lines,
// shadows, title text, fills, accent, accent and hyperlink, accent and followed hyperlink.
// Each is 0x00BBGGRR (ColorStruct, red in the low byte).
using ColorScheme = std::array<std::uint32_t, 8>;

// The scheme every slide uses, and the first of the master's schemes.
extern const ColorScheme kDefaultColorScheme;

// RT_ColorSchemeAtom; instance 1 is a slide's scheme, 6 an entry of the master's scheme list.
void writeColorScheme(QvOutputStream& s, std::uint16_t instance, const ColorScheme& scheme);

// RT_CString holding ASCII text as UTF-16LE, without terminator.
void writeAsciiCString(QvOutputStream& s, std::uint16_t instance, const char* text);

// The group shape that opens a drawing's shape tree: OfficeArtFSPGR with the given rectangle
// (every coordinate the same value) and the patriarch OfficeArtFSP with spid.
officeart::Shape patriarchShape(std::uint32_t spid, std::int32_t groupRect);

// A drawing's background shape: a rectangle filled with the scheme's background colour.
// lineStyleBooleans is the only property slides and the master write differently.
officeart::Shape backgroundShape(std::uint32_t spid, std::uint32_t lineStyleBooleans);

// The fields of an RT_PlaceholderAtom ([MS-PPT] 2.5.10 PlaceholderAtom).
struct PlaceholderData {
    std::int32_t position;
    std::uint8_t placementId;
    std::uint8_t size;
    std::uint16_t unused;
};

// The OfficeArtClientData of a placeholder shape: its RT_PlaceholderAtom.
void writePlaceholderData(QvOutputStream& s, const PlaceholderData& p);

// RT_ProgTags holding the binary tag "___PPT10" with its RT_SlideTime10Atom blob, which every
// slide and the master carry.
void writePpt10Tags(QvOutputStream& s);

} // namespace Quorv
