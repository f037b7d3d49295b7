#include "ScriptedRecorder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "core/net/Frame.h"
#include "support/TlsTestIdentity.h"

ScriptedRecorder::ScriptedRecorder()
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(m_listener, 4) == 0
        && ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
    for (std::size_t i = 0; i < m_serverNonce.size(); ++i)
        m_serverNonce[i] = static_cast<std::uint8_t>(i * 7 + 1);
}

ScriptedRecorder::~ScriptedRecorder()
{
    CloseConnection();
    ::close(m_listener);
}

bool ScriptedRecorder::Accept(std::chrono::milliseconds timeout, Transport transport)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    pollfd p{m_listener, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(timeout.count())) != 1)
        return false;
    CloseConnection();
    m_connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    // Each connection numbers its frames from 0.
    m_sequence = 0;
    m_bytesFromClient = 0;
    m_decoder = wire::FrameDecoder(wire::Direction::ToRecorder);
    if (m_connection < 0 || transport == Transport::Clear)
        return m_connection >= 0;
    std::string error;
    m_link = nettls::SecureLink::ForRecorder(TlsTestIdentity(), &error);
    if (!m_link || !FlushLink())
        return false;
    while (!m_link->Ready())
        if (!Receive(deadline))
            return false;
    return true;
}

bool ScriptedRecorder::FlushLink()
{
    std::vector<std::uint8_t> bytes = m_link->Wire();
    m_link->ConsumeWire(bytes.size());
    return bytes.empty()
        || ::send(m_connection, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

bool ScriptedRecorder::Receive(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{m_connection, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) != 1)
        return false;
    std::uint8_t buffer[8192];
    ssize_t got = ::recv(m_connection, buffer, sizeof buffer, 0);
    if (got <= 0)
        return false;
    m_bytesFromClient += static_cast<std::size_t>(got);
    if (!m_link) {
        m_decoder.Feed(buffer, static_cast<std::size_t>(got));
        return true;
    }
    std::vector<std::uint8_t> plain;
    bool ok = m_link->OnWireBytes(buffer, static_cast<std::size_t>(got), plain);
    m_decoder.Feed(plain.data(), plain.size());
    return FlushLink() && ok;
}

bool ScriptedRecorder::SendRaw(const std::vector<std::uint8_t>& bytes)
{
    if (m_link)
        return m_link->Send(bytes) && FlushLink();
    return ::send(m_connection, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

bool ScriptedRecorder::SendFrame(wire::MessageType type, const std::vector<std::uint8_t>& payload,
                                 std::uint16_t version)
{
    std::vector<std::uint8_t> frame;
    wire::AppendFrame(frame, type, m_sequence++, payload, version);
    return SendRaw(frame);
}

std::optional<ScriptedRecorder::Received> ScriptedRecorder::ReadFrame(std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        wire::FrameView view;
        auto status = m_decoder.Next(view);
        if (status == wire::FrameDecoder::Status::Frame)
            return Received{view.type, std::vector<std::uint8_t>(view.payload, view.payload + view.length)};
        if (status == wire::FrameDecoder::Status::Error || !Receive(deadline))
            return std::nullopt;
    }
}

std::optional<ScriptedRecorder::Received> ScriptedRecorder::ReadUntil(wire::MessageType type,
                                                                      std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        auto frame = ReadFrame(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()));
        if (!frame || frame->type == type)
            return frame;
    }
    return std::nullopt;
}

bool ScriptedRecorder::ClientClosed(std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{m_connection, POLLIN, 0};
        if (::poll(&p, 1, 50) != 1)
            continue;
        std::uint8_t buffer[4096];
        ssize_t got = ::recv(m_connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            return true;
        m_bytesFromClient += static_cast<std::size_t>(got);
    }
    return false;
}

std::optional<wire::LoginRequestMessage> ScriptedRecorder::LogIn(std::uint16_t code, std::uint32_t token)
{
    wire::ChallengeMessage challenge;
    challenge.serverNonce = m_serverNonce;
    if (!SendFrame(wire::MessageType::Challenge, challenge.Encode()))
        return std::nullopt;
    auto request = ReadFrame();
    if (!request || request->type != wire::MessageType::LoginRequest)
        return std::nullopt;
    auto login = wire::LoginRequestMessage::Decode(request->payload.data(), request->payload.size());
    wire::LoginReplyMessage reply;
    reply.code = code;
    reply.sessionToken = (code == wire::kLoginAdministrator || code == wire::kLoginUser) ? token : 0;
    if (!login || !SendFrame(wire::MessageType::LoginReply, reply.Encode()))
        return std::nullopt;
    return login;
}

void ScriptedRecorder::CloseConnection()
{
    if (m_connection >= 0)
        ::close(m_connection);
    m_connection = -1;
    m_link.reset();
}
