// The formatting of a text box as the file stores it: the paragraph and character runs of
// RT_StyleTextPropAtom ([MS-PPT] 2.9.44 TextPFRun, 2.9.45 TextCFRun), the default line spacing
// that spacing is expressed against, and the bullet and numbering entries of
// RT_StyleTextProp9Atom ([MS-PPT] 2.9.65). The text frame's runs are first turned into these
// values, then the values into bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/output_stream.h"
#include "quorv/text.h"
#include "text/text_exceptions.h"

namespace Quorv {
namespace text {

// The number of UTF-16 code units of a wide string (surrogate pairs where wchar_t is 32 bits).
std::size_t utf16Length(const std::wstring& text) noexcept;

// Where each character of a wide string starts in its UTF-16 form: counts and positions in the
// file are in code units, the text frame's run starts are indexes into the wide string.
class Utf16Positions {
public:
    explicit Utf16Positions(const std::wstring& text);
    // The code-unit position of character index (index may be the text's length).
    std::uint32_t at(std::size_t index) const noexcept {
        return map_.empty() ? static_cast<std::uint32_t>(index) : map_[index];
    }
    std::uint32_t length() const noexcept { return length_; }

private:
    std::vector<std::uint32_t> map_; // empty while every character is one code unit
    std::uint32_t length_ = 0;
};

// The most faces a font table holds (RT_FontEntityAtom instances 0..128).
constexpr std::size_t kMaxFonts = 129;

// A font-table index as it is written in a font reference: an index that names no face of the
// document's table (fontCount faces) is written as 0, the default Latin face.
std::uint16_t fontRef(int index, std::size_t fontCount = kMaxFonts) noexcept;

// The number of faces in the font table of the document a stream is saved for (kMaxFonts outside
// a save).
std::size_t fontTableSize(const QvOutputStream& s) noexcept;

// A user colour 0x00BBGGRR as a ColorIndexStruct (red, green, blue, then index 0xFE: "the
// colour is given by red, green and blue"); a colour that is not set (0 or less) as scheme
// colour 1, the text colour.
std::uint32_t colorIndex(int color) noexcept;

// The paragraph runs that are written: the frame's, preceded by one default run from the start of
// the text when the frame has none or its first run begins later, so that the paragraph runs
// always cover the whole text.
std::vector<MultiPPTParagraphFormat> writtenParagraphs(const std::vector<MultiPPTParagraphFormat>& params);
// The same without a copy where none is needed: params itself when its first run begins the
// text, otherwise the written runs made in storage.
const std::vector<MultiPPTParagraphFormat>& writtenParagraphs(const std::vector<MultiPPTParagraphFormat>& params,
                                                              std::vector<MultiPPTParagraphFormat>& storage);

// Whether two paragraph formats are written the same way: everything the paragraph runs and the
// bullet entries take from a format (PPTParagraphFormat::equals leaves out the level, the bullet
// flags, the bullet's size, face and colour and the first number). A paragraph whose format
// differs in any of these starts a run of its own.
bool sameWrittenParagraph(const PPTParagraphFormat& a, const PPTParagraphFormat& b) noexcept;

// Whether there is any formatting to write at all (else the text box has no RT_StyleTextPropAtom).
bool hasTextProperties(const std::vector<MultiFontStruct>& fonts,
                       const std::vector<MultiPPTParagraphFormat>& paragraphs, std::size_t fontCount = kMaxFonts);

// The default line spacing of each paragraph run in points: 1.2 times the largest font size of
// the character runs it overlaps, or of the default 18 points when it overlaps none (or only
// runs of size 0 or less).
std::vector<float> defaultLineSpaces(const std::wstring& text, const std::vector<MultiFontStruct>& fonts,
                                     const std::vector<MultiPPTParagraphFormat>& paragraphs);

// The runs of paragraphs (given as writtenParagraphs) and of characters over text, written as
// TextPFRun and TextCFRun records one after the other. The counts of each kind add up to the
// text's UTF-16 length plus one: the format counts a closing mark.
void writeParagraphRuns(QvOutputStream& s, const std::wstring& text, const std::vector<MultiFontStruct>& fonts,
                        const std::vector<MultiPPTParagraphFormat>& paragraphs, std::size_t fontCount = kMaxFonts);
void writeCharacterRuns(QvOutputStream& s, const std::wstring& text, const std::vector<MultiFontStruct>& fonts,
                        std::size_t fontCount = kMaxFonts);

// One entry of RT_StyleTextProp9Atom: a paragraph extension (TextPFException9) whose mask
// selects the auto-number flag and scheme, then an empty character extension and an empty
// special-information extension.
struct BulletExtension {
    std::uint32_t mask = 0;
    std::uint16_t hasAutoNumber = 0; // fBulletHasAutoNumber, with mask 0x02000000
    std::uint16_t scheme = 0;        // bulletAutoNumberScheme, with mask 0x01000000
    std::uint16_t startNum = 0;
};

namespace pf9 {
constexpr std::uint32_t kAutoNumberScheme = 0x01000000;
constexpr std::uint32_t kHasAutoNumber = 0x02000000;
} // namespace pf9

// The entries for the paragraph runs that open or change a bulleted or numbered list.
std::vector<BulletExtension> bulletExtensions(const std::vector<MultiPPTParagraphFormat>& paragraphs);
void writeBulletExtension(QvOutputStream& s, const BulletExtension& e);

} // namespace text
} // namespace Quorv
