#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A language pack: the table of translated texts, keyed by numeric string id.
//
// The file is UTF-8 text (an optional byte order mark at the very start is
// skipped), one entry a line, lines ending in LF or CRLF:
//
//   <id><TAB><text>
//
// - id: decimal digits without sign or leading zeros, 0..65535; each id once.
// - text: not empty; a raw TAB or other control character is refused, so a
//   stray column or pasted control byte shows up as an error. Escapes:
//   "\n" newline, "\t" tab, "\\" backslash; any other backslash is an error.
// - A line whose first character is '#' is a comment; empty lines and lines
//   of only spaces and tabs are skipped.
// - The file must hold at least one entry and at most MaxFileBytes bytes.
//
// Any breach makes the whole pack invalid, with an error naming the line:
// half a pack would show empty message boxes.
class LanguagePack {
public:
    static constexpr std::size_t MaxFileBytes = 1024 * 1024;
    static constexpr int MaxId = 65535;

    static std::optional<LanguagePack> Parse(std::string_view bytes, std::string* error);
    // Reads a regular file only (a device or FIFO is refused, never waited on).
    // The error names the path as well as the line.
    static std::optional<LanguagePack> LoadFile(const std::string& path, std::string* error);

    // Null when the pack has no text for id.
    const std::string* Find(int id) const;
    // Ascending.
    std::vector<int> Ids() const;

private:
    std::map<int, std::string> texts_;
};
