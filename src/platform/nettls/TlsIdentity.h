#pragma once

#include <openssl/types.h>

#include <memory>
#include <optional>
#include <string>

namespace nettls {

// A TLS server's private key and its self-signed certificate. Trust in such a
// key comes from the client pinning its fingerprint, not from a chain.
class TlsIdentity {
public:
    // A fresh Ed25519 key; nullopt with *error when no key can be made.
    static std::optional<TlsIdentity> Generate(const std::string& commonName, std::string* error);
    // The key and certificate from PEM text as Pem() writes it. A missing or
    // foreign certificate is made anew (the fingerprint depends on the key
    // only); nullopt with *error when the text holds no usable private key.
    static std::optional<TlsIdentity> FromPem(const std::string& pem, const std::string& commonName,
                                              std::string* error);

    // The private key (unencrypted PKCS#8) followed by the certificate, as PEM text.
    std::string Pem() const;
    std::string Fingerprint() const;

    EVP_PKEY* Key() const { return m_key.get(); }
    X509* Certificate() const { return m_certificate.get(); }

private:
    struct KeyFree {
        void operator()(EVP_PKEY* key) const;
    };
    struct CertificateFree {
        void operator()(X509* certificate) const;
    };
    static std::optional<TlsIdentity> WithNewCertificate(EVP_PKEY* key, const std::string& commonName,
                                                         std::string* error);

    std::shared_ptr<EVP_PKEY> m_key;
    std::shared_ptr<X509> m_certificate;
};

// The last OpenSSL error of this thread as text (and the queue cleared).
std::string OpenSslErrorText(const std::string& what);

}  // namespace nettls
