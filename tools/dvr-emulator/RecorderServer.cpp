#include "RecorderServer.h"

#include "RecorderKeyStore.h"

#include "platform/netauth/OpenSslLoginAuthority.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace emulator {
namespace {

constexpr uint64_t kTickMs = 100;
// A closing session whose client does not read gets this long to take its
// last frames.
constexpr uint64_t kCloseGraceMs = 2000;
// A client that sends requests but does not read the answers is not read
// from while this much waits for it (live media stops queueing at 4 MiB).
constexpr size_t kMaxQueuedOutput = 6 * 1024 * 1024;
// Frames move into TLS this much at a time, as the socket takes them, so the
// connection's own buffer stays the measure of what waits.
constexpr size_t kSealChunk = 256 * 1024;

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

uint64_t MonotonicMs()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

RecorderServer::Session::Session(Recorder& recorder, wire::LoginAuthority& authority,
                                 const wire::RecorderConnectionOptions& options, const FaultOptions& faults,
                                 uint64_t seed, uint64_t nowMs, std::FILE* sendTimesFile)
    : acceptedMs(nowMs), connection(recorder, authority, options, nowMs), sendTimes(sendTimesFile),
      live(recorder.Feeds(), faults, seed, sendTimes)
{
}

std::unique_ptr<RecorderServer> RecorderServer::Create(Recorder& recorder, std::string* error)
{
    const RecorderOptions& options = recorder.Options();
    auto identity = LoadOrMakeRecorderIdentity(options.dataDir, options.newTlsKey, error);
    if (!identity)
        return nullptr;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options.port);
    if (inet_pton(AF_INET, options.address.c_str(), &address.sin_addr) != 1) {
        *error = "bad address " + options.address;
        return nullptr;
    }
    const int listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int one = 1;
    if (listenFd < 0 || ::setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0
        || ::bind(listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(listenFd, 64) != 0) {
        *error = Errno("cannot listen on " + options.address + ":" + std::to_string(options.port));
        if (listenFd >= 0)
            ::close(listenFd);
        return nullptr;
    }
    socklen_t length = sizeof address;
    ::getsockname(listenFd, reinterpret_cast<sockaddr*>(&address), &length);
    const uint16_t port = ntohs(address.sin_port);

    // Live datagrams leave from the recorder's own address.
    address.sin_port = 0;
    const int udpFd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int sendBuffer = 4 * 1024 * 1024;
    if (udpFd < 0 || ::bind(udpFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        *error = Errno("cannot open the live media socket");
        ::close(listenFd);
        if (udpFd >= 0)
            ::close(udpFd);
        return nullptr;
    }
    ::setsockopt(udpFd, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
    File sendTimes(nullptr, &std::fclose);
    if (!options.sendTimesPath.empty())
        sendTimes.reset(std::fopen(options.sendTimesPath.c_str(), "w"));
    const int wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0 || (!options.sendTimesPath.empty() && !sendTimes)) {
        *error = wakeFd < 0 ? Errno("cannot make an eventfd") : Errno("cannot write " + options.sendTimesPath);
        ::close(listenFd);
        ::close(udpFd);
        if (wakeFd >= 0)
            ::close(wakeFd);
        return nullptr;
    }
    return std::unique_ptr<RecorderServer>(
        new RecorderServer(recorder, std::move(*identity), listenFd, udpFd, wakeFd, port, std::move(sendTimes)));
}

RecorderServer::RecorderServer(Recorder& recorder, nettls::TlsIdentity identity, int listenFd, int udpFd, int wakeFd,
                               uint16_t port, File sendTimes)
    : recorder_(recorder),
      identity_(std::move(identity)),
      authority_(std::make_unique<netauth::OpenSslLoginAuthority>()),
      listenFd_(listenFd),
      udpFd_(udpFd),
      wakeFd_(wakeFd),
      port_(port),
      sendTimes_(std::move(sendTimes))
{
    const RecorderOptions& options = recorder.Options();
    connectionOptions_.pollTimeoutMs = uint64_t{options.pollTimeoutSeconds} * 1000;
    connectionOptions_.rejectLogins = options.faults.rejectLogins;
    connectionOptions_.stopPollsAfterMs =
        options.faults.stopPollsAfterSeconds < 0 ? -1 : options.faults.stopPollsAfterSeconds * 1000;
    connectionOptions_.refused = options.faults.refusedOperations;
    connectionOptions_.version = options.faults.wireVersion;
}

RecorderServer::~RecorderServer()
{
    Stop();
    ::close(listenFd_);
    ::close(udpFd_);
    ::close(wakeFd_);
}

void RecorderServer::Start()
{
    thread_ = std::thread([this] { Run(); });
}

void RecorderServer::Stop()
{
    {
        std::lock_guard lock(commandMutex_);
        stopRequested_ = true;
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    if (thread_.joinable())
        thread_.join();
}

void RecorderServer::RaiseAlarm(int sensor)
{
    {
        std::lock_guard lock(commandMutex_);
        alarmRequests_.push_back(sensor);
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void RecorderServer::Run()
{
    const RecorderOptions& options = recorder_.Options();
    uint64_t now = MonotonicMs();
    nextTickMs_ = now;
    if (options.alarmEverySeconds > 0)
        nextScheduledAlarmMs_ = now + uint64_t{options.alarmEverySeconds} * 1000;
    std::vector<pollfd> fds;
    std::vector<Session*> polled;
    for (;;) {
        fds.clear();
        polled.clear();
        fds.push_back({wakeFd_, POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        for (Session& s : sessions_) {
            const bool writable = s.link ? !s.link->Wire().empty() : !s.connection.Outgoing().empty();
            const short events = static_cast<short>((WantsInput(s) ? POLLIN : 0) | (writable ? POLLOUT : 0));
            fds.push_back({s.fd, events, 0});
            polled.push_back(&s);
        }
        const uint64_t wake = NextWakeMs(now);
        ::poll(fds.data(), fds.size(), static_cast<int>(wake > now ? wake - now : 0));
        now = MonotonicMs();

        if (fds[0].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
            bool stop = false;
            {
                std::lock_guard lock(commandMutex_);
                stop = stopRequested_;
            }
            if (stop) {
                for (Session& s : sessions_) {
                    s.connection.Shutdown();
                    Flush(s);
                    CloseSession(s, false);
                }
                sessions_.clear();
                return;
            }
            TakeCommands(now);
        }
        if (fds[1].revents & POLLIN)
            Accept(now);
        for (size_t i = 0; i < polled.size(); ++i)
            if (fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR))
                Receive(*polled[i], now);
        Tick(now);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            Session& s = *it;
            if (!s.broken)
                Flush(s);
            const bool flushed = Unsent(s) == 0;
            if (Closing(s) && s.closingSinceMs == 0)
                s.closingSinceMs = now;
            if (s.broken || (Closing(s) && (flushed || now - s.closingSinceMs > kCloseGraceMs))) {
                CloseSession(s, false);
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
    }
}

uint64_t RecorderServer::NextWakeMs(uint64_t nowMs) const
{
    uint64_t next = std::max(nowMs, nextTickMs_);
    for (const Session& s : sessions_) {
        next = std::min(next, s.live.NextDueMs());
        if (!s.delayed.empty())
            next = std::min(next, s.delayed.front().first);
    }
    return next;
}

void RecorderServer::TakeCommands(uint64_t nowMs)
{
    std::vector<int> alarms;
    {
        std::lock_guard lock(commandMutex_);
        alarms.swap(alarmRequests_);
    }
    bool changed = false;
    for (const int sensor : alarms)
        changed = recorder_.RaiseAlarm(sensor, nowMs) || changed;
    if (changed)
        PushMasks();
}

void RecorderServer::Accept(uint64_t nowMs)
{
    const RecorderOptions& options = recorder_.Options();
    for (;;) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        if (options.faults.refuseConnections) {
            // Reset rather than a polite close: the client sees a refusal.
            const linger reset{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            ::close(fd);
            continue;
        }
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        size_t open = 0;
        for (const Session& s : sessions_)
            open += s.connection.ShouldClose() ? 0 : 1;
        std::unique_ptr<nettls::SecureLink> link;
        if (connectionOptions_.version == wire::kProtocolVersion) {
            std::string error;
            link = nettls::SecureLink::ForRecorder(identity_, &error);
            if (!link) {
                std::fprintf(stderr, "dvr-emulator: %s:%u: %s\n", Address().c_str(), port_, error.c_str());
                ::close(fd);
                continue;
            }
        }
        Session& session = sessions_.emplace_back(recorder_, *authority_, connectionOptions_, options.faults,
                                                  options.faults.seed + sessionsStarted_++, nowMs, sendTimes_.get());
        session.fd = fd;
        session.peer = peer;
        session.link = std::move(link);
        // The challenge (or the refusal) waits in the connection until the
        // handshake is done; the log-in time-out counts from now.
        session.connection.Start(open >= options.maxSessions);
        Flush(session);
    }
}

void RecorderServer::Receive(Session& session, uint64_t nowMs)
{
    uint8_t buffer[65536];
    std::vector<uint8_t> plain;
    while (!session.broken && WantsInput(session)) {
        const ssize_t n = ::recv(session.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) {
            session.broken = true;  // the client went away
            return;
        }
        if (!session.link) {
            Decrypted(session, buffer, static_cast<size_t>(n), nowMs);
            continue;
        }
        const bool wasReady = session.link->Ready();
        plain.clear();
        const bool ok = session.link->OnWireBytes(buffer, static_cast<size_t>(n), plain);
        if (!wasReady && session.link->Ready())
            session.mediaKey = session.link->Pipe().ExportKey(nettls::kMediaKeyLabel);
        if (!plain.empty())
            Decrypted(session, plain.data(), plain.size(), nowMs);
        if (!ok) {
            session.linkFailure = session.link->FailureText();
            return;
        }
    }
}

// Bytes of the client's frames, out of TLS (or in clear from an old-version recorder).
void RecorderServer::Decrypted(Session& session, const uint8_t* data, size_t length, uint64_t nowMs)
{
    const RecorderOptions& options = recorder_.Options();
    if (session.fd < 0)
        return;
    if (options.faults.delayMs > 0) {
        session.delayed.emplace_back(nowMs + options.faults.delayMs, std::vector<uint8_t>(data, data + length));
        return;
    }
    session.connection.OnBytes(data, length, nowMs);
    if (options.faults.dropAfterFrames > 0 && session.connection.FramesReceived() >= options.faults.dropAfterFrames)
        CloseSession(session, true);
}

bool RecorderServer::Closing(const Session& session)
{
    return session.connection.ShouldClose() || !session.linkFailure.empty();
}

size_t RecorderServer::Unsent(const Session& session)
{
    if (!session.link)
        return session.connection.Outgoing().size();
    if (!session.linkFailure.empty())
        return session.link->Wire().size();
    return session.link->Wire().size() + session.connection.Outgoing().size();
}

bool RecorderServer::WantsInput(const Session& session)
{
    if (!session.linkFailure.empty())
        return false;
    if (session.link && !session.link->Ready())
        return true;
    return !session.connection.ShouldClose() && session.connection.Outgoing().size() < kMaxQueuedOutput;
}

void RecorderServer::Flush(Session& session)
{
    while (!session.broken) {
        auto& plain = session.connection.Outgoing();
        if (session.link && session.link->Ready() && session.linkFailure.empty() && session.link->Wire().empty()
            && !plain.empty()) {
            const size_t take = std::min(plain.size(), kSealChunk);
            if (!session.link->Send(plain.data(), take)) {
                session.linkFailure = session.link->FailureText();
                return;
            }
            session.connection.ConsumeOutgoing(take);
            session.plainInWire = take;
        }
        const std::vector<uint8_t>& out = session.link ? session.link->Wire() : plain;
        if (out.empty())
            return;
        const ssize_t n = ::send(session.fd, out.data(), out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) {
            session.broken = true;
            return;
        }
        if (session.link) {
            session.link->ConsumeWire(static_cast<size_t>(n));
            // A sealed chunk has left only when the whole record is gone.
            if (session.link->Wire().empty()) {
                session.sendTimes.Sent(session.plainInWire);
                session.plainInWire = 0;
            }
        } else {
            session.connection.ConsumeOutgoing(static_cast<size_t>(n));
            session.sendTimes.Sent(static_cast<size_t>(n));
        }
    }
}

void RecorderServer::Tick(uint64_t nowMs)
{
    const RecorderOptions& options = recorder_.Options();
    for (Session& s : sessions_) {
        if (s.broken)
            continue;
        while (!s.delayed.empty() && s.delayed.front().first <= nowMs && !s.connection.ShouldClose()) {
            const auto bytes = std::move(s.delayed.front().second);
            s.delayed.pop_front();
            s.connection.OnBytes(bytes.data(), bytes.size(), nowMs);
        }
        if (options.faults.dropAfterFrames > 0 && s.connection.FramesReceived() >= options.faults.dropAfterFrames) {
            CloseSession(s, true);
            continue;
        }
        if (options.faults.disconnectAfterSeconds > 0 && !s.connection.ShouldClose()
            && nowMs - s.acceptedMs >= uint64_t{options.faults.disconnectAfterSeconds} * 1000) {
            s.broken = true;  // closed without a goodbye frame
            continue;
        }
        if (s.connection.LiveGeneration() != s.liveGeneration) {
            s.liveGeneration = s.connection.LiveGeneration();
            if (s.mediaKey)
                s.live.SetMediaKey(*s.mediaKey);
            s.live.Configure(s.connection.Live(), s.connection.LiveUdpPort(), s.peer, s.connection.SessionToken(),
                             nowMs);
        }
        if (!s.connection.ShouldClose())
            s.live.SendDue(nowMs, s.connection, udpFd_);
    }
    if (nowMs < nextTickMs_)
        return;
    nextTickMs_ = nowMs + kTickMs;
    for (Session& s : sessions_)
        s.connection.OnTick(nowMs);
    bool changed = recorder_.ExpireAlarms(nowMs);
    if (options.alarmEverySeconds > 0 && nowMs >= nextScheduledAlarmMs_ && recorder_.SensorCount() > 0) {
        nextScheduledAlarmMs_ = nowMs + uint64_t{options.alarmEverySeconds} * 1000;
        changed = recorder_.RaiseAlarm(nextScheduledSensor_, nowMs) || changed;
        nextScheduledSensor_ = (nextScheduledSensor_ + 1) % recorder_.SensorCount();
    }
    if (changed)
        PushMasks();
}

void RecorderServer::PushMasks()
{
    const wire::MasksMessage masks = recorder_.Masks();
    for (Session& s : sessions_)
        s.connection.PushMasks(masks);
}

void RecorderServer::CloseSession(Session& session, bool reset)
{
    if (session.fd < 0)
        return;
    const std::string& reason =
        session.linkFailure.empty() ? session.connection.CloseReason() : session.linkFailure;
    if (!reason.empty())
        std::fprintf(stderr, "dvr-emulator: %s:%u: session from port %u closed: %s\n", Address().c_str(), port_,
                     ntohs(session.peer.sin_port), reason.c_str());
    if (reset) {
        const linger abort{1, 0};
        ::setsockopt(session.fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    ::close(session.fd);
    session.fd = -1;
    session.broken = true;
}

}  // namespace emulator
