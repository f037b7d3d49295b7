// Live media throughput through the network library on loopback: bytes per
// second reaching the live callback and process CPU time per megabyte,
// against a plain socket that only copies the same byte stream out of the
// kernel. Both runs use the same sender in this process; for the library it
// speaks inside TLS as recorders do, so the figures include both ends' TLS.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/dvr/NotifyCodes.h"
#include "core/msg/WindowMessage.h"
#include "core/net/Frame.h"
#include "core/net/FrameDecoder.h"
#include "core/net/LiveMessages.h"
#include "core/net/SessionMessages.h"
#include "platform/netctrl/ZERDNetwork.h"
#include "platform/nettls/SecureLink.h"
#include "platform/nettls/TlsIdentity.h"

namespace {

constexpr std::size_t kFramesPerBatch = 64;
constexpr std::size_t kFragmentPayload = wire::kLiveFragmentPayload;
constexpr std::uint64_t kLiveBytes = 256ull * 1024 * 1024;

double CpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int Listen(std::uint16_t* port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd, 1);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return fd;
}

bool SendAll(int fd, const std::uint8_t* data, std::size_t length)
{
    while (length > 0) {
        ssize_t sent = ::send(fd, data, length, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        length -= static_cast<std::size_t>(sent);
    }
    return true;
}

// The recorder's end of a session: StartTls, the TLS handshake, then frames
// inside TLS.
class RecorderLink {
public:
    explicit RecorderLink(int fd) : m_fd(fd)
    {
        static const nettls::TlsIdentity identity = [] {
            std::string error;
            return *nettls::TlsIdentity::Generate("bench recorder", &error);
        }();
        std::string error;
        m_link = nettls::SecureLink::ForRecorder(identity, &error);
        Flush();
    }

    bool Send(const std::vector<std::uint8_t>& frames) { return m_link->Send(frames) && Flush(); }

    // Reads frames from the client until one of the type arrives.
    bool Await(wire::MessageType type)
    {
        for (;;) {
            wire::FrameView frame;
            auto status = m_decoder.Next(frame);
            if (status == wire::FrameDecoder::Status::Frame) {
                if (frame.type == type)
                    return true;
                continue;
            }
            if (status == wire::FrameDecoder::Status::Error)
                return false;
            std::uint8_t buffer[4096];
            ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
            std::vector<std::uint8_t> plain;
            if (got <= 0 || !m_link->OnWireBytes(buffer, static_cast<std::size_t>(got), plain) || !Flush())
                return false;
            m_decoder.Feed(plain.data(), plain.size());
        }
    }

private:
    bool Flush()
    {
        const std::vector<std::uint8_t> bytes = m_link->Wire();
        m_link->ConsumeWire(bytes.size());
        return SendAll(m_fd, bytes.data(), bytes.size());
    }

    int m_fd;
    std::unique_ptr<nettls::SecureLink> m_link;
    wire::FrameDecoder m_decoder{wire::Direction::ToRecorder};
};

// A recorder that serves nothing but live video, as fast as the socket takes it.
// With session false it only streams, in clear (for the plain socket baseline).
void Blast(int listener, bool session, std::uint64_t liveBytes)
{
    int fd = ::accept(listener, nullptr, nullptr);
    std::uint32_t sequence = 0;
    std::vector<std::uint8_t> frames;
    std::unique_ptr<RecorderLink> link;
    if (session) {
        link = std::make_unique<RecorderLink>(fd);
        wire::AppendFrame(frames, wire::MessageType::Challenge, sequence++, wire::ChallengeMessage{}.Encode());
        if (!link->Send(frames) || !link->Await(wire::MessageType::LoginRequest)) {
            ::close(fd);
            return;
        }
        frames.clear();
        wire::LoginReplyMessage reply;
        reply.code = wire::kLoginAdministrator;
        reply.sessionToken = 1;
        wire::AppendFrame(frames, wire::MessageType::LoginReply, sequence++, reply.Encode());
        if (!link->Send(frames) || !link->Await(wire::MessageType::LiveControl)) {
            ::close(fd);
            return;
        }
        frames.clear();
        wire::AppendFrame(frames, wire::MessageType::LiveReply, sequence++, wire::LiveReplyMessage{1, 0}.Encode());
        link->Send(frames);
    }
    // One batch of fragments of one unit; only the sequence numbers change.
    std::vector<std::uint8_t> payload(wire::kLiveMediaPrefix + kFragmentPayload, 0x42);
    std::vector<std::size_t> sequenceOffsets;
    frames.clear();
    for (std::size_t i = 0; i < kFramesPerBatch; ++i) {
        wire::WriteLiveMediaPrefix(payload.data(), wire::kPacketVideo, kFramesPerBatch, static_cast<std::uint8_t>(i));
        sequenceOffsets.push_back(frames.size() + 8);
        wire::AppendFrame(frames, wire::MessageType::LiveMedia, 0, payload);
    }
    for (std::uint64_t sent = 0; sent < liveBytes; sent += kFramesPerBatch * kFragmentPayload) {
        for (std::size_t offset : sequenceOffsets) {
            std::uint32_t s = sequence++;
            std::memcpy(frames.data() + offset, &s, 4); // little-endian host
        }
        if (!(link ? link->Send(frames) : SendAll(fd, frames.data(), frames.size())))
            break;
    }
    ::shutdown(fd, SHUT_WR);
    std::uint8_t drain[256];
    while (::recv(fd, drain, sizeof drain, 0) > 0) {
    }
    ::close(fd);
}

struct Result {
    double seconds;
    double cpu;
    std::uint64_t bytes;
};

Result RunPlain()
{
    std::uint16_t port = 0;
    int listener = Listen(&port);
    std::thread sender(Blast, listener, false, kLiveBytes);
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    std::vector<std::uint8_t> buffer(64 * 1024);
    std::uint64_t bytes = 0;
    double cpu = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    for (ssize_t got; (got = ::recv(fd, buffer.data(), buffer.size(), 0)) > 0;)
        bytes += static_cast<std::uint64_t>(got);
    Result result{std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), CpuSeconds() - cpu,
                  bytes};
    ::close(fd);
    sender.join();
    ::close(listener);
    return result;
}

