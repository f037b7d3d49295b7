#pragma once

#include <cstdint>

// A loopback port nobody is bound to right now (0 when none could be had).
// Another process may take it before the caller binds it.
std::uint16_t FreeTcpPort();
std::uint16_t FreeUdpPort();
