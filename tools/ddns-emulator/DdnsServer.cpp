#include "DdnsServer.h"

#include "DdnsAnswer.h"

#include "core/ddns/DdnsQueryFrame.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ddns_emulator {

bool DdnsServer::Listen(std::string* error)
{
    m_listener = FileDescriptor(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const int on = 1;
    sockaddr_in bound = m_options.listen;
    socklen_t length = sizeof bound;
    if (!m_listener.Valid() || ::setsockopt(m_listener.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(m_listener.Get(), reinterpret_cast<const sockaddr*>(&bound), sizeof bound) != 0 ||
        ::listen(m_listener.Get(), 16) != 0 ||
        ::getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        *error = std::string("cannot listen: ") + std::strerror(errno);
        return false;
    }
    m_port = ntohs(bound.sin_port);
    return true;
}

void DdnsServer::Serve(int stopFd)
{
    for (;;) {
        std::vector<pollfd> fds{{stopFd, POLLIN, 0}, {m_listener.Get(), POLLIN, 0}};
        const auto now = Clock::now();
        for (const auto& connection : m_connections) {
            const bool due = !connection->pending.empty() && connection->pending.front().due <= now;
            fds.push_back({connection->fd.Get(), static_cast<short>(POLLIN | (due ? POLLOUT : 0)), 0});
        }
        if (::poll(fds.data(), fds.size(), PollTimeoutMs()) < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN)
            return;
        // Connections accepted now are polled from the next round on.
        const std::size_t polled = m_connections.size();
        if (fds[1].revents & POLLIN)
            Accept();
        std::vector<bool> keep(m_connections.size(), true);
        for (std::size_t i = 0; i < polled; ++i) {
            if (fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR))
                keep[i] = Receive(*m_connections[i]);
        }
        for (std::size_t i = 0; i < m_connections.size(); ++i)
            keep[i] = keep[i] && SendDue(*m_connections[i]);
        for (std::size_t i = m_connections.size(); i-- > 0;)
            if (!keep[i])
                m_connections.erase(m_connections.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void DdnsServer::Accept()
{
    FileDescriptor client(::accept4(m_listener.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!client.Valid() || m_connections.size() >= kMaxConnections)
        return;
    auto connection = std::make_unique<Connection>();
    connection->fd = std::move(client);
    m_connections.push_back(std::move(connection));
}

bool DdnsServer::Receive(Connection& connection)
{
    std::uint8_t chunk[512];
    const ssize_t got = ::recv(connection.fd.Get(), chunk, sizeof chunk, 0);
    if (got < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (got == 0)
        return false;
    using Step = ddns::DdnsFrameSplitter<ddns::kMaxQueryPayload>::Step;
    for (ssize_t i = 0; i < got; ++i) {
        const Step step = connection.splitter.Push(chunk[i]);
        if (step == Step::Frame)
            Answer(connection, ddns::ParseQueryPayload(connection.splitter.Payload()));
        else if (step == Step::Overlong)
            Answer(connection, std::nullopt);
    }
    return !(connection.hangUpAfterWrites && connection.pending.empty());
}

void DdnsServer::Answer(Connection& connection, const std::optional<std::string>& name)
{
    if (connection.hangUpAfterWrites)
        return;
    AnswerPlan plan = PlanAnswer(m_options, name);
    std::printf("%s\n", plan.logLine.c_str());
    std::fflush(stdout);
    auto due = connection.pending.empty() ? Clock::now() : connection.pending.back().due;
    for (std::size_t i = 0; i < plan.writes.size(); ++i) {
        if (i > 0 || !connection.pending.empty())
            due += std::chrono::milliseconds(m_options.pauseMs);
        connection.pending.push_back(PendingWrite{due, std::move(plan.writes[i])});
    }
    connection.hangUpAfterWrites = plan.hangUp;
}

bool DdnsServer::SendDue(Connection& connection)
{
    const auto now = Clock::now();
    while (!connection.pending.empty() && connection.pending.front().due <= now) {
        auto& bytes = connection.pending.front().bytes;
        const ssize_t sent = ::send(connection.fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        bytes.erase(bytes.begin(), bytes.begin() + sent);
        if (!bytes.empty())
            return true;
        connection.pending.pop_front();
    }
    return !(connection.hangUpAfterWrites && connection.pending.empty());
}

int DdnsServer::PollTimeoutMs() const
{
    const auto now = Clock::now();
    std::optional<Clock::time_point> next;
    for (const auto& connection : m_connections)
        if (!connection->pending.empty())
            next = std::min(next.value_or(connection->pending.front().due), connection->pending.front().due);
    if (!next)
        return -1;
    if (*next <= now)
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*next - now).count());
}

}  // namespace ddns_emulator
