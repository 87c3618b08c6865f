// Text conversions for the file format: UTF-16LE for Unicode records, Windows code page 932
// for the 8-bit strings of the Current User record and the property sets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/output_stream.h"

namespace Quorv {

// UTF-16 code units of a wide string. Where wchar_t holds 32 bits, characters outside the Basic
// Multilingual Plane become surrogate pairs; values beyond U+10FFFF become U+FFFD.
std::u16string toUtf16(const std::wstring& text);
// The same as little-endian bytes, without terminator (2 bytes per code unit).
std::vector<std::uint8_t> toUtf16Bytes(const std::wstring& text);
std::vector<std::uint8_t> toUtf16Bytes(const std::u16string& text);
// The number of those code units.
std::size_t utf16Units(const std::wstring& text) noexcept;
// The same code units as little-endian bytes at out (2 per unit), with nul written for U+0000.
void putUtf16(std::uint8_t* out, const std::wstring& text, char16_t nul = 0) noexcept;
// The same into s.
void writeUtf16(QvOutputStream& s, const std::wstring& text, char16_t nul = 0);

// The text in Windows code page 932 (Shift-JIS with Microsoft's extensions), without
// terminator. A character the code page cannot represent becomes '?' and conversion goes on.
// Converts without touching the process locale.
std::string toCodePage932(const std::wstring& text);
// The same into out; returns false when some character could not be represented.
bool toCodePage932(const std::wstring& text, std::string& out);

// UTF-8 from and to wide strings (file names on POSIX systems). Invalid UTF-8 bytes become U+FFFD.
std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);

} // namespace Quorv
