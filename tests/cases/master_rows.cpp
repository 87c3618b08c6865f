// The main master: the same 2,560 bytes in every file ([MS-PPT] 2.5.3 MainMasterContainer). The
// expectations are written here from the layout of the master (record offsets and headers, the
// twelve colour schemes, text styles, placeholders, background, tags and design name), not from
// the writer's tables.
#include <gtest/gtest.h>

#include "cases/decks.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const std::vector<unsigned> kMaster = {0x03F8};

// The record headers (recVer | recInstance << 4, recType, recLen) of the master and its drawing.
const char* const kHeaders[][2] = {
    {"0", "0F 00 F8 03 F8 09 00 00"},    {"8", "02 00 EF 03 18 00 00 00"},    {"520", "00 00 A3 0F 3E 00 00 00"},
    {"590", "10 00 A3 0F 7C 00 00 00"},  {"722", "20 00 A3 0F 6E 00 00 00"},  {"840", "50 00 A3 0F 52 00 00 00"},
    {"1090", "0F 00 0C 04 2A 05 00 00"}, {"1098", "0F 00 02 F0 22 05 00 00"}, {"1122", "0F 00 03 F0 BA 04 00 00"},
    {"1396", "0F 00 04 F0 16 01 00 00"}, {"1900", "0F 00 04 F0 D4 00 00 00"}, {"2524", "20 00 BA 0F 1C 00 00 00"},
};

// The twelve colour schemes: background, text and lines, shadows, title text, fills, accent,
// accent and hyperlink, accent and followed hyperlink (RRGGBB).
const char* const kSchemes[12] = {
    "FFFFFF 000000 808080 000000 BBE0E3 333399 009999 99CC00",
    "FFFFFF 000000 969696 000000 FBDF53 FF9966 CC3300 996600",
    "FFFFFF 000000 808080 000000 99CCFF CCCCFF 3333CC AF67FF",
    "DEF6F1 000000 969696 000000 FFFFFF 8DC6FF 0066CC 00A800",
    "FFFFD9 000000 777777 000000 FFFFF7 33CCCC FF5050 FF9900",
    "008080 FFFFFF 005A58 FFFF99 006462 6D6FC7 00FFFF 00FF00",
    "800000 FFFFFF 5C1F00 DFD293 CC3300 BE7960 FFFF99 D3A219",
    "000099 FFFFFF 003366 CCFFFF 3366CC 00B000 66CCFF FFE701",
    "000000 FFFFFF 336699 E3EBF1 003399 468A4B 66CCFF F0E500",
    "686B5D FFFFFF 777777 D1D1CB 909082 809EA8 66CCFF E9DCB9",
    "666699 FFFFFF 3E3E5C FFFFFF 60597B 6666FF 99CCFF FFFF99",
    "523E26 FFFFFF 2D2015 DFC08D 8C7B70 8F5F2F CCB400 8C9FA0",
};

// An RT_ColorSchemeAtom body: each colour as red, green, blue and a zero byte.
std::string scheme(const char* rrggbb) {
    std::string out;
    for (const char* p = rrggbb; *p; p += *p == ' ' ? 1 : 6) {
        if (*p != ' ') out += std::string(p, 6) + " 00 ";
    }
    return out;
}

