#include "platform/nettls/TlsPipe.h"

#include "platform/nettls/KeyFingerprint.h"
#include "platform/nettls/TlsIdentity.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <climits>

namespace nettls {
namespace {

SSL_CTX* NewContext(std::string* error)
{
    SSL_CTX* context = SSL_CTX_new(TLS_method());
    if (!context || !SSL_CTX_set_min_proto_version(context, TLS1_3_VERSION)
        || !SSL_CTX_set_max_proto_version(context, TLS1_3_VERSION)) {
        SSL_CTX_free(context);
        *error = OpenSslErrorText("cannot set up TLS");
        return nullptr;
    }
    return context;
}

}  // namespace

std::unique_ptr<TlsPipe> TlsPipe::Client(std::string* error)
{
    SSL_CTX* context = NewContext(error);
    if (!context)
        return nullptr;
    SSL_CTX_set_verify(context, SSL_VERIFY_NONE, nullptr);
    auto pipe = Make(context, false, error);
    if (pipe && !pipe->Advance()) {
        *error = pipe->Error();
        return nullptr;
    }
    return pipe;
}

std::unique_ptr<TlsPipe> TlsPipe::Server(const TlsIdentity& identity, std::string* error)
{
    SSL_CTX* context = NewContext(error);
    if (!context)
        return nullptr;
    if (SSL_CTX_use_certificate(context, identity.Certificate()) != 1
        || SSL_CTX_use_PrivateKey(context, identity.Key()) != 1) {
        SSL_CTX_free(context);
        *error = OpenSslErrorText("cannot use the server key");
        return nullptr;
    }
    // Sessions are never resumed: tickets would be bytes for nothing.
    SSL_CTX_set_num_tickets(context, 0);
    return Make(context, true, error);
}

std::unique_ptr<TlsPipe> TlsPipe::Make(SSL_CTX* context, bool server, std::string* error)
{
    std::unique_ptr<TlsPipe> pipe(new TlsPipe);
    pipe->m_ssl = SSL_new(context);
    SSL_CTX_free(context);  // the session holds its own reference
    BIO* in = BIO_new(BIO_s_mem());
    BIO* out = BIO_new(BIO_s_mem());
    if (!pipe->m_ssl || !in || !out) {
        BIO_free(in);
        BIO_free(out);
        *error = OpenSslErrorText("cannot set up a TLS session");
        return nullptr;
    }
    // An empty input buffer means "wait for more", not end of stream.
    BIO_set_mem_eof_return(in, -1);
    SSL_set_bio(pipe->m_ssl, in, out);
    pipe->m_in = in;
    pipe->m_out = out;
    if (server)
        SSL_set_accept_state(pipe->m_ssl);
    else
        SSL_set_connect_state(pipe->m_ssl);
    return pipe;
}

TlsPipe::~TlsPipe() { SSL_free(m_ssl); }

bool TlsPipe::Fail(int result, const char* what)
{
    const int reason = SSL_get_error(m_ssl, result);
    if (reason == SSL_ERROR_WANT_READ || reason == SSL_ERROR_WANT_WRITE)
        return true;
    m_error = OpenSslErrorText(what);
    return false;
}

bool TlsPipe::Advance()
{
    if (m_handshakeDone)
        return true;
    ERR_clear_error();
    const int result = SSL_do_handshake(m_ssl);
    if (result != 1)
        return Fail(result, "TLS handshake failed");
    m_handshakeDone = true;
    std::vector<std::uint8_t> held;
    held.swap(m_heldPlaintext);
    return WritePlaintext(held.data(), held.size());
}

bool TlsPipe::PutCiphertext(const std::uint8_t* data, std::size_t length)
{
    if (Failed())
        return false;
    while (length > 0) {
        const int chunk = static_cast<int>(std::min<std::size_t>(length, INT_MAX));
        if (BIO_write(m_in, data, chunk) != chunk) {
            m_error = "TLS input buffer full";
            return false;
        }
        data += chunk;
        length -= static_cast<std::size_t>(chunk);
    }
    return Advance();
}

void TlsPipe::TakeCiphertext(std::vector<std::uint8_t>& out)
{
    char* data = nullptr;
    const long length = BIO_get_mem_data(m_out, &data);
    if (length <= 0)
        return;
    out.insert(out.end(), data, data + length);
    (void)BIO_reset(m_out);
}

bool TlsPipe::WritePlaintext(const std::uint8_t* data, std::size_t length)
{
    if (Failed())
        return false;
    if (!m_handshakeDone) {
        m_heldPlaintext.insert(m_heldPlaintext.end(), data, data + length);
        return true;
    }
    while (length > 0) {
        const int chunk = static_cast<int>(std::min<std::size_t>(length, INT_MAX));
        ERR_clear_error();
        const int written = SSL_write(m_ssl, data, chunk);
        if (written <= 0) {
            Fail(written, "TLS write failed");
            if (!Failed())
                m_error = "TLS write stalled";
            return false;
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

bool TlsPipe::ReadPlaintext(std::vector<std::uint8_t>& out)
{
    if (Failed())
        return false;
    if (!m_handshakeDone)
        return true;
    std::uint8_t buffer[16384];
    for (;;) {
        ERR_clear_error();
        const int got = SSL_read(m_ssl, buffer, sizeof buffer);
        if (got > 0) {
            out.insert(out.end(), buffer, buffer + got);
            continue;
        }
        if (SSL_get_error(m_ssl, got) == SSL_ERROR_ZERO_RETURN) {
            m_peerClosed = true;
            return true;
        }
        return Fail(got, "TLS read failed");
    }
}

std::string TlsPipe::PeerKeyFingerprint() const
{
    X509* certificate = m_handshakeDone ? SSL_get0_peer_certificate(m_ssl) : nullptr;
    return certificate ? PublicKeyFingerprint(X509_get0_pubkey(certificate)) : std::string();
}

std::array<std::uint8_t, 32> TlsPipe::ExportKey(std::string_view label) const
{
    std::array<std::uint8_t, 32> key{};
    if (m_handshakeDone
        && SSL_export_keying_material(m_ssl, key.data(), key.size(), label.data(), label.size(), nullptr, 0, 0) != 1)
        key.fill(0);
    return key;
}

}  // namespace nettls
