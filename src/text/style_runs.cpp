#include "text/style_runs.h"

#include "core/save_context.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace Quorv {
namespace text {

namespace {

// The font size against which a paragraph's spacing is expressed when none of its characters
// has a positive size (Font's default size).
constexpr int kDefaultFontSize = 18;

bool isSupplementary(wchar_t w) noexcept {
    const auto c = static_cast<char32_t>(w);
    return c >= 0x10000 && c <= 0x10FFFF;
}

// A spacing in points as a percentage of the paragraph's default line spacing, truncated, within
// the 0..13200 % that MS-PPT allows for a spacing given as a percentage.
std::uint16_t spacingPercent(int points, float defaultLineSpace) noexcept {
    constexpr float kMaxPercent = 13200.0f;
    const float percent = std::fabs(static_cast<float>(points)) * 100.0f / defaultLineSpace;
    if (!(percent < kMaxPercent)) return static_cast<std::uint16_t>(kMaxPercent);
    return static_cast<std::uint16_t>(percent);
}

// Points to master units (8 per point) within 0..32767, the range of a margin or indent
// (4095.875 points).
std::uint16_t masterUnits16(int points) noexcept {
    const std::int64_t units = static_cast<std::int64_t>(points) * 8;
    return static_cast<std::uint16_t>(std::min<std::int64_t>(std::max<std::int64_t>(units, 0), 0x7FFF));
}

// MS-PPT's bounds of the paragraph fields the host sets.
constexpr int kMaxIndentLevel = 4;    // IndentLevel 0..4 (PPTParagraphFormat takes 0..5)
constexpr int kMinBulletSize = 25;    // BulletSize in percent of the text: 25..400
constexpr int kMaxBulletSize = 400;
constexpr int kMaxStartNumber = 32767; // TextAutoNumberScheme.startNum: 1..32767

// The end (one past the last character) of run i of a list of starts, in wide characters.
template <class Runs>
std::size_t runEnd(const Runs& runs, std::size_t i, std::size_t textLength) noexcept {
    return i + 1 < runs.size() ? runs[i + 1].start : textLength;
}

// The count of run i in UTF-16 code units; the last run counts the closing paragraph mark that
// the format adds after the text.
template <class Runs>
std::uint32_t runCount(const Runs& runs, std::size_t i, const Utf16Positions& pos) noexcept {
    const std::uint32_t begin = pos.at(runs[i].start);
    if (i + 1 < runs.size()) return pos.at(runs[i + 1].start) - begin;
    return pos.length() - begin + 1;
}

} // namespace

std::size_t utf16Length(const std::wstring& text) noexcept {
    std::size_t n = text.size();
    for (wchar_t w : text) {
        if (isSupplementary(w)) ++n;
    }
    return n;
}

Utf16Positions::Utf16Positions(const std::wstring& text) {
    const std::size_t units = utf16Length(text);
    length_ = static_cast<std::uint32_t>(units);
    if (units == text.size()) return;
    map_.resize(text.size() + 1);
    std::uint32_t at = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        map_[i] = at;
        at += isSupplementary(text[i]) ? 2 : 1;
    }
    map_[text.size()] = at;
}

std::uint16_t fontRef(int index, std::size_t fontCount) noexcept {
    return index >= 0 && static_cast<std::size_t>(index) < std::min(fontCount, kMaxFonts)
               ? static_cast<std::uint16_t>(index)
               : 0;
}

std::size_t fontTableSize(const QvOutputStream& s) noexcept {
    return s.context() ? s.context()->fontCount : kMaxFonts;
}

std::uint32_t colorIndex(int color) noexcept {
    if (color <= 0) return 0x01000000; // scheme colour 1
    // Red, green and blue; the index byte 0xFE says the colour is given by them. Bits above the
    // 24 of a colour are not part of it.
    return (static_cast<std::uint32_t>(color) & 0x00FFFFFFu) | 0xFE000000u;
}

