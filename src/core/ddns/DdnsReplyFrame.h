#pragma once
// The server's answer to a query. Its payload is three header bytes (not
// examined) and then up to two fields, in either order:
//   type 1 (address): dotted IPv4 text and one terminating byte
//   type 2 (port):    the port as hexadecimal digits, no terminator
// A payload whose first field is an empty address means "not registered".

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ddns {

struct Reply {
    enum class Kind {
        Resolved,
        NotRegistered,
        Malformed,  // fields past the payload, overlong frame, bad address or port text
    };
    Kind kind = Kind::Malformed;
    std::string address;     // Resolved: dotted IPv4
    std::uint16_t port = 0;  // Resolved: 0 when the reply carried no port field
};

// Reads a reply payload (the bytes between 0xAF and 0xCE). Never reads past
// the payload: a field whose length runs beyond it makes the reply Malformed.
// Fields of other types are skipped; bytes after the second field are ignored.
Reply ParseReplyPayload(std::span<const std::uint8_t> payload);

// One field of a reply, for the server side and for tests.
struct ReplyField {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> value;
};

ReplyField AddressField(const std::string& dottedAddress);  // text plus a zero byte
ReplyField PortField(std::uint16_t port);                   // upper-case hex, e.g. "1B8A"

// A whole reply frame (0xAF, header, fields, 0xCE); empty when a value is
// longer than 255 bytes or a header or field byte equals a frame marker.
std::optional<std::vector<std::uint8_t>> BuildReplyFrame(std::span<const ReplyField> fields,
                                                         std::span<const std::uint8_t, 3> header);
std::optional<std::vector<std::uint8_t>> BuildReplyFrame(std::span<const ReplyField> fields);

// The frame for a registered name, address field first unless portFirst.
std::optional<std::vector<std::uint8_t>> BuildResolvedReply(const std::string& dottedAddress, std::uint16_t port,
                                                            bool portFirst = false);
// 0xAF, 00 00 00 01 00, 0xCE.
std::vector<std::uint8_t> BuildNotRegisteredReply();

}  // namespace ddns
