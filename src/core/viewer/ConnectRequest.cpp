#include "core/viewer/ConnectRequest.h"

namespace {

constexpr unsigned kMaxPort = 65535;

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

bool IsTcpProtocol(std::string_view protocol)
{
    return protocol == "TCP";
}

std::uint16_t ParsePortText(std::string_view text)
{
    text = Trim(text);
    if (text.empty())
        return 0;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > kMaxPort)
            return 0;
    }
    return static_cast<std::uint16_t>(value);
}
