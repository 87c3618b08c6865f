#include "core/text_encoding.h"

#include <cerrno>
#include <stdexcept>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace Quorv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

template <class Out>
void appendUtf16(char32_t c, Out& out) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else if (c <= 0x10FFFF) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(kReplacement));
    }
}

} // namespace

std::u16string toUtf16(const std::wstring& text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        // A lone surrogate value passes through as the code unit it is, as it would where
        // wchar_t is 16 bits wide.
        appendUtf16(static_cast<char32_t>(w), out);
    }
    return out;
}

std::vector<std::uint8_t> toUtf16Bytes(const std::u16string& text) {
    std::vector<std::uint8_t> out(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        out[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    return out;
}

std::vector<std::uint8_t> toUtf16Bytes(const std::wstring& text) { return toUtf16Bytes(toUtf16(text)); }

std::size_t utf16Units(const std::wstring& text) noexcept {
    std::size_t units = 0;
    for (wchar_t w : text) {
        const auto c = static_cast<char32_t>(w);
        units += c >= 0x10000 && c <= 0x10FFFF ? 2 : 1;
    }
    return units;
}

void putUtf16(std::uint8_t* p, const std::wstring& text, char16_t nul) noexcept {
    // The same conversion as toUtf16, into bytes.
    struct Units {
        std::uint8_t* p;
        char16_t nul;
        void push_back(char16_t u) noexcept {
            detail::putU16(p, u == 0 ? nul : u);
            p += 2;
        }
    } out{p, nul};
    for (wchar_t w : text) appendUtf16(static_cast<char32_t>(w), out);
}

void writeUtf16(QvOutputStream& s, const std::wstring& text, char16_t nul) {
    putUtf16(s.claim(2 * utf16Units(text)), text, nul);
}

std::string toCodePage932(const std::wstring& text) {
    std::string out;
    toCodePage932(text, out);
    return out;
}

bool toCodePage932(const std::wstring& text, std::string& out) {
    bool ascii = true;
    for (wchar_t w : text) {
        if (static_cast<char32_t>(w) >= 0x80) {
            ascii = false;
            break;
        }
    }
    out.clear();
    if (ascii) {
        out.reserve(text.size());
        for (wchar_t w : text) out.push_back(static_cast<char>(w));
        return true;
    }
#ifdef _WIN32
#error "code page conversion: use WideCharToMultiByte(932, ...) on Windows"
#else
    iconv_t cd = iconv_open("CP932", "WCHAR_T");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("code page 932 is not available (iconv_open failed)");
    }
    struct Closer {
        iconv_t cd;
        ~Closer() { iconv_close(cd); }
    } closer{cd};

    out.resize(text.size() * 2 + 16);
    std::size_t outUsed = 0;
    bool complete = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // One character at a time keeps the replacement simple; texts here are short strings.
        wchar_t w = text[i];
        char* in = reinterpret_cast<char*>(&w);
        std::size_t inLeft = sizeof(wchar_t);
        if (out.size() - outUsed < 8) out.resize(out.size() * 2);
        char* dst = &out[outUsed];
        std::size_t outLeft = out.size() - outUsed;
        std::size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
        if (r == static_cast<std::size_t>(-1) || inLeft != 0) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr); // reset the shift state
            out[outUsed++] = '?';
            complete = false;
        } else {
            outUsed = out.size() - outLeft;
        }
    }
    out.resize(outUsed);
    return complete;
#endif
}

std::string toUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    auto put = [&out](char32_t c) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        // A surrogate pair held in two wide characters (16-bit wchar_t) is one character.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            char32_t d = static_cast<char32_t>(text[i + 1]);
            if (d >= 0xDC00 && d <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
                ++i;
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
        put(c);
    }
    return out;
}

std::wstring fromUtf8(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        char32_t c;
        std::size_t len;
        if (b < 0x80) {
            c = b;
            len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            len = 4;
        } else {
            out.push_back(static_cast<wchar_t>(kReplacement));
            ++i;
            continue;
        }
        bool ok = i + len <= n;
        for (std::size_t k = 1; ok && k < len; ++k) {
            unsigned char cb = static_cast<unsigned char>(text[i + k]);
            if ((cb & 0xC0) != 0x80) ok = false;
            else c = (c << 6) | (cb & 0x3F);
        }
        static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (!ok || c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out.push_back(static_cast<wchar_t>(kReplacement));
            ++i;
            continue;
        }
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(c));
        }
        i += len;
    }
    return out;
}

} // namespace Quorv
