#include "platform/registry/RegNameFold.h"

#include "core/text/Utf8.h"

#include <cstdint>

namespace {

char32_t UpperCase(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - 0x20;
    if (c < 0xE0)
        return c;
    if (c <= 0xFE)
        return c == 0xF7 ? c : c - 0x20;               // Latin-1, except the division sign
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x17F) {                     // Latin Extended-A pairs
        bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (oddPairs)
            return (c % 2 == 0) ? c - 1 : c;
        return (c % 2 == 1) ? c - 1 : c;
    }
    if (c == 0x3C2)
        return 0x3A3;                                   // final sigma
    if (c >= 0x3B1 && c <= 0x3C9)
        return c - 0x20;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    if (c >= 0xFF41 && c <= 0xFF5A)
        return c - 0x20;
    return c;
}

} // namespace

std::string FoldRegName(const std::string& name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        auto lead = static_cast<std::uint8_t>(name[i]);
        if (lead < 0x80) {
            out += char(UpperCase(lead));
            ++i;
            continue;
        }
        char32_t c = 0;
        std::size_t length = text::Utf8SequenceAt(name, i, c);
        if (length == 0) {
            out += name[i++];
            continue;
        }
        char32_t upper = UpperCase(c);
        if (upper == c)
            out.append(name, i, length);
        else
            text::AppendUtf8(out, upper);
        i += length;
    }
    return out;
}
