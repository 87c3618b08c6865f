#include "json_reader.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace quorv_tool {

namespace {

std::string childPath(const std::string& parent, const std::string& key) {
    return parent.empty() ? key : parent + "." + key;
}

// Levenshtein distance, for "did you mean" on unknown keys (keys are short).
std::size_t distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The shortest text that reads back as v.
std::string formatNumber(double v) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

} // namespace

Json parseJson(const std::string& text) {
    try {
        return Json::parse(text);
    } catch (const Json::parse_error& e) {
        // e.byte is the 1-based index of the last byte read; count lines and columns up to it.
        std::size_t end = std::min<std::size_t>(e.byte == 0 ? 0 : e.byte - 1, text.size());
        int line = 1;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < end; ++i) {
            if (text[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
        }
        int column = static_cast<int>(end - lineStart) + 1;
        // what() is "[json.exception.parse_error.N] parse error at ...: MESSAGE"; keep MESSAGE.
        std::string message = e.what();
        std::size_t at = message.find("parse error");
        if (at != std::string::npos) {
            std::size_t colon = message.find(": ", at);
            if (colon != std::string::npos) message = message.substr(colon + 2);
        }
        throw DeckError(line, column, message);
    }
}

std::wstring wideFromUtf8(const std::string& utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp;
        int extra;
        if (byte < 0x80) {
            cp = byte;
            extra = 0;
        } else if ((byte & 0xE0) == 0xC0) {
            cp = byte & 0x1Fu;
            extra = 1;
        } else if ((byte & 0xF0) == 0xE0) {
            cp = byte & 0x0Fu;
            extra = 2;
        } else {
            cp = byte & 0x07u;
            extra = 3;
        }
        ++i;
        for (int k = 0; k < extra && i < utf8.size(); ++k, ++i) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
        }
        if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(cp));
        }
    }
    return out;
}

void JsonNode::fail(const std::string& message) const { throw DeckError(path_, message); }

std::string JsonNode::describe() const {
    switch (value_->type()) {
    case Json::value_t::object:
        return "an object";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::string:
        return "a string";
    case Json::value_t::boolean:
        return value_->get<bool>() ? "true" : "false";
    case Json::value_t::null:
        return "null";
    default:
        return "a number";
    }
}

void JsonNode::expected(const std::string& what) const { fail("expected " + what + ", found " + describe()); }

double JsonNode::number() const {
    if (!isNumber()) expected("a number");
    return value_->get<double>();
}

float JsonNode::points() const {
    double v = number();
    if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) fail(formatNumber(v) + " is too large");
    return static_cast<float>(v);
}

int JsonNode::integer(int min, int max) const {
    if (!isNumber()) expected("a whole number");
    double v = value_->get<double>();
    if (!value_->is_number_integer() && v != std::floor(v)) expected("a whole number");
    if (v < min || v > max) {
        fail(formatNumber(v) + " is out of range (" + std::to_string(min) + " to " + std::to_string(max) + ")");
    }
    return static_cast<int>(v);
}

bool JsonNode::boolean() const {
    if (!isBoolean()) expected("true or false");
    return value_->get<bool>();
}

std::string JsonNode::string() const {
    if (!isString()) expected("a string");
    return value_->get<std::string>();
}

std::wstring JsonNode::text() const { return wideFromUtf8(string()); }

std::vector<JsonNode> JsonNode::array() const {
    if (!isArray()) expected("an array");
    std::vector<JsonNode> out;
    out.reserve(value_->size());
    for (std::size_t i = 0; i < value_->size(); ++i) {
        out.emplace_back((*value_)[i], path_ + "[" + std::to_string(i) + "]");
    }
    return out;
}

JsonObject JsonNode::object(const Names& allowed) const {
    if (!isObject()) expected("an object");
    for (const auto& item : value_->items()) {
        const std::string& key = item.key();
        if (std::any_of(allowed.begin(), allowed.end(), [&](const char* k) { return key == k; })) continue;
        std::string message = "unknown key \"" + key + "\"";
        const char* best = nullptr;
        std::size_t bestDistance = 3; // suggest only near misses
        for (const char* k : allowed) {
            std::size_t d = distance(key, k);
            if (d < bestDistance) {
                bestDistance = d;
                best = k;
            }
        }
        if (best) message += " (did you mean \"" + std::string(best) + "\"?)";
        fail(message);
    }
    return JsonObject(*this);
}

int JsonNode::choice(const Names& names, const char* what, bool integers) const {
    if (isString()) {
        std::string s = string();
        int index = 0;
        for (const char* name : names) {
            if (s == name) return index;
            ++index;
        }
        std::string list;
        for (const char* name : names) list += (list.empty() ? "" : ", ") + std::string(name);
        fail("unknown " + std::string(what) + " \"" + s + "\" (one of " + list + ")");
    }
    if (integers && isNumber()) return integer(INT32_MIN, INT32_MAX);
    expected(integers ? "a string or a whole number" : "a string");
}

bool JsonObject::has(const char* key) const { return node_.json().contains(key); }

JsonNode JsonObject::operator[](const char* key) const {
    auto it = node_.json().find(key);
    if (it == node_.json().end()) node_.fail("missing key \"" + std::string(key) + "\"");
    return JsonNode(*it, childPath(node_.path(), key));
}

std::optional<JsonNode> JsonObject::find(const char* key) const {
    auto it = node_.json().find(key);
    if (it == node_.json().end()) return std::nullopt;
    return JsonNode(*it, childPath(node_.path(), key));
}

} // namespace quorv_tool
