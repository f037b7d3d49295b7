#include "platform/netauth/OpenSslLoginAuthority.h"

#include "platform/netauth/LoginCrypto.h"

namespace netauth {

std::optional<wire::Nonce> OpenSslLoginAuthority::NewNonce() { return RandomNonce(); }

std::optional<uint32_t> OpenSslLoginAuthority::NewToken() { return RandomToken(); }

wire::Proof OpenSslLoginAuthority::ExpectedProof(const std::string& password,
                                                 const std::array<uint8_t, wire::kAccountFieldSize>& account,
                                                 const wire::Nonce& serverNonce, const wire::Nonce& clientNonce)
{
    return ComputeLoginProof(password, account, serverNonce, clientNonce);
}

bool OpenSslLoginAuthority::ProofsEqual(const wire::Proof& a, const wire::Proof& b)
{
    return ConstantTimeEqual(a.data(), b.data(), a.size());
}

}  // namespace netauth
