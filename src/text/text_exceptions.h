// Paragraph and character property exceptions ([MS-PPT] 2.9.18 TextPFException and 2.9.1
// TextCFException): a mask, then only the fields the mask selects, in a fixed order. Text boxes
// write them in their style runs, the main master in its text styles.
#pragma once

#include <cstdint>
#include <vector>

#include "core/output_stream.h"

namespace Quorv {

// Mask bits of a paragraph exception (PFMasks).
namespace pf {
constexpr std::uint32_t kHasBullet = 0x1;
constexpr std::uint32_t kBulletHasFont = 0x2;
constexpr std::uint32_t kBulletHasColor = 0x4;
constexpr std::uint32_t kBulletHasSize = 0x8;
constexpr std::uint32_t kBulletFlagsMask = 0xF;
constexpr std::uint32_t kBulletFont = 0x10;
constexpr std::uint32_t kBulletColor = 0x20;
constexpr std::uint32_t kBulletSize = 0x40;
constexpr std::uint32_t kBulletChar = 0x80;
constexpr std::uint32_t kLeftMargin = 0x100;
constexpr std::uint32_t kIndent = 0x400;
constexpr std::uint32_t kAlign = 0x800;
constexpr std::uint32_t kLineSpacing = 0x1000;
constexpr std::uint32_t kSpaceBefore = 0x2000;
constexpr std::uint32_t kSpaceAfter = 0x4000;
constexpr std::uint32_t kDefaultTabSize = 0x8000;
constexpr std::uint32_t kFontAlign = 0x10000;
constexpr std::uint32_t kWrapFlagsMask = 0x20000 | 0x40000 | 0x80000; // charWrap, wordWrap, overflow
constexpr std::uint32_t kTabStops = 0x100000;
constexpr std::uint32_t kTextDirection = 0x200000;
} // namespace pf

// Mask bits of a character exception (CFMasks).
namespace cf {
constexpr std::uint32_t kBold = 0x1;
constexpr std::uint32_t kItalic = 0x2;
constexpr std::uint32_t kUnderline = 0x4;
constexpr std::uint32_t kStyleMask = 0xFFFF; // any of these bits: the fontStyle field is present
constexpr std::uint32_t kFontRef = 0x10000;
constexpr std::uint32_t kSize = 0x20000;
constexpr std::uint32_t kColor = 0x40000;
constexpr std::uint32_t kPosition = 0x80000;
constexpr std::uint32_t kOldEAFontRef = 0x200000;
constexpr std::uint32_t kAnsiFontRef = 0x400000;
constexpr std::uint32_t kSymbolFontRef = 0x800000;
} // namespace cf

struct TabStop {
    std::uint16_t position;
    std::uint16_t type;
};

// Field values of a paragraph exception; only those selected by mask are written.
struct ParagraphException {
    std::uint32_t mask = 0;
    std::uint16_t bulletFlags = 0;
    std::uint16_t bulletChar = 0;
    std::uint16_t bulletFontRef = 0;
    std::uint16_t bulletSize = 0;
    std::uint32_t bulletColor = 0; // ColorIndexStruct: red, green, blue, index (low byte first)
    std::uint16_t textAlignment = 0;
    std::uint16_t lineSpacing = 0;
    std::uint16_t spaceBefore = 0;
    std::uint16_t spaceAfter = 0;
    std::uint16_t leftMargin = 0;
    std::uint16_t indent = 0;
    std::uint16_t defaultTabSize = 0;
    std::vector<TabStop> tabStops;
    std::uint16_t fontAlign = 0;
    std::uint16_t wrapFlags = 0;
    std::uint16_t textDirection = 0;
};

// Field values of a character exception; only those selected by mask are written.
struct CharacterException {
    std::uint32_t mask = 0;
    std::uint16_t fontStyle = 0;
    std::uint16_t fontRef = 0;
    std::uint16_t oldEAFontRef = 0;
    std::uint16_t ansiFontRef = 0;
    std::uint16_t symbolFontRef = 0;
    std::uint16_t fontSize = 0;
    std::uint32_t color = 0; // ColorIndexStruct
    std::int16_t position = 0;
};

void writeParagraphException(QvOutputStream& s, const ParagraphException& pf);
void writeCharacterException(QvOutputStream& s, const CharacterException& cf);

} // namespace Quorv
