#include "text/text_exceptions.h"

namespace Quorv {

void writeParagraphException(QvOutputStream& s, const ParagraphException& p) {
    const std::uint32_t m = p.mask;
    s.writeU32(m);
    if (m & pf::kBulletFlagsMask) s.writeU16(p.bulletFlags);
    if (m & pf::kBulletChar) s.writeU16(p.bulletChar);
    if (m & pf::kBulletFont) s.writeU16(p.bulletFontRef);
    if (m & pf::kBulletSize) s.writeU16(p.bulletSize);
    if (m & pf::kBulletColor) s.writeU32(p.bulletColor);
    if (m & pf::kAlign) s.writeU16(p.textAlignment);
    if (m & pf::kLineSpacing) s.writeU16(p.lineSpacing);
    if (m & pf::kSpaceBefore) s.writeU16(p.spaceBefore);
    if (m & pf::kSpaceAfter) s.writeU16(p.spaceAfter);
    if (m & pf::kLeftMargin) s.writeU16(p.leftMargin);
    if (m & pf::kIndent) s.writeU16(p.indent);
    if (m & pf::kDefaultTabSize) s.writeU16(p.defaultTabSize);
    if (m & pf::kTabStops) {
        s.writeU16(static_cast<std::uint16_t>(p.tabStops.size()));
        for (const TabStop& t : p.tabStops) {
            s.writeU16(t.position);
            s.writeU16(t.type);
        }
    }
    if (m & pf::kFontAlign) s.writeU16(p.fontAlign);
    if (m & pf::kWrapFlagsMask) s.writeU16(p.wrapFlags);
    if (m & pf::kTextDirection) s.writeU16(p.textDirection);
}

void writeCharacterException(QvOutputStream& s, const CharacterException& c) {
    const std::uint32_t m = c.mask;
    s.writeU32(m);
    if (m & cf::kStyleMask) s.writeU16(c.fontStyle);
    if (m & cf::kFontRef) s.writeU16(c.fontRef);
    if (m & cf::kOldEAFontRef) s.writeU16(c.oldEAFontRef);
    if (m & cf::kAnsiFontRef) s.writeU16(c.ansiFontRef);
    if (m & cf::kSymbolFontRef) s.writeU16(c.symbolFontRef);
    if (m & cf::kSize) s.writeU16(c.fontSize);
    if (m & cf::kColor) s.writeU32(c.color);
    if (m & cf::kPosition) s.writeI16(c.position);
}

} // namespace Quorv
