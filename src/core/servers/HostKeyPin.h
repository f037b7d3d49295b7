#pragma once

#include <cstdint>
#include <string>

// Where the recorders' pinned TLS keys are kept: one REG_SZ value per address
// and port under this key, beside the server records, named "ADDRESS:PORT"
// and holding the key's fingerprint.
inline constexpr const char* kHostKeysKey = "Software\\DVR\\HostKeys";

// "ADDRESS:PORT", the value name of one recorder's pin.
std::string HostKeyPinName(const std::string& host, std::uint16_t port);

// "SHA256:" followed by exactly 64 lower-case hex digits.
bool IsHostKeyFingerprint(const std::string& text);