std::vector<MultiPPTParagraphFormat> writtenParagraphs(const std::vector<MultiPPTParagraphFormat>& params) {
    std::vector<MultiPPTParagraphFormat> out;
    out.reserve(params.size() + 1);
    if (params.empty() || params.front().start > 0) out.push_back(MultiPPTParagraphFormat());
    out.insert(out.end(), params.begin(), params.end());
    return out;
}

const std::vector<MultiPPTParagraphFormat>& writtenParagraphs(const std::vector<MultiPPTParagraphFormat>& params,
                                                              std::vector<MultiPPTParagraphFormat>& storage) {
    if (!params.empty() && params.front().start <= 0) return params;
    if (params.empty()) {
        static const std::vector<MultiPPTParagraphFormat> kDefaultRun(1); // never changed
        return kDefaultRun;
    }
    storage = writtenParagraphs(params);
    return storage;
}

bool sameWrittenParagraph(const PPTParagraphFormat& a, const PPTParagraphFormat& b) noexcept {
    const auto key = [](const PPTParagraphFormat& p) {
        return std::make_tuple(p.GetLevel(), p.GetBullet(), p.GetbTypeface(), p.GetbColor(), p.GetbSize(),
                               p.GetbuChar(), p.GetbuSize(), p.GetbuTypeface(), p.GetbuColor(), p.GetnumBullet(),
                               p.GetStartBulletNum(), p.GetAlignment(), p.GetTextDirection(), p.GetLineSpace(),
                               p.GetSpaceBefore(), p.GetSpaceAfter(), p.GetLeftMargin(), p.GetIndent());
    };
    return key(a) == key(b);
}

bool hasTextProperties(const std::vector<MultiFontStruct>& fonts,
                       const std::vector<MultiPPTParagraphFormat>& paragraphs, std::size_t fontCount) {
    for (const MultiPPTParagraphFormat& run : paragraphs) {
        const PPTParagraphFormat& p = run.format;
        if (p.GetbColor() || p.GetbSize() || p.GetbTypeface() || p.GetBullet() || p.GetAlignment() > 0 ||
            p.GetTextDirection() > 0 || p.GetLineSpace() != 0 || p.GetSpaceBefore() != 0 ||
            p.GetSpaceAfter() != 0 || p.GetLeftMargin() > 0 || p.GetIndent() > 0 ||
            // The indent level is written only with the style atom; without it the level is lost.
            p.GetLevel() > 0) {
            return true;
        }
    }
    for (const MultiFontStruct& run : fonts) {
        const Font& f = run.font;
        if (f.get_Bold() || f.get_Italic() || f.get_Underline() > 0 || fontRef(f.get_Index(), fontCount) > 1 ||
            f.get_Script() != 0 || f.get_Size() != kDefaultFontSize || f.get_Color() > 0) {
            return true;
        }
    }
    return false;
}

namespace {

// The default line spacing of the paragraph runs, one after the other (see defaultLineSpaces).
// Both lists are in order of start, so each paragraph's scan resumes at the last character run
// that overlapped the one before and stops at the first run that begins after it.
class LineSpaces {
public:
    LineSpaces(const std::wstring& text, const std::vector<MultiFontStruct>& fonts,
               const std::vector<MultiPPTParagraphFormat>& paragraphs) noexcept
        : text_(text), fonts_(fonts), paragraphs_(paragraphs) {}

