#include "core/servers/DottedQuad.h"

#include <charconv>

std::string FormatDottedQuad(const DottedQuad& address)
{
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." + std::to_string(address[2]) + "."
        + std::to_string(address[3]);
}

std::optional<DottedQuad> ParseDottedQuad(const std::string& text)
{
    DottedQuad address{};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i > 0) {
            if (at == end || *at != '.')
                return std::nullopt;
            ++at;
        }
        unsigned value = 0;
        auto [stop, error] = std::from_chars(at, end, value);
        if (error != std::errc() || stop - at > 3 || value > 255)
            return std::nullopt;
        address[i] = static_cast<std::uint8_t>(value);
        at = stop;
    }
    if (at != end)
        return std::nullopt;
    return address;
}
