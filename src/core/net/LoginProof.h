#pragma once
// The bytes the log-in proof is computed over:
//   "OMBREL-LOGIN-1" || account field (16) || server nonce (32) || client nonce (32)
// The proof is HMAC-SHA256 keyed with the password bytes (see
// platform/netauth/NetAuth.h, which computes it).

#include "core/net/SessionMessages.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace wire {

inline constexpr std::string_view kLoginLabel = "OMBREL-LOGIN-1";

std::vector<uint8_t> LoginProofInput(const std::array<uint8_t, kAccountFieldSize>& account, const Nonce& serverNonce,
                                     const Nonce& clientNonce);

}  // namespace wire
