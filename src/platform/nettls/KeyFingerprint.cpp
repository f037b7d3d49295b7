#include "platform/nettls/KeyFingerprint.h"

#include <openssl/crypto.h>
#include <openssl/sha.h>
#include <openssl/x509.h>

namespace nettls {

std::string PublicKeyFingerprint(EVP_PKEY* key)
{
    unsigned char* der = nullptr;
    const int length = key ? i2d_PUBKEY(key, &der) : -1;
    if (length <= 0)
        return {};
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(der, static_cast<size_t>(length), digest);
    OPENSSL_free(der);
    static const char kHex[] = "0123456789abcdef";
    std::string text = "SHA256:";
    for (const unsigned char byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text;
}

}  // namespace nettls
