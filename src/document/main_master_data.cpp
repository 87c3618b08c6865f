#include "document/main_master_data.h"

#include "core/record.h"

namespace Quorv {
namespace master_data {

namespace {

// A colour written as RRGGBB, stored as a ColorStruct (red in the low byte).
constexpr std::uint32_t rgb(std::uint32_t rrggbb) {
    return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}

// A ColorIndexStruct naming a colour of the scheme (red, green, blue 0, index in the high byte).
constexpr std::uint32_t schemeIndex(std::uint8_t index) { return static_cast<std::uint32_t>(index) << 24; }

// The first level of a style, with every paragraph property.
ParagraphException fullParagraph(std::uint16_t bulletFlags, std::uint16_t alignment, std::uint16_t spaceBefore,
                                 std::uint16_t leftMargin) {
    ParagraphException p;
    p.mask = 0x003FFDFF;
    p.bulletFlags = bulletFlags;
    p.bulletChar = 0x2022;
    p.bulletFontRef = 0;
    p.bulletSize = 100;
    p.bulletColor = 0xFF000000; // the text's colour
    p.textAlignment = alignment;
    p.lineSpacing = 100;
    p.spaceBefore = spaceBefore;
    p.spaceAfter = 0;
    p.leftMargin = leftMargin;
    p.indent = 0;
    p.defaultTabSize = 576;
    p.fontAlign = 0;
    p.wrapFlags = 0x0007;
    p.textDirection = 0;
    return p;
}

// The first level of a style, with every character property.
CharacterException fullCharacter(std::uint16_t eastAsianFont, std::uint16_t size, std::uint8_t colorIndex) {
    CharacterException c;
    c.mask = 0x00EFFFFF;
    c.fontStyle = 0x0080;
    c.fontRef = 0;
    c.oldEAFontRef = eastAsianFont;
    c.ansiFontRef = 0;
    c.symbolFontRef = 0xFFFF;
    c.fontSize = size;
    c.color = schemeIndex(colorIndex);
    c.position = 0;
    return c;
}

ParagraphException margins(std::uint32_t mask, std::uint16_t bulletChar, std::uint16_t leftMargin, std::uint16_t indent) {
    ParagraphException p;
    p.mask = mask;
    p.bulletChar = bulletChar;
    p.leftMargin = leftMargin;
    p.indent = indent;
    return p;
}

CharacterException sizeOnly(std::uint16_t size) {
    CharacterException c;
    c.mask = size ? cf::kSize : 0u;
    c.fontSize = size;
    return c;
}

ParagraphException centred(std::uint16_t leftMargin) {
    ParagraphException p;
    p.mask = pf::kHasBullet | pf::kAlign | pf::kLeftMargin;
    p.bulletFlags = 0;
    p.textAlignment = 1;
    p.leftMargin = leftMargin;
    return p;
}

// A style of five levels: the first as given, each further one only indented a quarter inch more
// (left margin and indent alike).
TextStyle steppedStyle(std::uint16_t textType, const StyleLevel& first) {
    TextStyle style{textType, {first}};
    for (std::uint16_t level = 1; level < 5; ++level) {
        const auto margin = static_cast<std::uint16_t>(288 * level);
        style.levels.push_back({0, margins(pf::kLeftMargin | pf::kIndent, 0, margin, margin), sizeOnly(0)});
    }
    return style;
}

} // namespace

const ColorScheme kSchemes[12] = {
    {rgb(0xFFFFFF), rgb(0x000000), rgb(0x808080), rgb(0x000000), rgb(0xBBE0E3), rgb(0x333399), rgb(0x009999), rgb(0x99CC00)},
    {rgb(0xFFFFFF), rgb(0x000000), rgb(0x969696), rgb(0x000000), rgb(0xFBDF53), rgb(0xFF9966), rgb(0xCC3300), rgb(0x996600)},
    {rgb(0xFFFFFF), rgb(0x000000), rgb(0x808080), rgb(0x000000), rgb(0x99CCFF), rgb(0xCCCCFF), rgb(0x3333CC), rgb(0xAF67FF)},
    {rgb(0xDEF6F1), rgb(0x000000), rgb(0x969696), rgb(0x000000), rgb(0xFFFFFF), rgb(0x8DC6FF), rgb(0x0066CC), rgb(0x00A800)},
    {rgb(0xFFFFD9), rgb(0x000000), rgb(0x777777), rgb(0x000000), rgb(0xFFFFF7), rgb(0x33CCCC), rgb(0xFF5050), rgb(0xFF9900)},
    {rgb(0x008080), rgb(0xFFFFFF), rgb(0x005A58), rgb(0xFFFF99), rgb(0x006462), rgb(0x6D6FC7), rgb(0x00FFFF), rgb(0x00FF00)},
    {rgb(0x800000), rgb(0xFFFFFF), rgb(0x5C1F00), rgb(0xDFD293), rgb(0xCC3300), rgb(0xBE7960), rgb(0xFFFF99), rgb(0xD3A219)},
    {rgb(0x000099), rgb(0xFFFFFF), rgb(0x003366), rgb(0xCCFFFF), rgb(0x3366CC), rgb(0x00B000), rgb(0x66CCFF), rgb(0xFFE701)},
    {rgb(0x000000), rgb(0xFFFFFF), rgb(0x336699), rgb(0xE3EBF1), rgb(0x003399), rgb(0x468A4B), rgb(0x66CCFF), rgb(0xF0E500)},
    {rgb(0x686B5D), rgb(0xFFFFFF), rgb(0x777777), rgb(0xD1D1CB), rgb(0x909082), rgb(0x809EA8), rgb(0x66CCFF), rgb(0xE9DCB9)},
    {rgb(0x666699), rgb(0xFFFFFF), rgb(0x3E3E5C), rgb(0xFFFFFF), rgb(0x60597B), rgb(0x6666FF), rgb(0x99CCFF), rgb(0xFFFF99)},
    {rgb(0x523E26), rgb(0xFFFFFF), rgb(0x2D2015), rgb(0xDFC08D), rgb(0x8C7B70), rgb(0x8F5F2F), rgb(0xCCB400), rgb(0x8C9FA0)},
};

std::vector<TextStyle> textStyles() {
    std::vector<TextStyle> styles;

    // Title: centred, 44 points, the scheme's title colour.
    styles.push_back({0, {{0, fullParagraph(0x0000, 1, 0, 0), fullCharacter(1, 44, 3)}}});

    // Body: bulleted levels with growing margins and shrinking sizes.
    styles.push_back({1,
                      {{0, fullParagraph(0x0001, 0, 20, 216), fullCharacter(1, 32, 1)},
                       {0, margins(0x580, 0x2013, 468, 288), sizeOnly(28)},
                       {0, margins(0x580, 0x2022, 720, 576), sizeOnly(24)},
                       {0, margins(0x580, 0x2013, 1008, 864), sizeOnly(20)},
                       {0, margins(0x580, 0x00BB, 1296, 1152), sizeOnly(0)}}});

    // Notes: 12 points, the second East Asian font.
    styles.push_back(steppedStyle(2, {0, fullParagraph(0x0000, 0, 30, 0), fullCharacter(2, 12, 1)}));

    // Centre body: centred, without bullets.
    TextStyle centreBody{5, {}};
    for (std::uint16_t level = 0; level < 5; ++level) {
        centreBody.levels.push_back({level, centred(static_cast<std::uint16_t>(288 * level)), sizeOnly(0)});
    }
    styles.push_back(centreBody);

    // Centre title: nothing of its own.
    styles.push_back({6, {{0, ParagraphException{}, CharacterException{}}}});

    // Half body and quarter body: smaller sizes.
    const std::uint16_t halfSizes[5] = {28, 24, 20, 18, 18};
    const std::uint16_t quarterSizes[5] = {24, 20, 18, 16, 16};
    TextStyle half{7, {}};
    TextStyle quarter{8, {}};
    for (std::uint16_t level = 0; level < 5; ++level) {
        half.levels.push_back({level, ParagraphException{}, sizeOnly(halfSizes[level])});
        quarter.levels.push_back({level, ParagraphException{}, sizeOnly(quarterSizes[level])});
    }
    styles.push_back(half);
    styles.push_back(quarter);
    return styles;
}

TextStyle defaultTextStyle() {
    return steppedStyle(4, {0, fullParagraph(0x0000, 0, 0, 0), fullCharacter(1, 18, 1)});
}

void writeTextStyle(QvOutputStream& s, const TextStyle& style) {
    writeRecord(s, atom(RecordType::TextMasterStyleAtom, 0, style.textType), [&](QvOutputStream& o) {
        o.writeU16(static_cast<std::uint16_t>(style.levels.size()));
        for (const StyleLevel& level : style.levels) {
            if (style.textType >= 5) o.writeU16(level.level);
            writeParagraphException(o, level.paragraph);
            writeCharacterException(o, level.character);
        }
    });
}

//                               spid     top  left right bottom   pos placement size unused  text middle
const Placeholder kTitle       = {0x402, {173, 288, 5472, 893},   {0, 0x01, 0, 0x00D7}, 0, true};
const Placeholder kBody        = {0x403, {1008, 288, 5472, 3859}, {1, 0x02, 0, 0x00C9}, 1, false};
const Placeholder kDate        = {0x404, {3934, 288, 1632, 4234}, {2, 0x07, 1, 0x00C9}, 4, false};
const Placeholder kFooter      = {0x405, {3934, 1968, 3597, 4234}, {3, 0x09, 2, 0x00C9}, 4, false};
const Placeholder kSlideNumber = {0x406, {3934, 4128, 5472, 4234}, {4, 0x08, 2, 0x00C9}, 4, false};

} // namespace master_data
} // namespace Quorv
