#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A strict little JSON reader for checking what our writers produce: it
// refuses trailing commas, bad escapes, raw control characters, invalid UTF-8
// and trailing garbage. Strings come back as UTF-8.
struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    double number = 0;
    bool boolean = false;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    const JsonValue& operator[](const std::string& key) const { return members.at(key); }
    const JsonValue& operator[](std::size_t index) const { return items.at(index); }
    bool Has(const std::string& key) const { return members.count(key) != 0; }
};

std::optional<JsonValue> ParseJson(std::string_view text, std::string* error = nullptr);
