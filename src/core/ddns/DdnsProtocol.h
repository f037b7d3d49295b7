#pragma once
// Constants of the DDNS query protocol: a client asks the DDNS server, over
// TCP, for the current IPv4 address and port of a registered name.

#include <cstddef>
#include <cstdint>

namespace ddns {

constexpr std::uint16_t kServerPort = 2780;

// A frame is 0xAF, payload, 0xCE. There is no escaping, so no payload byte
// may equal either marker.
constexpr std::uint8_t kFrameStart = 0xAF;
constexpr std::uint8_t kFrameEnd = 0xCE;

constexpr bool IsFrameMarker(std::uint8_t byte) { return byte == kFrameStart || byte == kFrameEnd; }

// Field types, in both directions.
constexpr std::uint8_t kFieldName = 1;     // query: the DDNS name, zero-terminated
constexpr std::uint8_t kFieldAddress = 1;  // reply: dotted IPv4 text plus one terminating byte
constexpr std::uint8_t kFieldPort = 2;     // reply: hexadecimal digits, no terminator

// Every payload starts with three header bytes that the reader skips.
constexpr std::size_t kHeaderSize = 3;
// A field is one type byte, one length byte and the value.
constexpr std::size_t kMaxFieldValue = 255;

// The client keeps a reply's payload in a buffer of this size.
constexpr std::size_t kReplyBufferSize = 128;

// The longest name a query can carry: its length byte counts the terminator.
constexpr std::size_t kMaxNameLength = kMaxFieldValue - 1;
// Query payload: header, type, length, name, terminator.
constexpr std::size_t kMaxQueryPayload = kHeaderSize + 2 + kMaxFieldValue;

}  // namespace ddns
