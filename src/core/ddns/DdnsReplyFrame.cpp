#include "core/ddns/DdnsReplyFrame.h"

#include "core/ddns/DdnsProtocol.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace ddns {

namespace {

constexpr std::uint8_t kDefaultHeader[kHeaderSize] = {0x00, 0x00, 0x00};

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// Four decimal parts of 1 to 3 digits, each at most 255, joined by dots.
bool IsDottedIpv4(std::string_view text)
{
    int parts = 0;
    std::size_t at = 0;
    while (true) {
        std::size_t digits = 0;
        unsigned value = 0;
        while (at < text.size() && IsDecimalDigit(text[at]) && digits < 4) {
            value = value * 10 + static_cast<unsigned>(text[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        if (++parts == 4)
            return at == text.size();
        if (at >= text.size() || text[at] != '.')
            return false;
        ++at;
    }
}

// One to eight hex digits whose value fits a port. A larger value would
// otherwise come out as a wrong port once cut to 16 bits.
std::optional<std::uint16_t> ParseHexPort(std::span<const std::uint8_t> text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::uint8_t c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
        if (value > 0xFFFF)
            return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

Reply MalformedReply() { return Reply{}; }

}  // namespace

Reply ParseReplyPayload(std::span<const std::uint8_t> payload)
{
    constexpr std::size_t kFieldsAt = kHeaderSize;
    if (payload.size() < kFieldsAt + 2)
        return MalformedReply();
    Reply reply;
    bool haveAddress = false;
    std::size_t at = kFieldsAt;
    for (int field = 0; field < 2 && (field == 0 || at < payload.size()); ++field) {
        if (payload.size() - at < 2)
            return MalformedReply();
        const std::uint8_t type = payload[at];
        const std::size_t length = payload[at + 1];
        if (payload.size() - at - 2 < length)
            return MalformedReply();
        const auto value = payload.subspan(at + 2, length);
        at += 2 + length;
        if (type == kFieldAddress) {
            // An empty address is the server's "not registered", wherever it stands.
            if (length == 0)
                return Reply{Reply::Kind::NotRegistered, {}, 0};
            std::string text(value.begin(), value.end() - 1);
            if (!IsDottedIpv4(text))
                return MalformedReply();
            reply.address = std::move(text);
            haveAddress = true;
        } else if (type == kFieldPort) {
            const auto port = ParseHexPort(value);
            if (!port)
                return MalformedReply();
            reply.port = *port;
        }
    }
    if (!haveAddress)
        return MalformedReply();
    reply.kind = Reply::Kind::Resolved;
    return reply;
}

ReplyField AddressField(const std::string& dottedAddress)
{
    ReplyField field{kFieldAddress, {dottedAddress.begin(), dottedAddress.end()}};
    field.value.push_back(0x00);
    return field;
}

ReplyField PortField(std::uint16_t port)
{
    char text[8];
    const int length = std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(port));
    return ReplyField{kFieldPort, {text, text + length}};
}

std::optional<std::vector<std::uint8_t>> BuildReplyFrame(std::span<const ReplyField> fields,
                                                         std::span<const std::uint8_t, 3> header)
{
    std::vector<std::uint8_t> frame{kFrameStart};
    frame.insert(frame.end(), header.begin(), header.end());
    for (const ReplyField& field : fields) {
        if (field.value.size() > kMaxFieldValue)
            return std::nullopt;
        frame.push_back(field.type);
        frame.push_back(static_cast<std::uint8_t>(field.value.size()));
        frame.insert(frame.end(), field.value.begin(), field.value.end());
    }
    if (std::any_of(frame.begin() + 1, frame.end(), IsFrameMarker))
        return std::nullopt;
    frame.push_back(kFrameEnd);
    return frame;
}

std::optional<std::vector<std::uint8_t>> BuildReplyFrame(std::span<const ReplyField> fields)
{
    return BuildReplyFrame(fields, std::span<const std::uint8_t, 3>(kDefaultHeader));
}

std::optional<std::vector<std::uint8_t>> BuildResolvedReply(const std::string& dottedAddress, std::uint16_t port,
                                                            bool portFirst)
{
    const ReplyField address = AddressField(dottedAddress);
    const ReplyField portField = PortField(port);
    const ReplyField fields[2] = {portFirst ? portField : address, portFirst ? address : portField};
    return BuildReplyFrame(fields);
}

std::vector<std::uint8_t> BuildNotRegisteredReply()
{
    return {kFrameStart, 0x00, 0x00, 0x00, kFieldAddress, 0x00, kFrameEnd};
}

}  // namespace ddns
