#include "platform/nettls/TlsIdentity.h"

#include "platform/nettls/KeyFingerprint.h"

#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>

namespace nettls {
namespace {

// Self-signed certificates never expire in practice: the pin is what counts.
constexpr int kValidDays = 100 * 365;

std::string BioText(BIO* bio)
{
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return length > 0 ? std::string(data, static_cast<size_t>(length)) : std::string();
}

}  // namespace

std::string OpenSslErrorText(const std::string& what)
{
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0)
        return what;
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return what + ": " + text;
}

void TlsIdentity::KeyFree::operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
void TlsIdentity::CertificateFree::operator()(X509* certificate) const { X509_free(certificate); }

std::optional<TlsIdentity> TlsIdentity::Generate(const std::string& commonName, std::string* error)
{
    EVP_PKEY* key = EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519");
    if (!key) {
        *error = OpenSslErrorText("cannot make an Ed25519 key");
        return std::nullopt;
    }
    return WithNewCertificate(key, commonName, error);
}

std::optional<TlsIdentity> TlsIdentity::FromPem(const std::string& pem, const std::string& commonName,
                                                std::string* error)
{
    BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    EVP_PKEY* key = bio ? PEM_read_bio_PrivateKey(bio, nullptr, nullptr, nullptr) : nullptr;
    BIO_free(bio);
    if (!key) {
        *error = OpenSslErrorText("no private key in the PEM text");
        return std::nullopt;
    }
    bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    X509* certificate = bio ? PEM_read_bio_X509(bio, nullptr, nullptr, nullptr) : nullptr;
    BIO_free(bio);
    if (!certificate || X509_check_private_key(certificate, key) != 1) {
        X509_free(certificate);
        ERR_clear_error();
        return WithNewCertificate(key, commonName, error);
    }
    TlsIdentity identity;
    identity.m_key.reset(key, KeyFree{});
    identity.m_certificate.reset(certificate, CertificateFree{});
    return identity;
}

std::optional<TlsIdentity> TlsIdentity::WithNewCertificate(EVP_PKEY* key, const std::string& commonName,
                                                        std::string* error)
{
    TlsIdentity identity;
    identity.m_key.reset(key, KeyFree{});
    identity.m_certificate.reset(X509_new(), CertificateFree{});
    X509* certificate = identity.m_certificate.get();
    unsigned char serial[16];
    BIGNUM* serialNumber = nullptr;
    bool made = certificate && RAND_bytes(serial, sizeof serial) == 1;
    if (made) {
        serial[0] &= 0x7F;  // a positive serial number
        serialNumber = BN_bin2bn(serial, sizeof serial, nullptr);
        made = serialNumber && BN_to_ASN1_INTEGER(serialNumber, X509_get_serialNumber(certificate));
    }
    BN_free(serialNumber);
    X509_NAME* name = made ? X509_get_subject_name(certificate) : nullptr;
    made = made && X509_set_version(certificate, X509_VERSION_3)
        && X509_gmtime_adj(X509_getm_notBefore(certificate), -24L * 3600)
        && X509_time_adj_ex(X509_getm_notAfter(certificate), kValidDays, 0, nullptr)
        && X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                                      reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0)
        && X509_set_issuer_name(certificate, name) && X509_set_pubkey(certificate, key)
        // Ed25519 signs the message itself: no separate digest.
        && X509_sign(certificate, key, nullptr) > 0;
    if (!made) {
        *error = OpenSslErrorText("cannot make the certificate");
        return std::nullopt;
    }
    return identity;
}

std::string TlsIdentity::Pem() const
{
    BIO* bio = BIO_new(BIO_s_mem());
    std::string text;
    if (bio && PEM_write_bio_PrivateKey(bio, m_key.get(), nullptr, nullptr, 0, nullptr, nullptr)
        && PEM_write_bio_X509(bio, m_certificate.get()))
        text = BioText(bio);
    BIO_free(bio);
    return text;
}

std::string TlsIdentity::Fingerprint() const { return PublicKeyFingerprint(m_key.get()); }

}  // namespace nettls