class Done : public CMessageReceiver {
public:
    void OnPostedMessage(unsigned, WPARAM, LPARAM lParam) override
    {
        if (lParam == kNotifyLinkClosed)
            closed = true;
    }
    std::atomic<bool> closed{false};
};

Result RunLibrary()
{
    std::uint16_t port = 0;
    int listener = Listen(&port);
    std::thread sender(Blast, listener, true, kLiveBytes);
    Done done;
    HWND window = RegisterMessageReceiver(&done);
    std::atomic<std::uint64_t> bytes{0};
    CZERDNetwork net;
    std::string host = "127.0.0.1";
    net.Create(host.data(), static_cast<short>(port), true, kMsgNetworkNotify, window, 0);
    net.SetPacketLiveMediaCallback(
        [](void* context, unsigned char, unsigned char, unsigned char*, unsigned int length) {
            static_cast<std::atomic<std::uint64_t>*>(context)->fetch_add(length - 2, std::memory_order_relaxed);
        },
        &bytes);
    char account[] = "ADMIN";
    char password[] = "5829";
    net.SessionOpen(account, password);
    double cpu = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    net.LiveMediaControl(1, 0);
    // The sender closes its end after the last byte: that is the end of the run.
    while (!done.closed)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    Result result{std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), CpuSeconds() - cpu,
                  bytes.load()};
    net.Destroy();
    net.SessionClose();
    sender.join();
    ::close(listener);
    UnregisterMessageReceiver(window);
    return result;
}

void Print(const char* name, const Result& r)
{
    double mb = static_cast<double>(r.bytes) / (1024.0 * 1024.0);
    std::printf("%-22s %8.1f MB in %6.3f s = %8.1f MB/s, CPU %6.3f ms/MB\n", name, mb, r.seconds, mb / r.seconds,
                1000.0 * r.cpu / mb);
}

} // namespace

// The fastest of a few alternating rounds: the machine is shared, and a round
// that another process disturbed says nothing about either side.
Result Best(Result a, Result b) { return a.seconds <= b.seconds ? a : b; }

int main()
{
    Result plain = RunPlain();
    Result library = RunLibrary();
    for (int round = 1; round < 3; ++round) {
        plain = Best(plain, RunPlain());
        library = Best(library, RunLibrary());
    }
    Print("plain socket copy", plain);
    Print("library to callback", library);
    double plainRate = static_cast<double>(plain.bytes) / plain.seconds;
    double libraryRate = static_cast<double>(library.bytes) / library.seconds;
    std::printf("throughput ratio library/plain = %.2f; CPU per MB ratio = %.2f\n", libraryRate / plainRate,
                (library.cpu / static_cast<double>(library.bytes)) / (plain.cpu / static_cast<double>(plain.bytes)));
    return 0;
}
