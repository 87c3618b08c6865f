// The contents of the main master, as data: colour schemes, text styles and placeholders.
// writeMainMaster turns them into records with the same helpers slides and text boxes use; the
// document container writes the default text style the same way.
#pragma once

#include <cstdint>
#include <vector>

#include "drawing/common_records.h"
#include "text/text_exceptions.h"

namespace Quorv {
namespace master_data {

// The twelve colour schemes offered by the master's scheme list; the first is also the master's
// own scheme and every slide's.
extern const ColorScheme kSchemes[12];

// One level of a text master style ([MS-PPT] 2.9.36 TextMasterStyleLevel).
struct StyleLevel {
    std::uint16_t level; // written only in the styles of text types 5 and above
    ParagraphException paragraph;
    CharacterException character;
};

struct TextStyle {
    std::uint16_t textType; // the atom's recInstance
    std::vector<StyleLevel> levels;
};

// The styles of text types 0 (title), 1 (body), 2 (notes), 5 (centre body), 6 (centre title),
// 7 (half body) and 8 (quarter body), in that order. Types 3 and 4 have none.
std::vector<TextStyle> textStyles();

// The default style of the document's text environment (text type 4, other text): 18 points,
// five levels indented by a quarter inch each.
TextStyle defaultTextStyle();

// RT_TextMasterStyleAtom with the style's type as its instance.
void writeTextStyle(QvOutputStream& s, const TextStyle& style);

// One placeholder shape of the master.
struct Placeholder {
    std::uint32_t spid;
    officeart::ClientAnchor anchor; // master units
    PlaceholderData data;
    std::uint32_t textType;
    bool anchorMiddle; // the title's text is anchored in the middle
};

extern const Placeholder kTitle;
extern const Placeholder kBody;
extern const Placeholder kDate;
extern const Placeholder kFooter;
extern const Placeholder kSlideNumber;

} // namespace master_data
} // namespace Quorv
