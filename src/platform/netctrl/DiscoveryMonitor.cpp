#include "platform/netctrl/DiscoveryMonitor.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>

#include "core/dvr/DiscoveryRecord.h"
#include "core/net/DiscoveryMessages.h"
#include "core/net/Frame.h"
#include "core/net/FrameDecoder.h"
#include "platform/netctrl/Ipv4Endpoint.h"

DiscoveryMonitor& DiscoveryMonitor::Instance()
{
    static DiscoveryMonitor* instance = new DiscoveryMonitor();
    return *instance;
}

std::vector<sockaddr_in> DiscoveryMonitor::ParseTargets(const std::string& text)
{
    std::vector<sockaddr_in> targets;
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        std::size_t first = item.find_first_not_of(" \t");
        std::size_t last = item.find_last_not_of(" \t");
        if (first == std::string::npos)
            continue;
        auto target = ParseIpv4HostPort(item.substr(first, last - first + 1));
        if (target && IsLoopback(*target))
            targets.push_back(*target);
    }
    return targets;
}

bool DiscoveryMonitor::Start()
{
    std::lock_guard guard(m_lock);
    if (m_thread.joinable())
        return true;
    FileDescriptor socket(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (!socket.Valid() || !m_wakeup.Open()
        || ::bind(socket.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
        return false;
    m_socket = std::move(socket);
    m_stopRequested = false;
    m_thread = std::thread(&DiscoveryMonitor::Run, this);
    return true;
}

void DiscoveryMonitor::SetNotifyWindow(unsigned message, HWND window)
{
    std::lock_guard guard(m_windowLock);
    m_message = message;
    m_window = window;
}

bool DiscoveryMonitor::Scan()
{
    if (!Start())
        return false;
    const char* env = std::getenv("DVR_SCAN_TARGETS");
    std::vector<sockaddr_in> targets = ParseTargets(env ? env : "127.0.0.1:7060");
    wire::DiscoveryProbeMessage probe;
    probe.probeId = m_probeId.load();
    // Ids count up from a random start far enough from the wrap that
    // "earlier than the next id" stays true for every probe of ours.
    if (probe.probeId == 0)
        probe.probeId = (std::random_device{}() & 0x7FFFFFFFu) | 1u;
    m_probeId = probe.probeId + 1;
    std::vector<std::uint8_t> frame;
    wire::AppendFrame(frame, wire::MessageType::DiscoveryProbe, 0, probe.Encode());
    std::lock_guard guard(m_lock);
    bool sentAny = false;
    for (const sockaddr_in& target : targets)
        sentAny |= ::sendto(m_socket.Get(), frame.data(), frame.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                            sizeof target) == static_cast<ssize_t>(frame.size());
    return sentAny;
}

bool DiscoveryMonitor::Stop()
{
    std::lock_guard guard(m_lock);
    if (!m_thread.joinable())
        return true;
    m_stopRequested = true;
    m_wakeup.Signal();
    m_thread.join();
    m_socket.Reset();
    m_wakeup.Close();
    return true;
}

void DiscoveryMonitor::Run()
{
    std::vector<std::uint8_t> buffer(64 * 1024);
    while (!m_stopRequested) {
        pollfd p[2] = {{m_socket.Get(), POLLIN, 0}, {m_wakeup.Fd(), POLLIN, 0}};
        if (::poll(p, 2, 1000) < 0)
            continue;
        if (p[1].revents & POLLIN)
            m_wakeup.Drain();
        if (!(p[0].revents & POLLIN))
            continue;
        for (;;) {
            ssize_t got = ::recv(m_socket.Get(), buffer.data(), buffer.size(), 0);
            if (got < 0)
                break;
            OnDatagram(buffer.data(), static_cast<std::size_t>(got));
        }
    }
}

void DiscoveryMonitor::OnDatagram(const std::uint8_t* data, std::size_t length)
{
    wire::FrameView frame;
    if (wire::DecodeDatagram(data, length, wire::Direction::ToClient, frame) != wire::DecodeError::None
        || frame.type != wire::MessageType::DiscoveryAnswer)
        return;
    auto answer = wire::DiscoveryAnswerMessage::Decode(frame.payload, frame.length);
    // Only answers to a probe of ours; stale ones from an earlier scan are
    // still welcome, strangers' are not.
    if (!answer || answer->probeId == 0 || answer->probeId >= m_probeId.load()
        || !DecodeDiscoveryRecord(answer->record.data(), answer->record.size()))
        return;
    auto* record = new ZERD_INFO_BLK;
    std::memcpy(record, answer->record.data(), sizeof *record);
    std::lock_guard guard(m_windowLock);
    if (m_window == 0 || !PostWindowMessage(m_window, m_message, sizeof *record, reinterpret_cast<LPARAM>(record)))
        delete record;
}
