#pragma once

#include <cstdint>
#include <string_view>

// The arguments Connect hands to a session object, from the texts of a
// server record.

// True only for exactly "TCP"; "tcp" or anything else opens without TCP media.
bool IsTcpProtocol(std::string_view protocol);

// The port text as a number: decimal digits, blanks around them allowed.
// Anything else, and numbers outside 1..65535, give 0 (a port the session
// cannot open) instead of a wrapped or partly read number.
std::uint16_t ParsePortText(std::string_view text);
