#include "DiscoveryResponder.h"

#include "core/net/DiscoveryMessages.h"
#include "core/net/FrameDecoder.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace emulator {

std::unique_ptr<DiscoveryResponder> DiscoveryResponder::Create(uint16_t port, std::vector<RecorderServer*> servers,
                                                               std::string* error)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        *error = "cannot bind discovery port 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    const int wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) {
        *error = std::string("cannot make an eventfd: ") + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<DiscoveryResponder>(new DiscoveryResponder(fd, wakeFd, std::move(servers)));
}

DiscoveryResponder::DiscoveryResponder(int fd, int wakeFd, std::vector<RecorderServer*> servers)
    : fd_(fd), wakeFd_(wakeFd), servers_(std::move(servers))
{
}

DiscoveryResponder::~DiscoveryResponder()
{
    Stop();
    ::close(fd_);
    ::close(wakeFd_);
}

void DiscoveryResponder::Start()
{
    thread_ = std::thread([this] { Run(); });
}

void DiscoveryResponder::Stop()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    if (thread_.joinable())
        thread_.join();
}

void DiscoveryResponder::Run()
{
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    uint8_t datagram[2048];
    for (;;) {
        ::poll(fds, 2, -1);
        if (fds[1].revents & POLLIN)
            return;
        for (;;) {
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t n =
                ::recvfrom(fd_, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&from), &length);
            if (n < 0)
                break;
            Answer(datagram, static_cast<size_t>(n), from);
        }
    }
}

void DiscoveryResponder::Answer(const uint8_t* data, size_t length, const sockaddr_in& from)
{
    // Answers go to loopback sources only: a stray probe from elsewhere is
    // not answered (and this socket is bound to loopback anyway).
    if ((ntohl(from.sin_addr.s_addr) >> 24) != 127)
        return;
    wire::FrameView frame;
    if (wire::DecodeDatagram(data, length, wire::Direction::ToRecorder, frame) != wire::DecodeError::None
        || frame.type != wire::MessageType::DiscoveryProbe)
        return;
    const auto probe = wire::DiscoveryProbeMessage::Decode(frame.payload, frame.length);
    if (!probe)
        return;
    std::vector<uint8_t> answer;
    for (RecorderServer* server : servers_) {
        answer.clear();
        const auto message = server->GetRecorder().DiscoveryAnswer(probe->probeId, server->Address(), server->Port());
        wire::AppendFrame(answer, wire::MessageType::DiscoveryAnswer, 0, message.Encode());
        ::sendto(fd_, answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&from), sizeof from);
    }
}

}  // namespace emulator
