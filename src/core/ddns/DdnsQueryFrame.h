#pragma once
// The query a client sends for one DDNS name:
//   AF 02 FF FF 01 <n+1> <name, n bytes> 00 CE
// and the server side's reading of its payload.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ddns {

// True when the name fits a query: at most 254 bytes and none of them a
// frame marker or a zero (either would cut the frame or the name short).
// The empty name is sent as it is.
bool IsEncodableName(std::string_view name);

// The whole query frame; empty when the name is not encodable.
std::optional<std::vector<std::uint8_t>> BuildQueryFrame(std::string_view name);

// The name a query payload (the bytes between 0xAF and 0xCE) asks for; empty
// when the payload is not one name field, zero-terminated, filling the rest
// of the payload, or the name is not one a query could carry. The header
// bytes are not examined.
std::optional<std::string> ParseQueryPayload(std::span<const std::uint8_t> payload);

}  // namespace ddns
