#pragma once

#include "platform/nettls/TlsPipe.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nettls {

// The exporter label both ends derive the session's live datagram key with.
inline constexpr char kMediaKeyLabel[] = "OMBREL-MEDIA-1";

class TlsIdentity;

// The transport of one control connection: the recorder opens with one clear
// StartTls frame header, then every byte both ways is TLS 1.3 and the frame
// protocol runs inside it. Either end uses one; it moves no socket bytes
// itself: what arrives goes to OnWireBytes, what Wire() holds goes out.
class SecureLink {
public:
    enum class Failure {
        None,
        VersionMismatch,  // the peer speaks another protocol version in clear
        NotOurProtocol,   // clear bytes that are no StartTls / no TLS hello
        Tls,              // the TLS handshake or a record failed
    };

    // The recorder's end: the StartTls frame is in Wire() at once. Null with
    // *error when TLS cannot be set up.
    static std::unique_ptr<SecureLink> ForRecorder(const TlsIdentity& identity, std::string* error);
    // The client's end: sends nothing until the recorder's StartTls arrived.
    static std::unique_ptr<SecureLink> ForClient(std::string* error);

    // Bytes from the socket; the plaintext they complete is appended to plain.
    // False when the link must end (Fail()); a recorder may then still hold
    // a last clear Error frame in Wire() for the peer.
    bool OnWireBytes(const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& plain);
    // Plaintext for the peer, sealed into Wire() (held until the handshake is done).
    bool Send(const std::uint8_t* data, std::size_t length);
    bool Send(const std::vector<std::uint8_t>& data) { return Send(data.data(), data.size()); }

    // Bytes for the socket, in order.
    const std::vector<std::uint8_t>& Wire() const { return m_wire; }
    void ConsumeWire(std::size_t length);

    bool Ready() const { return m_pipe->HandshakeDone(); }
    Failure Fail() const { return m_failure; }
    const std::string& FailureText() const { return m_failureText; }
    const TlsPipe& Pipe() const { return *m_pipe; }

private:
    explicit SecureLink(bool recorder) : m_recorder(recorder) {}
    bool OnClientPreamble(const std::uint8_t*& data, std::size_t& length);
    bool OnRecorderPreamble(const std::uint8_t*& data, std::size_t& length);
    bool Refuse(Failure failure, const std::string& text);
    void TakeCiphertext();

    const bool m_recorder;
    std::unique_ptr<TlsPipe> m_pipe;
    bool m_preambleDone = false;
    std::vector<std::uint8_t> m_clear;  // preamble bytes seen so far
    std::vector<std::uint8_t> m_wire;
    Failure m_failure = Failure::None;
    std::string m_failureText;
};

}  // namespace nettls
