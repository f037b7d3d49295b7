#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/net/FrameDecoder.h"
#include "core/net/SessionMessages.h"
#include "platform/nettls/SecureLink.h"

// A recorder end played by the test itself on loopback, for the faults a
// well-behaved recorder never shows: wrong versions, broken frames, silence.
// It speaks inside TLS as recorders do (StartTls, then the handshake within
// Accept), or in clear as an old recorder would. Every call blocks the test
// thread at most for its timeout.
class ScriptedRecorder {
public:
    struct Received {
        wire::MessageType type;
        std::vector<std::uint8_t> payload;
    };

    ScriptedRecorder();
    ~ScriptedRecorder();
    ScriptedRecorder(const ScriptedRecorder&) = delete;
    ScriptedRecorder& operator=(const ScriptedRecorder&) = delete;

    enum class Transport { Tls, Clear };

    std::uint16_t Port() const { return m_port; }
    // Takes the client's connection; with Tls also says StartTls and completes
    // the handshake.
    bool Accept(std::chrono::milliseconds timeout = std::chrono::seconds(3), Transport transport = Transport::Tls);

    bool SendFrame(wire::MessageType type, const std::vector<std::uint8_t>& payload,
                   std::uint16_t version = wire::kProtocolVersion);
    // Bytes as they are, inside TLS unless the connection is in clear.
    bool SendRaw(const std::vector<std::uint8_t>& bytes);
    // The next frame from the client; nullopt on timeout, close or a broken frame.
    std::optional<Received> ReadFrame(std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Reads frames until one of this type arrives.
    std::optional<Received> ReadUntil(wire::MessageType type, std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Bytes the client sent on this connection so far, as on the socket.
    std::size_t BytesFromClient() const { return m_bytesFromClient; }
    // True once the client has closed its end (EOF), within the timeout.
    bool ClientClosed(std::chrono::milliseconds timeout = std::chrono::seconds(3));

    // Challenge, the client's LoginRequest, then a reply with this code.
    // The request is returned for inspection.
    std::optional<wire::LoginRequestMessage> LogIn(std::uint16_t code = wire::kLoginAdministrator,
                                                   std::uint32_t token = 0x5EED);
    const wire::Nonce& ServerNonce() const { return m_serverNonce; }

    void CloseConnection();

private:
    bool FlushLink();
    // Waits for bytes of the client; the plaintext among them goes to the decoder.
    bool Receive(std::chrono::steady_clock::time_point deadline);

    int m_listener = -1;
    int m_connection = -1;
    std::uint16_t m_port = 0;
    std::uint32_t m_sequence = 0;
    std::size_t m_bytesFromClient = 0;
    wire::FrameDecoder m_decoder{wire::Direction::ToRecorder};
    wire::Nonce m_serverNonce{};
    std::unique_ptr<nettls::SecureLink> m_link;  // null in clear
};
