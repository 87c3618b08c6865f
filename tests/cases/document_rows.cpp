// The document level byte for byte: the document container ([MS-PPT] 2.4.1 with the document
// atom, environment and fonts, drawing group, master and slide lists), the persist directory
// and the user edit (2.3.3, 2.3.4), the Current User stream (2.3.2) and both property sets
// ([MS-OLEPS] 2.20-2.21: code page 932, or 65001 when a value does not fit it).
#include <gtest/gtest.h>

#include "cases/decks.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

Deck slides(int n, std::function<void(PPTDocument&, PPTProperties&)> more = {}) {
    return [n, more](PPTDocument& doc, PPTProperties& props) {
        doc.set_Width(720);
        doc.set_Hight(540);
        for (int i = 0; i < n; ++i) doc.addSlides(720, 540);
        if (more) more(doc, props);
    };
}

std::string u32(std::uint32_t v) {
    char b[16];
    std::snprintf(b, sizeof b, "%02X %02X %02X %02X ", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, v >> 24);
    return b;
}

const std::string kDocumentOfOneSlide = golden("document", "one_slide"); // 1,101 bytes

// The empty SummaryInformation set: code page 932, four empty strings, the product as last
// author, revision "1", the application name, no editing time, the save time, 10 words.
std::string summary(const std::string& values) {
    return std::string("FE FF 00 00 05 00 02 00") +
           "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00"
           "E0 85 9F F2 F9 4F 68 10 AB 91 08 00 2B 27 B3 D9  30 00 00 00" +
           values;
}
const std::string kEmptySummaryValues = golden("document", "summary_empty");

// The Current User atom of an unencrypted document, up to its offset to the user edit.
const char* const kCurrentUser = "00 00 F6 0F 32 00 00 00 14 00 00 00 5F C0 91 E3";
const std::string kCurrentUserTail = golden("document", "current_user_tail");

const std::u16string kSummary = u"\x0005SummaryInformation";
const std::u16string kDocSummary = u"\x0005" u"DocumentSummaryInformation";
const std::u16string kCurrentUserStream = u"Current User";

