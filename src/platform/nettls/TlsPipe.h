#pragma once

#include <openssl/types.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nettls {

class TlsIdentity;

// One TLS 1.3 session over memory buffers: the caller moves ciphertext between
// the pipe and its socket, and plaintext between the pipe and its protocol.
// Nothing blocks and no socket is touched. The client does not check the
// server's certificate chain: the server's key is trusted by its pinned
// fingerprint (PeerKeyFingerprint) instead.
class TlsPipe {
public:
    // A client; its hello is ready in TakeCiphertext at once. Null with *error
    // when OpenSSL cannot set one up.
    static std::unique_ptr<TlsPipe> Client(std::string* error);
    static std::unique_ptr<TlsPipe> Server(const TlsIdentity& identity, std::string* error);
    ~TlsPipe();
    TlsPipe(const TlsPipe&) = delete;
    TlsPipe& operator=(const TlsPipe&) = delete;

    // Ciphertext from the peer. False once the session has failed (Error()).
    bool PutCiphertext(const std::uint8_t* data, std::size_t length);
    // Appends the ciphertext waiting for the peer to out and forgets it.
    void TakeCiphertext(std::vector<std::uint8_t>& out);
    // Plaintext for the peer; held until the handshake is done. False once
    // the session has failed.
    bool WritePlaintext(const std::uint8_t* data, std::size_t length);
    // Appends every plaintext byte the ciphertext so far holds to out, so
    // nothing stays inside the pipe. False once the session has failed.
    bool ReadPlaintext(std::vector<std::uint8_t>& out);

    bool HandshakeDone() const { return m_handshakeDone; }
    bool Failed() const { return !m_error.empty(); }
    // Why the session failed, in words.
    const std::string& Error() const { return m_error; }
    // The peer closed its TLS session cleanly.
    bool PeerClosed() const { return m_peerClosed; }
    // "SHA256:..." of the peer's key (empty before the handshake or for a
    // client that showed no certificate).
    std::string PeerKeyFingerprint() const;
    // 32 bytes both ends derive from the session for this label (the TLS
    // exporter); all zero before the handshake.
    std::array<std::uint8_t, 32> ExportKey(std::string_view label) const;

private:
    TlsPipe() = default;
    static std::unique_ptr<TlsPipe> Make(SSL_CTX* context, bool server, std::string* error);
    bool Advance();
    bool Fail(int result, const char* what);

    SSL* m_ssl = nullptr;
    BIO* m_in = nullptr;   // ciphertext from the peer, read by OpenSSL
    BIO* m_out = nullptr;  // ciphertext for the peer, written by OpenSSL
    bool m_handshakeDone = false;
    bool m_peerClosed = false;
    std::string m_error;
    std::vector<std::uint8_t> m_heldPlaintext;  // written before the handshake finished
};

}  // namespace nettls