    // The spacing of paragraph run p; runs are taken in order.
    float at(std::size_t p) noexcept {
        const std::size_t begin = p == 0 ? 0 : paragraphs_[p].start;
        const std::size_t end = runEnd(paragraphs_, p, text_.size());
        int largest = 0;
        for (std::size_t j = from_; j < fonts_.size(); ++j) {
            if (fonts_[j].start >= end) break;
            // The run's last character (runs are never empty, so the end is at least 1).
            const std::size_t last = runEnd(fonts_, j, text_.size()) - 1;
            if (last >= begin) {
                if (fonts_[j].font.get_Size() > largest) largest = fonts_[j].font.get_Size();
                from_ = j;
            }
        }
        if (largest <= 0) largest = kDefaultFontSize;
        return static_cast<float>(static_cast<double>(largest) * 1.2);
    }

private:
    const std::wstring& text_;
    const std::vector<MultiFontStruct>& fonts_;
    const std::vector<MultiPPTParagraphFormat>& paragraphs_;
    std::size_t from_ = 0;
};

// The exception of a paragraph run, given the run's default line spacing.
ParagraphException paragraphException(const PPTParagraphFormat& p, float lineSpace, std::size_t fontCount) {
    ParagraphException e;

    std::uint16_t flags = p.GetBullet() ? pf::kHasBullet : 0;
    std::uint32_t mask = 0;
    if (p.GetbTypeface()) {
        flags |= pf::kBulletHasFont | pf::kBulletHasColor;
        mask |= pf::kBulletFont | pf::kBulletColor;
        // A bullet character is never NUL: symbol 7 ("none") is written as a space, and no
        // symbol at all leaves the master's character.
        const int c = p.GetbuChar();
        if (c >= 0) {
            mask |= pf::kBulletChar;
            e.bulletChar = static_cast<std::uint16_t>(c == 0 ? 0x20 : c);
        }
        e.bulletFontRef = p.GetbuTypeface() < 0 ? 0 : fontRef(p.GetbuTypeface(), fontCount);
    } else if (p.GetbColor()) {
        flags |= pf::kBulletHasColor;
        mask |= pf::kBulletColor;
    }
    if (p.GetbSize()) {
        flags |= pf::kBulletHasSize;
        mask |= pf::kBulletSize;
        e.bulletSize = static_cast<std::uint16_t>(std::min(std::max(p.GetbuSize(), kMinBulletSize), kMaxBulletSize));
    }
    if (p.GetbTypeface() || p.GetbColor()) e.bulletColor = colorIndex(p.GetbuColor());
    mask |= flags;
    e.bulletFlags = flags;

    if (p.GetAlignment() > 0) {
        mask |= pf::kAlign;
        e.textAlignment = static_cast<std::uint16_t>(p.GetAlignment());
    }
    if (p.GetLineSpace() != 0) {
        mask |= pf::kLineSpacing;
        e.lineSpacing = spacingPercent(p.GetLineSpace(), lineSpace);
    }
    mask |= pf::kSpaceBefore; // always written, 0 when not set
    e.spaceBefore = p.GetSpaceBefore() != 0 ? spacingPercent(p.GetSpaceBefore(), lineSpace) : 0;
    if (p.GetSpaceAfter() != 0) {
        mask |= pf::kSpaceAfter;
        e.spaceAfter = spacingPercent(p.GetSpaceAfter(), lineSpace);
    }
    if (p.GetLeftMargin() > 0) {
        mask |= pf::kLeftMargin;
        e.leftMargin = masterUnits16(p.GetLeftMargin());
    }
    if (p.GetIndent() > 0) {
        mask |= pf::kIndent;
        e.indent = masterUnits16(p.GetIndent());
    }
    if (p.GetTextDirection() > 0) {
        mask |= pf::kTextDirection;
        e.textDirection = static_cast<std::uint16_t>(p.GetTextDirection());
    }
    e.mask = mask;
    return e;
}

// The character runs one after the other: a run's group and font references follow from the
// runs before it.
class CharacterRuns {
public:
    CharacterRuns(const std::wstring& text, const std::vector<MultiFontStruct>& fonts, std::size_t fontCount) noexcept
        : text_(text), fonts_(fonts), fontCount_(fontCount) {}

