#include "RecordingRelay.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

RecordingRelay::RecordingRelay(std::uint16_t target) : m_target(target)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(m_listener, 4) == 0
        && ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
    if (::pipe2(m_stop, O_CLOEXEC) == 0)
        m_thread = std::thread(&RecordingRelay::Run, this);
}

RecordingRelay::~RecordingRelay()
{
    if (m_thread.joinable()) {
        [[maybe_unused]] ssize_t n = ::write(m_stop[1], "x", 1);
        m_thread.join();
    }
    for (int fd : {m_listener, m_stop[0], m_stop[1]})
        if (fd >= 0)
            ::close(fd);
}

std::vector<std::uint8_t> RecordingRelay::ToRecorder() const
{
    std::lock_guard guard(m_lock);
    return m_toRecorder;
}

std::vector<std::uint8_t> RecordingRelay::ToClient() const
{
    std::lock_guard guard(m_lock);
    return m_toClient;
}

void RecordingRelay::Run()
{
    for (;;) {
        pollfd p[2] = {{m_listener, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
        if (::poll(p, 2, -1) < 0 || (p[1].revents & POLLIN))
            return;
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            Serve(client);
            ::close(client);
        }
    }
}

// One connection at a time, until either end closes (or the relay stops).
void RecordingRelay::Serve(int client)
{
    const int recorder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in target = Loopback(m_target);
    if (::connect(recorder, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        ::close(recorder);
        return;
    }
    std::uint8_t buffer[65536];
    for (bool open = true; open;) {
        pollfd p[3] = {{client, POLLIN, 0}, {recorder, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
        if (::poll(p, 3, -1) < 0 || (p[2].revents & POLLIN))
            break;
        for (int side = 0; side < 2 && open; ++side) {
            if (!(p[side].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const int from = side == 0 ? client : recorder;
            const int to = side == 0 ? recorder : client;
            const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
            if (got <= 0) {
                open = false;
                break;
            }
            {
                std::lock_guard guard(m_lock);
                auto& record = side == 0 ? m_toRecorder : m_toClient;
                record.insert(record.end(), buffer, buffer + got);
            }
            for (ssize_t sent = 0; sent < got;) {
                const ssize_t n = ::send(to, buffer + sent, static_cast<std::size_t>(got - sent), MSG_NOSIGNAL);
                if (n <= 0) {
                    open = false;
                    break;
                }
                sent += n;
            }
        }
    }
    ::close(recorder);
}
