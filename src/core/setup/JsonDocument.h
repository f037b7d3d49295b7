#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A strict JSON reader for settings files. Numbers are kept only when they
// are whole (no fraction or exponent) and fit 64 bits. Strings come back as
// bytes: an escape \u0000..\u00FF is that one byte (how our writer keeps
// single-byte recorder text that is not UTF-8), any other character its
// UTF-8 bytes. Duplicate keys, trailing commas, raw control characters,
// invalid UTF-8, nesting deeper than 32 and trailing garbage are refused.
struct JsonNode {
    enum class Kind { Null, Bool, Integer, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    std::int64_t integer = 0;
    std::string text;
    std::vector<JsonNode> items;    // an array's entries, or an object's member values
    std::vector<std::string> names; // an object's member names, in file order, unique; names[i] goes with items[i]

    // Null when the object has no such member (or this is not an object).
    const JsonNode* Find(std::string_view key) const;
};

// Nullopt with a one-line reason (and the byte offset) in *error.
std::optional<JsonNode> ParseJsonDocument(std::string_view text, std::string* error);