const Row kRows[] = {
    // One slide: the whole document container, then the persist directory (document 1, master
    // 2, slide 3 at their offsets) and the user edit (last slide id 256, seed 3). A document
    // without properties still has both property sets (empty) and the Current User stream.
    {"one_slide", slides(1),
     {{kDocument, kDocumentOfOneSlide},
      {{0x1772}, "00 00 72 17 10 00 00 00  01 00 30 00 00 00 00 00" + u32(1101) + u32(1101 + 2560)},
      {{0x0FF5}, "00 00 F5 0F 1C 00 00 00  00 01 00 00 99 15 00 03 00 00 00 00" + u32(1101 + 2560 + 312) +
                     "01 00 00 00 03 00 00 00 01 00 12 00"},
      {{}, summary(kEmptySummaryValues), 0, kWhole, kSummary},
      {{}, "28 00 00 00 02 00 00 00 01 00 00 00 18 00 00 00 0F 00 00 00 20 00 00 00"
           "02 00 00 00 A4 03 00 00 1E 00 00 00 00 00 00 00", 0, 48, kDocSummary},
      {{}, kCurrentUser, 0, 0, kCurrentUserStream},
      {{}, kCurrentUserTail, 0, 20, kCurrentUserStream}}},
    // No slides: no slide list, two persist ids, last slide id 0.
    {"no_slides", slides(0),
     {{kDocument, "0F 00 E8 03 E5 03 00 00", 0, 0}, // 633 + 228 + 144, less the empty slide list
      {{0x1772}, "00 00 72 17 0C 00 00 00  01 00 20 00 00 00 00 00" + u32(1005)},
      {{0x0FF5}, "00 00 00 00", 0, 8}, {{0x0FF5}, "02 00 00 00", 0, 28}}},
    // Slide sizes outside 1 to 56 inches are brought into that range.
    {"slide_size_in_range", slides(1, [](PPTDocument& doc, PPTProperties&) {
         doc.set_Width(-5);
         doc.set_Hight(1e30f);
     }),
     {{kDocument, "40 02 00 00 00 7E 00 00", 0, 16}}},
    // Fonts: a new face gets the next index; a name of 40 characters keeps 31 and a null.
    {"font_table", slides(1, [](PPTDocument& doc, PPTProperties&) {
         doc.get_FontNamesIndex(L"Courier New", 0);
         doc.get_FontNamesIndex(std::wstring(40, L'x'), 300);
         doc.get_FontNamesIndex(std::wstring(30, L'y') + L"\U00010000", 0); // no half of a pair
     }),
     {{{0x03E8, 0x03F2, 0x07D5, 0x0FB7}, "30 00 B7 0F 44 00 00 00  43 00 6F 00 75 00", 3, 0},
      {{0x03E8, 0x03F2, 0x07D5, 0x0FB7},
       "40 00 B7 0F 44 00 00 00" + [] {
           std::string x;
           for (int i = 0; i < 31; ++i) x += "78 00 ";
           return x + "00 00  01 00 00 00"; // charset 300 is not a byte: DEFAULT_CHARSET
       }(),
       4},
      {{0x03E8, 0x03F2, 0x07D5, 0x0FB7}, [] {
           std::string y;
           for (int i = 0; i < 30; ++i) y += "79 00 ";
           return y + "00 00 00 00";
       }(), 5, 8}}},
    // Properties in code page 932: the setters add a space; NUL ends a value.
    {"properties_932", slides(1, [](PPTDocument&, PPTProperties& p) {
         p.set_Title(L"Report");
         p.set_Subject(std::wstring(L"cut\0here", 8));
         p.set_Author(L"\x65E5\x672C");
         p.set_Company(L"ABC");
     }),
     {{{}, "1E 00 00 00 08 00 00 00 52 65 70 6F 72 74 20 00  1E 00 00 00 08 00 00 00 63 75 74 20 00 00 00 00"
           "1E 00 00 00 08 00 00 00 93 FA 96 7B 20 00 00 00", 0, 48 + 104, kSummary},
      {{}, "1E 00 00 00 08 00 00 00 41 42 43 20 00 00 00 00", 0, 48 + 32, kDocSummary}}},
    // A value that code page 932 cannot hold: that set is written in UTF-8 (code page 65001). A
    // pair of surrogates is one character; a lone one, or a value beyond U+10FFFF, is U+FFFD.
    {"properties_utf8", slides(1, [](PPTDocument&, PPTProperties& p) {
         p.set_Title(L"R\x00E9sum\x00E9 \x00E0 Z\x00FCrich");
         p.set_Subject({wchar_t(0xD800), wchar_t(0xDC00), L'x', wchar_t(0xDC00), wchar_t(0x110000)});
     }),
     {{{}, "02 00 00 00 E9 FD 00 00  1E 00 00 00 15 00 00 00  52 C3 A9 73 75 6D C3 A9 20 C3 A0 20 5A C3 BC"
           "72 69 63 68 20 00 00 00 00  1E 00 00 00 0D 00 00 00  F0 90 80 80 78 EF BF BD EF BF BD 20 00",
       0, 48 + 96, kSummary},
      {{}, "02 00 00 00 A4 03 00 00", 0, 48 + 24, kDocSummary}}},
    // The Encrypt flag changes the Current User's header token only.
    {"encrypt_token", slides(1, [](PPTDocument&, PPTProperties& p) { p.set_Encrypt(true); }),
     {{{}, "DF C4 D1 F3", 0, 12, kCurrentUserStream}, {{}, kCurrentUserTail, 0, 20, kCurrentUserStream}}},
};

class DocumentRows : public ::testing::TestWithParam<Row> {};
TEST_P(DocumentRows, FileHoldsTheRecords) { runRow(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Document, DocumentRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// More slides than a persist directory entry counts (12 bits): 5,000 slides take three entries.
TEST(Document, ManySlidesSplitThePersistDirectory) {
    const StreamMap streams = saveDeck(slides(5000));
    const Bytes& d = streams.at(u"PowerPoint Document");
    const Bytes dir = recordAt(d, {0x1772}, 0);
    ASSERT_EQ(dir.size(), 8u + 16 + 4 + 4 * 4095 + 4 + 4 * 904);
    EXPECT_EQ(readU32(dir, 24), (4095u << 20) | 5u);
    EXPECT_EQ(readU32(dir, 28 + 4 * 4095), (904u << 20) | 4100u);
    EXPECT_EQ(describeProblems(verifyPresentation(streams)), "");
}

} // namespace
