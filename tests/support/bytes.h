// Helpers for byte tests: expected bytes written as hex in the test, compared with a report that
// names the first differing offset.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quorv_test {

using Bytes = std::vector<std::uint8_t>;

// "0F 00 E8 03" -> {0x0F, 0x00, 0xE8, 0x03}; blanks and line breaks are ignored.
inline Bytes hex(const std::string& text) {
    Bytes out;
    int high = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

inline void appendU16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void appendU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline std::uint32_t readU32(const Bytes& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) | (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}
inline std::uint16_t readU16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

inline ::testing::AssertionResult sameBytes(const Bytes& expected, const Bytes& actual) {
    std::size_t n = expected.size() < actual.size() ? expected.size() : actual.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (expected[i] != actual[i]) {
            char buf[128];
            std::snprintf(buf, sizeof buf, "first difference at offset %zu (0x%zX): expected %02X, got %02X", i, i,
                          expected[i], actual[i]);
            return ::testing::AssertionFailure() << buf << " (sizes " << expected.size() << " and " << actual.size() << ")";
        }
    }
    if (expected.size() != actual.size()) {
        return ::testing::AssertionFailure() << "sizes differ: expected " << expected.size() << ", got "
                                             << actual.size() << " (equal up to " << n << ")";
    }
    return ::testing::AssertionSuccess();
}

inline Bytes slice(const Bytes& b, std::size_t at, std::size_t n) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
}

} // namespace quorv_test
