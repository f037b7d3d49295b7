#pragma once

#include <openssl/types.h>

#include <string>

namespace nettls {

// "SHA256:" and 64 lower-case hex digits of SHA-256 over the key's DER
// SubjectPublicKeyInfo; empty when the key cannot be encoded.
std::string PublicKeyFingerprint(EVP_PKEY* key);

}  // namespace nettls
