#pragma once

#include <string>
#include <string_view>

// Appends bytes as a quoted JSON string. Valid UTF-8 passes through; quote,
// backslash and control characters are escaped; every byte that is not part
// of a valid UTF-8 sequence is written as \u00XX, its single-byte (Latin-1)
// reading, so any text from a recorder yields valid JSON.
void AppendJsonString(std::string& out, std::string_view bytes);