    // The exception of character run i; runs are taken in order.
    CharacterException at(std::size_t i) noexcept {
        CharacterException e;
        const Font& f = fonts_[i].font;

        std::uint16_t style = 0;
        if (f.get_Bold()) style |= cf::kBold;
        if (f.get_Italic()) style |= cf::kItalic;
        if (f.get_Underline() > 0) style |= cf::kUnderline;
        std::uint32_t mask = 0;

        const std::uint16_t ref = fontRef(f.get_Index(), fontCount_);
        if (f.get_cfOldtype()) {
            // After a run that is not East Asian the Latin references are given as well.
            mask |= i > 0 && !prevEastAsian_ ? (cf::kFontRef | cf::kOldEAFontRef | cf::kAnsiFontRef)
                                            : cf::kOldEAFontRef;
            prevEastAsian_ = true;
        } else if (f.get_cfSymboltype()) {
            mask |= cf::kFontRef | cf::kAnsiFontRef | cf::kSymbolFontRef;
            prevEastAsian_ = false;
        } else if (ref > 1) {
            // Faces 0 and 1 are the master's own Latin and East Asian faces.
            mask |= cf::kFontRef | cf::kAnsiFontRef;
            prevEastAsian_ = false;
        }
        e.fontRef = e.oldEAFontRef = e.ansiFontRef = e.symbolFontRef = ref;

        const int num = f.get_listNumInfo();
        const int bu = f.get_listbuChar();
        int change = 0;
        if (lastNum_ > -1 && num > -1 && num != lastNum_) {
            nextGroup();
            change = 1;
        } else if (lastBu_ > -1 && bu > -1 && bu != lastBu_) {
            nextGroup();
            change = 2;
        }
        if (group_ > 0 && (num >= 0 || bu > -1)) style |= group_;

        mask |= style;
        style |= 0x80;
        mask |= cf::kSize;
        if (f.get_Color() > 0) mask |= cf::kColor;
        if (f.get_Script() != 0) mask |= cf::kPosition;
        e.mask = mask;
        e.fontStyle = style; // written when any style or group_ bit is in the mask

        const std::size_t last = runEnd(fonts_, i, text_.size()) - 1;
        if (num > -1 && (text_[last] == L'\r' || change == 1)) {
            lastNum_ = num;
            lastBu_ = 1;
        } else if (bu > -1) {
            lastNum_ = 1;
            if (lastBu_ != bu && change != 0) lastBu_ = bu;
        }

        // MS-PPT allows font sizes 1 to 4000 points; a size outside is brought into that range.
        e.fontSize = static_cast<std::uint16_t>(std::min(std::max(f.get_Size(), 1), 4000));
        e.color = colorIndex(f.get_Color());
        // The script in percent of the size, within MS-PPT's -100..100 (an offset larger than the
        // text is a full superscript or subscript); a size of 0 gives no offset rather than a
        // division by zero.
        const int size = f.get_Size();
        const int percent = size == 0 ? 0 : f.get_Script() * 100 / size;
        e.position = static_cast<std::int16_t>(std::min(std::max(percent, -100), 100));
        return e;
    }

private:
    void nextGroup() noexcept {
        group_ = static_cast<std::uint16_t>(group_ + 0x400);
        if (group_ >= 0x2000) group_ = 0x400; // groups 1..7; 0 is the text's own
    }

    const std::wstring& text_;
    const std::vector<MultiFontStruct>& fonts_;
    std::size_t fontCount_;
    int lastNum_ = -1;
    int lastBu_ = -1;
    std::uint16_t group_ = 0; // the run group_ (pp9rt) in bits 10-13
    bool prevEastAsian_ = false;
};

} // namespace

std::vector<float> defaultLineSpaces(const std::wstring& text, const std::vector<MultiFontStruct>& fonts,
                                     const std::vector<MultiPPTParagraphFormat>& paragraphs) {
    std::vector<float> out(paragraphs.size());
    LineSpaces spaces(text, fonts, paragraphs);
    for (std::size_t p = 0; p < paragraphs.size(); ++p) out[p] = spaces.at(p);
    return out;
}

