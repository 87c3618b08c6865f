// UTF-16 and code page 932 conversions.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

#include "core/text_encoding.h"
#include "support/bytes.h"

using namespace Quorv;
using quorv_test::hex;
using quorv_test::sameBytes;

TEST(TextEncoding, Utf16LittleEndianWithSurrogatePairs) {
    EXPECT_TRUE(sameBytes(hex("41 00 72 00 69 00 61 00 6C 00"), toUtf16Bytes(std::wstring(L"Arial"))));
    EXPECT_TRUE(toUtf16Bytes(std::wstring()).empty());
    // U+1F600 is the pair D83D DE00.
    std::wstring emoji(1, static_cast<wchar_t>(0x1F600));
    EXPECT_TRUE(sameBytes(hex("3D D8 00 DE"), toUtf16Bytes(emoji)));
    EXPECT_EQ(toUtf16(emoji).size(), 2u);
    std::wstring tooLarge(1, static_cast<wchar_t>(0x110000));
    EXPECT_TRUE(sameBytes(hex("FD FF"), toUtf16Bytes(tooLarge)));
}

TEST(TextEncoding, CodePage932) {
    EXPECT_EQ(toCodePage932(L"Report "), "Report ");
    // Two Japanese characters take two bytes each: 日本 is 93 FA 96 7B.
    EXPECT_EQ(toCodePage932(L"\x65E5\x672C"), std::string("\x93\xFA\x96\x7B"));
    EXPECT_EQ(toCodePage932(L"\x0416"), std::string("\x84\x47")); // Cyrillic ZHE is in the code page
}

TEST(TextEncoding, UnrepresentableCharactersBecomeQuestionMarks) {
    std::wstring text = L"x";
    text.push_back(static_cast<wchar_t>(0x1F600)); // outside the code page
    text += L"\x0E01y";                              // Thai KO KAI, not in 932
    EXPECT_EQ(toCodePage932(text), "x??y");
}

TEST(TextEncoding, DoesNotTouchTheProcessLocale) {
    std::string before = std::setlocale(LC_ALL, nullptr);
    toCodePage932(L"\x65E5");
    EXPECT_EQ(before, std::setlocale(LC_ALL, nullptr));
}

TEST(TextEncoding, Utf8RoundTrip) {
    std::wstring text = L"caf\x00E9 \x65E5";
    text.push_back(static_cast<wchar_t>(0x1F600));
    EXPECT_EQ(toUtf8(text), "caf\xC3\xA9 \xE6\x97\xA5\xF0\x9F\x98\x80");
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(fromUtf8("a\xFF" "b"), std::wstring(L"a\xFFFD" L"b"));
}
