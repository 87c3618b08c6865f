// A small reader over parsed JSON that knows where it is: every value carries its JSON path
// ("slides[2].shapes[0].points"), and every complaint names it (DeckError).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "deck_json.h"

namespace quorv_tool {

// Objects keep their keys in the order of the file, so the first unknown key reported is the
// first one in the file.
using Json = nlohmann::ordered_json;

// The keys an object may have, or the names a choice offers.
using Names = std::vector<const char*>;

// Parses text; malformed JSON throws DeckError with the line and column of the fault.
Json parseJson(const std::string& text);

// UTF-8 (valid, as the parser checked it) to a wide string: UTF-32, or UTF-16 where wchar_t has
// 16 bits.
std::wstring wideFromUtf8(const std::string& utf8);

class JsonObject;

// A value and its path.
class JsonNode {
public:
    JsonNode(const Json& value, std::string path) : value_(&value), path_(std::move(path)) {}

    const Json& json() const noexcept { return *value_; }
    const std::string& path() const noexcept { return path_; }
    [[noreturn]] void fail(const std::string& message) const;

    bool isString() const noexcept { return value_->is_string(); }
    bool isBoolean() const noexcept { return value_->is_boolean(); }
    bool isNumber() const noexcept { return value_->is_number(); }
    bool isArray() const noexcept { return value_->is_array(); }
    bool isObject() const noexcept { return value_->is_object(); }

    // "an object", "an array", "a string", "a number", "true", "false" or "null".
    std::string describe() const;
    // Fails with "expected WHAT, found ...".
    [[noreturn]] void expected(const std::string& what) const;

    double number() const;
    // A length or coordinate in points: a finite number that a 32-bit float holds.
    float points() const;
    // A whole number in min..max.
    int integer(int min, int max) const;
    bool boolean() const;
    std::string string() const;
    std::wstring text() const;
    // The elements of an array, each with its path.
    std::vector<JsonNode> array() const;
    // An object whose keys must all be among allowed.
    JsonObject object(const Names& allowed) const;
    // One of names (its position in the list), or, when integers is true, also a whole number
    // given as it is (the library checks its range).
    int choice(const Names& names, const char* what, bool integers) const;

private:
    const Json* value_;
    std::string path_;
};

// An object whose keys were checked against the ones its reader knows.
class JsonObject {
public:
    JsonObject(const JsonNode& node) : node_(node) {}

    const JsonNode& node() const noexcept { return node_; }
    const std::string& path() const noexcept { return node_.path(); }
    [[noreturn]] void fail(const std::string& message) const { node_.fail(message); }

    bool has(const char* key) const;
    // The value of key; fails with `missing key "key"` when it is absent.
    JsonNode operator[](const char* key) const;
    std::optional<JsonNode> find(const char* key) const;

private:
    JsonNode node_;
};

} // namespace quorv_tool