void writeParagraphRuns(QvOutputStream& s, const std::wstring& text, const std::vector<MultiFontStruct>& fonts,
                        const std::vector<MultiPPTParagraphFormat>& paragraphs, std::size_t fontCount) {
    const Utf16Positions pos(text);
    LineSpaces spaces(text, fonts, paragraphs);
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const PPTParagraphFormat& p = paragraphs[i].format;
        s.writeU32(runCount(paragraphs, i, pos));
        s.writeU16(static_cast<std::uint16_t>(std::min(std::max(p.GetLevel(), 0), kMaxIndentLevel)));
        writeParagraphException(s, paragraphException(p, spaces.at(i), fontCount));
    }
}

void writeCharacterRuns(QvOutputStream& s, const std::wstring& text, const std::vector<MultiFontStruct>& fonts,
                        std::size_t fontCount) {
    const Utf16Positions pos(text);
    CharacterRuns runs(text, fonts, fontCount);
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        s.writeU32(runCount(fonts, i, pos));
        writeCharacterException(s, runs.at(i));
    }
}

std::vector<BulletExtension> bulletExtensions(const std::vector<MultiPPTParagraphFormat>& paragraphs) {
    std::vector<BulletExtension> out;
    int lastScheme = -1;
    int lastChar = -1;
    bool numOpen = false;
    bool bulletOpen = false;
    const auto numbering = [&out](int scheme, int startNum) {
        BulletExtension e;
        e.mask = pf9::kHasAutoNumber | pf9::kAutoNumberScheme;
        e.hasAutoNumber = 1;
        e.scheme = static_cast<std::uint16_t>(scheme);
        e.startNum = static_cast<std::uint16_t>(std::min(std::max(startNum, 1), kMaxStartNumber));
        out.push_back(e);
    };

    for (const MultiPPTParagraphFormat& run : paragraphs) {
        const PPTParagraphFormat& p = run.format;
        if (!p.GetBullet()) {
            lastScheme = -1;
            continue;
        }
        const int scheme = p.GetnumBullet();
        const int c = p.GetbuChar();
        if (scheme == 3 && (lastScheme == -1 || bulletOpen)) {
            // Arabic numbers with a period, the format's default scheme.
            if (p.GetStartBulletNum() < 2) {
                BulletExtension e;
                e.mask = pf9::kHasAutoNumber;
                e.hasAutoNumber = 1;
                out.push_back(e);
            } else {
                numbering(scheme, p.GetStartBulletNum());
            }
            lastScheme = 3;
            numOpen = true;
            bulletOpen = false;
        } else if (scheme > -1) {
            if (scheme == lastScheme && !bulletOpen) continue; // the list goes on
            numbering(scheme, p.GetStartBulletNum());
            lastScheme = scheme;
            numOpen = true;
            bulletOpen = false;
        } else if (lastChar == -1 && c >= 0) {
            out.push_back(BulletExtension()); // a plain bullet
            lastChar = c;
            numOpen = false;
            bulletOpen = true;
        } else if (c > -1 && (c != lastChar || numOpen)) {
            // A bullet after numbering: the scheme is reset to arabic numbers from 1.
            BulletExtension e;
            e.mask = pf9::kAutoNumberScheme;
            e.scheme = 3;
            e.startNum = 1;
            out.push_back(e);
            lastChar = c;
            numOpen = false;
            bulletOpen = true;
        }
    }
    return out;
}

void writeBulletExtension(QvOutputStream& s, const BulletExtension& e) {
    s.writeU32(e.mask);
    if (e.mask & pf9::kHasAutoNumber) s.writeU16(e.hasAutoNumber);
    if (e.mask & pf9::kAutoNumberScheme) {
        s.writeU16(e.scheme);
        s.writeU16(e.startNum);
    }
    s.writeU32(0); // TextCFException9: no fields
    s.writeU32(0); // TextSIException: no fields
}

} // namespace text
} // namespace Quorv
