#include "platform/netauth/LoginCrypto.h"

#include "core/net/LoginProof.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

namespace netauth {

std::optional<wire::Nonce> RandomNonce()
{
    wire::Nonce nonce{};
    if (RAND_bytes(nonce.data(), static_cast<int>(nonce.size())) != 1)
        return std::nullopt;
    return nonce;
}

std::optional<uint32_t> RandomToken()
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        uint8_t bytes[4];
        if (RAND_bytes(bytes, sizeof bytes) != 1)
            return std::nullopt;
        const uint32_t token = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
        if (token != 0)
            return token;
    }
    return std::nullopt;
}

wire::Proof ComputeLoginProof(std::string_view password, const std::array<uint8_t, wire::kAccountFieldSize>& account,
                              const wire::Nonce& serverNonce, const wire::Nonce& clientNonce)
{
    const std::vector<uint8_t> input = wire::LoginProofInput(account, serverNonce, clientNonce);
    wire::Proof proof{};
    unsigned int length = 0;
    // HMAC accepts an empty key; a null key pointer it does not.
    static const uint8_t kEmpty = 0;
    const void* key = password.empty() ? static_cast<const void*>(&kEmpty) : password.data();
    HMAC(EVP_sha256(), key, static_cast<int>(password.size()), input.data(), input.size(), proof.data(), &length);
    return proof;
}

bool ConstantTimeEqual(const uint8_t* a, const uint8_t* b, size_t length)
{
    return CRYPTO_memcmp(a, b, length) == 0;
}

}  // namespace netauth
