#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// An IPv4 address as the IP address control holds it: four bytes, first
// octet first.
using DottedQuad = std::array<std::uint8_t, 4>;

// "%d.%d.%d.%d".
std::string FormatDottedQuad(const DottedQuad& address);
// Exactly four dot-separated decimal numbers of 0..255 (at most three digits
// each); anything else is not an address.
std::optional<DottedQuad> ParseDottedQuad(const std::string& text);
