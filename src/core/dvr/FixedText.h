#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts in fixed-width fields: NUL-padded single-byte text, no terminator
// when the text fills the field.

// The bytes up to the first NUL or the end of the field.
std::string ReadFixedText(const char* field, std::size_t width);
// Zeroes the field, then copies at most maxLength bytes of text (maxLength is
// capped at width).
void WriteFixedText(char* field, std::size_t width, std::string_view text, std::size_t maxLength);

template <std::size_t N>
std::string ReadFixedText(const char (&field)[N])
{
    return ReadFixedText(field, N);
}

template <std::size_t N>
void WriteFixedText(char (&field)[N], std::string_view text, std::size_t maxLength = N)
{
    WriteFixedText(field, N, text, maxLength);
}
