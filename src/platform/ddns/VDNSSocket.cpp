#include "platform/ddns/VDNSSocket.h"

#include "platform/ddns/DdnsThreadMessages.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

bool CVDNSSocket::Create()
{
    Close();
    m_fd = FileDescriptor(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    return m_fd.Valid();
}

bool CVDNSSocket::Connect(const sockaddr_in& server)
{
    // Non-blocking, so that a quit reaches the thread while a connection to
    // an unreachable server is still pending.
    if (::connect(m_fd.Get(), reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0) {
        m_connecting = false;
        return true;
    }
    m_connecting = errno == EINPROGRESS;
    return m_connecting;
}

bool CVDNSSocket::FinishConnect()
{
    m_connecting = false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(m_fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

bool CVDNSSocket::Send(std::span<const std::uint8_t> bytes)
{
    // A query is at most 262 bytes: a fresh connection's send buffer takes it whole.
    const ssize_t sent = ::send(m_fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return sent == static_cast<ssize_t>(bytes.size());
}

void CVDNSSocket::Close()
{
    m_fd.Reset();
    m_connecting = false;
}

void CVDNSSocket::ResetReceiveState()
{
    m_receiver.Reset();
    m_nameRejected = false;
}

void CVDNSSocket::OnReceive()
{
    std::uint8_t chunk[512];
    const ssize_t got = ::recv(m_fd.Get(), chunk, sizeof chunk, 0);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (got <= 0) {
        OnClose();
        return;
    }
    for (const ddns::Reply& reply : m_receiver.Feed(std::span(chunk, static_cast<std::size_t>(got)))) {
        if (reply.kind == ddns::Reply::Kind::Malformed)
            continue;
        m_nameRejected = reply.kind == ddns::Reply::Kind::NotRegistered;
        if (!m_nameRejected) {
            m_replyAddress = reply.address;
            m_replyPort = reply.port;
        }
        Post(ddns::kMsgReplyComplete);
    }
}

void CVDNSSocket::OnClose() { Post(ddns::kMsgSocketClosed); }

void CVDNSSocket::Post(unsigned message)
{
    if (m_owner)
        m_owner->Post(ThreadMessage{message, 0, 0});
}
