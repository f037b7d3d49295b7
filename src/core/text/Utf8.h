#pragma once

#include <cstddef>
#include <string>

namespace text {

// The length of the strictly valid UTF-8 sequence at s[i], with its code
// point in c; 0 when the bytes there start none (overlong forms, surrogates,
// code points past U+10FFFF and cut sequences included).
std::size_t Utf8SequenceAt(const std::string& s, std::size_t i, char32_t& c);

// Appends code point c (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace text
