#include "core/ddns/DdnsQueryFrame.h"

#include "core/ddns/DdnsProtocol.h"

#include <algorithm>

namespace ddns {

namespace {

// Header bytes of a query.
constexpr std::uint8_t kQueryHeader[kHeaderSize] = {0x02, 0xFF, 0xFF};

}  // namespace

bool IsEncodableName(std::string_view name)
{
    if (name.size() > kMaxNameLength)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<std::uint8_t>(c);
        return byte == 0 || IsFrameMarker(byte);
    });
}

std::optional<std::vector<std::uint8_t>> BuildQueryFrame(std::string_view name)
{
    if (!IsEncodableName(name))
        return std::nullopt;
    std::vector<std::uint8_t> frame;
    frame.reserve(name.size() + 8);
    frame.push_back(kFrameStart);
    frame.insert(frame.end(), std::begin(kQueryHeader), std::end(kQueryHeader));
    frame.push_back(kFieldName);
    frame.push_back(static_cast<std::uint8_t>(name.size() + 1));
    frame.insert(frame.end(), name.begin(), name.end());
    frame.push_back(0x00);
    frame.push_back(kFrameEnd);
    return frame;
}

std::optional<std::string> ParseQueryPayload(std::span<const std::uint8_t> payload)
{
    constexpr std::size_t kValueAt = kHeaderSize + 2;
    if (payload.size() < kValueAt + 1 || payload[kHeaderSize] != kFieldName)
        return std::nullopt;
    const std::size_t length = payload[kHeaderSize + 1];
    if (length == 0 || kValueAt + length != payload.size() || payload.back() != 0x00)
        return std::nullopt;
    std::string name(payload.begin() + kValueAt, payload.end() - 1);
    if (!IsEncodableName(name))
        return std::nullopt;
    return name;
}

}  // namespace ddns
