#pragma once

#include "core/net/RecorderBackend.h"

namespace netauth {

// The recorder's log-in arithmetic over libcrypto (LoginCrypto.h).
class OpenSslLoginAuthority final : public wire::LoginAuthority {
public:
    std::optional<wire::Nonce> NewNonce() override;
    std::optional<uint32_t> NewToken() override;
    wire::Proof ExpectedProof(const std::string& password,
                              const std::array<uint8_t, wire::kAccountFieldSize>& account,
                              const wire::Nonce& serverNonce, const wire::Nonce& clientNonce) override;
    bool ProofsEqual(const wire::Proof& a, const wire::Proof& b) override;
};

}  // namespace netauth
