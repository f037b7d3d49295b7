#include "core/dvr/FixedText.h"

#include <algorithm>
#include <cstring>

std::string ReadFixedText(const char* field, std::size_t width)
{
    const char* end = std::find(field, field + width, '\0');
    return std::string(field, end);
}

void WriteFixedText(char* field, std::size_t width, std::string_view text, std::size_t maxLength)
{
    std::memset(field, 0, width);
    const std::size_t n = std::min({text.size(), width, maxLength});
    std::memcpy(field, text.data(), n);
}
