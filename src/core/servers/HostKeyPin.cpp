#include "core/servers/HostKeyPin.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view kFingerprintPrefix = "SHA256:";
constexpr std::size_t kFingerprintHexDigits = 64;

bool LowerHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

} // namespace

std::string HostKeyPinName(const std::string& host, std::uint16_t port)
{
    return host + ":" + std::to_string(port);
}

bool IsHostKeyFingerprint(const std::string& text)
{
    const std::string_view view(text);
    return view.size() == kFingerprintPrefix.size() + kFingerprintHexDigits && view.starts_with(kFingerprintPrefix)
        && std::all_of(view.begin() + kFingerprintPrefix.size(), view.end(), LowerHexDigit);
}
