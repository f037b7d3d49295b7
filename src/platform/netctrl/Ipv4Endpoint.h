#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <string>

// Turns an address text (dotted IPv4 or a host name) and a port into a socket
// address. Only IPv4: the recorders speak nothing else. Port 0 is refused.
std::optional<sockaddr_in> ResolveIpv4Endpoint(const std::string& host, std::uint16_t port);

// Parses "host:port"; empty on a malformed text.
std::optional<sockaddr_in> ParseIpv4HostPort(const std::string& text);

bool IsLoopback(const sockaddr_in& address);
