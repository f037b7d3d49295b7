#pragma once
// The cryptography of the recorder log-in, over OpenSSL libcrypto: random
// nonces and session tokens, the HMAC-SHA256 proof, and a comparison whose
// time does not depend on where the bytes differ.

#include "core/net/SessionMessages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace netauth {

// Bytes from the system's secure generator; nullopt if it fails (callers
// refuse the log-in rather than use weak bytes).
std::optional<wire::Nonce> RandomNonce();
// A non-zero random 32-bit value; nullopt if the generator fails.
std::optional<uint32_t> RandomToken();

// HMAC-SHA256(password, LoginProofInput(account, serverNonce, clientNonce)).
wire::Proof ComputeLoginProof(std::string_view password, const std::array<uint8_t, wire::kAccountFieldSize>& account,
                              const wire::Nonce& serverNonce, const wire::Nonce& clientNonce);

bool ConstantTimeEqual(const uint8_t* a, const uint8_t* b, size_t length);

}  // namespace netauth