std::vector<Expect> masterExpectations() {
    std::vector<Expect> e;
    for (const auto& h : kHeaders) e.push_back({kMaster, h[1], 0, std::stoul(h[0])});
    for (int i = 0; i < 12; ++i) {
        e.push_back({kMaster, "60 00 F0 07 20 00 00 00" + scheme(kSchemes[i]), 0, 40 + 40 * static_cast<std::size_t>(i)});
    }
    e.push_back({kMaster, scheme(kSchemes[0]), 0, 2428}); // the master's own scheme is scheme 1
    const std::pair<std::size_t, const char*> fields[] = {
        // SlideAtom: title-and-body layout; master title, body, date, footer, number placeholders.
        {16, "01 00 00 00 01 02 07 09 08 00 00 00 00 00 00 00 00 00 00 00 00 00 0C 30"},
        // Title style: centred, bullet U+2022 at 100 %, 44 points in the title colour.
        {528, "01 00 FF FD 3F 00 00 00 22 20 00 00 64 00 00 00 00 FF 01 00 64 00 00 00 00 00 00 00 00 00 40 02"
              "00 00 00 00 07 00 00 00 FF FF EF 00 80 00 00 00 01 00 00 00 FF FF 2C 00 00 00 00 03 00 00"},
        // Body style, level 1: bullet, left, 20 % before, margin 216; 32 points; levels 2 to 5.
        {598, "05 00 FF FD 3F 00 01 00 22 20 00 00 64 00 00 00 00 FF 00 00 64 00 14 00 00 00 D8 00 00 00 40 02"
              "00 00 00 00 07 00 00 00 FF FF EF 00 80 00 00 00 01 00 00 00 FF FF 20 00 00 00 00 01 00 00 80 05 00 00"
              "13 20 D4 01 20 01 00 00 02 00 1C 00 80 05 00 00 22 20 D0 02 40 02 00 00 02 00 18 00"
              "80 05 00 00 13 20 F0 03 60 03 00 00 02 00 14 00  80 05 00 00 BB 00 10 05 80 04 00 00 00 00"},
        // Notes style, level 1: 30 % before; 12 points, East Asian face 2.
        {730, "05 00 FF FD 3F 00 00 00 22 20 00 00 64 00 00 00 00 FF 00 00 64 00 1E 00 00 00 00 00 00 00 40 02"
              "00 00 00 00 07 00 00 00 FF FF EF 00 80 00 00 00 02 00 00 00 FF FF 0C 00 00 00 00 01 00 00"},
        // Centre body: levels 0 to 4 centred, margins 0, 288, 576, 864, 1152.
        {848, "05 00 00 00 01 09 00 00 00 00 01 00 00 00 00 00 00 00  01 00 01 09 00 00 00 00 01 00 20 01 00 00 00 00"},
        {938, "01 00 00 00 00 00 00 00 00 00 00 00"}, // centre title: one empty level
        // Half body and quarter body: sizes 28, 24, 20, 18, 18 and 24, 20, 18, 16, 16.
        {958, "05 00 00 00 00 00 00 00 00 00 02 00 1C 00 01 00 00 00 00 00 00 00 02 00 18 00 02 00 00 00 00 00"
              "00 00 02 00 14 00 03 00 00 00 00 00 00 00 02 00 12 00 04 00 00 00 00 00 00 00 02 00 12 00"},
        {1028, "05 00 00 00 00 00 00 00 00 00 02 00 18 00 01 00 00 00 00 00 00 00 02 00 14 00 02 00 00 00 00 00"
               "00 00 02 00 12 00 03 00 00 00 00 00 00 00 02 00 10 00 04 00 00 00 00 00 00 00 02 00 10 00"},
        // Drawing: 6 shapes, last spid 0x406; the group's rectangle of sixteen 0xF5 bytes.
        {1114, "06 00 00 00 06 04 00 00"},
        {1146, "F5 F5 F5 F5 F5 F5 F5 F5 F5 F5 F5 F5 F5 F5 F5 F5"},
        // Title placeholder: spid 0x402, its properties, anchor, PT_MasterTitle, prompt text.
        {1186, "12 00 0A F0 08 00 00 00 02 04 00 00 00 0A 00 00  93 00 0B F0 36 00 00 00"
               "7F 00 01 00 01 00 80 00 B0 D8 D7 00 87 00 01 00 00 00 81 01 04 00 00 08 83 01 00 00 00 08 BF 01 01 00"
               "11 00 C0 01 01 00 00 08 FF 01 01 00 09 00 01 02 02 00 00 08 00 00 10 F0 08 00 00 00 AD 00 20 01 60 15"
               "7D 03 0F 00 11 F0 10 00 00 00 00 00 C3 0B 08 00 00 00 00 00 00 00 01 00 D7 00 0F 00 0D F0 54 00 00 00"
               "00 00 9F 0F 04 00 00 00 00 00 00 00 00 00 A8 0F 20 00 00 00 43 6C 69 63 6B 20 74 6F 20 65 64 69 74 20"
               "4D 61 73 74 65 72 20 74 69 74 6C 65 20 73 74 79 6C 65"
               "00 00 A2 0F 06 00 00 00 21 00 00 00 00 00  00 00 AA 0F 0A 00 00 00 21 00 00 00 01 00 00 00 00 00"},
        // Date placeholder: spid 0x404, PT_MasterDate, text "*" with a date field.
        {1690, "12 00 0A F0 08 00 00 00 04 04 00 00 00 0A 00 00  83 00 0B F0 30 00 00 00"
               "7F 00 01 00 01 00 80 00 B0 D8 D7 00 81 01 04 00 00 08 83 01 00 00 00 08 BF 01 01 00 11 00 C0 01 01 00"
               "00 08 FF 01 01 00 09 00 01 02 02 00 00 08 00 00 10 F0 08 00 00 00 5E 0F 20 01 60 06 8A 10 0F 00 11 F0"
               "10 00 00 00 00 00 C3 0B 08 00 00 00 02 00 00 00 07 01 C9 00 0F 00 0D F0 5A 00 00 00 00 00 9F 0F 04 00"
               "00 00 04 00 00 00 00 00 A0 0F 02 00 00 00 2A 00 00 00 A1 0F 14 00 00 00 02 00 00 00 00 00 00 00 00 00"
               "02 00 00 00 00 00 02 00 0E 00 00 00 F8 0F 04 00 00 00 00 00 00 00"
               "00 00 AA 0F 14 00 00 00 01 00 00 00 01 00 00 00 00 00 01 00 00 00 01 00 00 00 00 00"},
        // Footer (PT_MasterFooter) and slide number (PT_MasterSlideNumber, right-aligned, its field).
        {1900 + 8 + 16 + 56 + 16, "0F 00 11 F0 10 00 00 00 00 00 C3 0B 08 00 00 00 03 00 00 00 09 02 C9 00"},
        {2120 + 8 + 16 + 56 + 16, "0F 00 11 F0 10 00 00 00 00 00 C3 0B 08 00 00 00 04 00 00 00 08 02 C9 00"},
        {1900 + 8 + 16 + 56 + 16 + 24 + 8 + 12 + 10 + 30, "00 00 FA 0F 04 00 00 00"}, // the footer's field
        {2120 + 8 + 16 + 56 + 16 + 24 + 8 + 12 + 10, "00 00 A1 0F 16 00 00 00 02 00 00 00 00 00 00 08 00 00 02 00"},
        {2120 + 8 + 16 + 56 + 16 + 24 + 8 + 12 + 10 + 30, "00 00 D8 0F 04 00 00 00"},
        // Background: spid 0x401, gradient fill from the scheme.
        {2348, "12 00 0A F0 08 00 00 00 01 04 00 00 00 0C 00 00  83 00 0B F0 30 00 00 00"
               "81 01 00 00 00 08 83 01 00 00 00 08 93 01 8E 9F 8B 00 94 01 DE BD 68 00"
               "BF 01 12 00 12 00  FF 01 00 08 00 00  04 03 09 00 00 00  3F 03 01 00 01 00"},
        // "___PPT10" tag with its blob, and the design name.
        {2484, "5F 00 5F 00 5F 00 50 00 50 00 54 00 31 00 30 00  00 00 8B 13 10 00 00 00"
               "00 00 EB 2E 08 00 00 00 F8 0E C9 01 E0 3D D4 E5"},
        {2532, "44 00 65 00 66 00 61 00 75 00 6C 00 74 00 20 00 44 00 65 00 73 00 69 00 67 00 6E 00"},
    };
    for (const auto& f : fields) e.push_back({kMaster, f.second, 0, f.first});
    // The body placeholder's 82 characters in five levels (83 with the closing mark).
    e.push_back({{0x03F8, 0x040C, 0xF002, 0xF003, 0xF004, 0xF00D, 0x0FA2},
                 "00 00 A2 0F 1E 00 00 00 21 00 00 00 00 00 0D 00 00 00 01 00 0C 00 00 00 02 00 0D 00 00 00 03 00"
                 "0C 00 00 00 04 00",
                 1});
    return e;
}

// The master is the same whatever the document holds.
TEST(Master, TheSameFixedBytesInEveryFile) {
    const Row plain{"master", slideWith([] { return std::vector<PPTPtr<PPTShape>>{}; }), masterExpectations()};
    runRow(plain);
    const Row other{"master_of_another_document", [](PPTDocument& doc, PPTProperties& props) {
                        doc.set_Width(100);
                        doc.get_FontNamesIndex(L"Other", 0);
                        for (int i = 0; i < 3; ++i) doc.addSlides(100, 100);
                        props.set_Title(L"x");
                    },
                    masterExpectations()};
    runRow(other);
    EXPECT_EQ(recordAt(saveDeck(plain.deck).at(u"PowerPoint Document"), kMaster, 0).size(), 2560u);
}

} // namespace
