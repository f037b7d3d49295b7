#include "platform/netctrl/NetSession.h"

#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

#include "core/dvr/NotifyCodes.h"
#include "platform/netctrl/Ipv4Endpoint.h"

namespace {

std::atomic<unsigned> g_nextSessionId{1};

unsigned NextSessionId()
{
    unsigned id = g_nextSessionId.fetch_add(1);
    return id != 0 ? id : g_nextSessionId.fetch_add(1);
}

// The session whose I/O thread is the calling thread, if any.
thread_local const NetSession* t_ioSession = nullptr;

constexpr std::size_t kReceiveChunk = 64 * 1024;

int NotifyCodeOf(nettls::SecureLink::Failure failure)
{
    return failure == nettls::SecureLink::Failure::VersionMismatch ? kNotifyVersionMismatch : kNotifyLinkClosed;
}

// Waits for a non-blocking connect; 1 connected, 0 still pending, -1 failed.
int AwaitConnect(int fd, int timeoutMs)
{
    pollfd p{fd, POLLOUT, 0};
    int ready = ::poll(&p, 1, timeoutMs);
    if (ready == 0)
        return 0;
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
        return -1;
    return 1;
}

int MillisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 1000));
}

} // namespace

NetSession::NetSession() : m_id(NextSessionId()), m_timeouts(NetTimeouts::FromEnvironment()) {}

NetSession::~NetSession()
{
    Stop();
    Close();
}

bool NetSession::InsideCallbackThread() const { return t_ioSession == this; }

bool NetSession::Create(const std::string& host, std::uint16_t port, bool tcpMedia, unsigned message, HWND window,
                        std::shared_ptr<HostKeyVerifier> verifier)
{
    if (InsideCallbackThread())
        return false;
    Stop();
    Close();
    auto recorder = ResolveIpv4Endpoint(host, port);
    if (!recorder)
        return false;
    m_recorder = *recorder;
    m_recorderAddress = host;
    m_verifier = std::move(verifier);
    {
        std::lock_guard guard(m_keyLock);
        m_presentedKey.clear();
        m_pinnedKey.clear();
    }
    m_message = message;
    m_window = window;
    m_inbox.Clear();
    m_caller = CallerState{};

    if (!tcpMedia) {
        m_media = FileDescriptor(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = IsLoopback(m_recorder) ? htonl(INADDR_LOOPBACK) : htonl(INADDR_ANY);
        socklen_t length = sizeof local;
        if (!m_media.Valid() || ::bind(m_media.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
            || ::getsockname(m_media.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0) {
            m_media.Reset();
            return false;
        }
        // Live video arrives in bursts of fragments; a deep queue rides them out.
        int size = 4 * 1024 * 1024;
        ::setsockopt(m_media.Get(), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
        m_mediaPort = ntohs(local.sin_port);
    }

    std::string tlsError;
    m_link = nettls::SecureLink::ForClient(&tlsError);
    m_keyChecked = false;
    m_control = FileDescriptor(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!m_link || !m_control.Valid() || !m_wakeup.Open()) {
        Close();
        return false;
    }
    int one = 1;
    ::setsockopt(m_control.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    int state = -1;
    if (::connect(m_control.Get(), reinterpret_cast<sockaddr*>(&m_recorder), sizeof m_recorder) == 0)
        state = 1;
    else if (errno == EINPROGRESS)
        state = AwaitConnect(m_control.Get(), static_cast<int>(m_timeouts.createWait.count()));
    if (state < 0) {
        Close();
        return false;
    }
    m_connected = state == 1;
    m_stopRequested = false;
    m_linkEnded = false;
    m_protocol = std::make_unique<ClientProtocol>(static_cast<ClientProtocol::Sink&>(*this), m_inbox);
    m_running = true;
    m_thread = std::thread(&NetSession::Run, this);
    return true;
}

bool NetSession::Request(ClientRequest request)
{
    if (!m_running || m_linkEnded)
        return false;
    {
        std::lock_guard guard(m_requestLock);
        m_requests.push_back(std::move(request));
    }
    m_wakeup.Signal();
    return true;
}

bool NetSession::SetCallback(PacketLiveMediaCallback callback, void* context)
{
    if (InsideCallbackThread()) {
        // The I/O thread already holds the lock while it runs the callback.
        m_callback = callback;
        m_callbackContext = context;
        return true;
    }
    std::lock_guard guard(m_callbackLock);
    m_callback = callback;
    m_callbackContext = context;
    return true;
}

bool NetSession::Stop()
{
    if (InsideCallbackThread())
        return false;
    if (m_thread.joinable()) {
        m_stopRequested = true;
        m_wakeup.Signal();
        m_thread.join();
    }
    m_running = false;
    return true;
}

bool NetSession::Close()
{
    if (InsideCallbackThread())
        return false;
    Stop();
    if (m_control.Valid() && m_connected && !m_linkEnded && m_protocol && m_link && m_link->Ready())
        SendLeftoversAndBye();
    m_link.reset();
    m_control.Reset();
    m_media.Reset();
    m_wakeup.Close();
    m_mediaPort = 0;
    m_connected = false;
    m_protocol.reset();
    {
        std::lock_guard guard(m_requestLock);
        m_requests.clear();
    }
    {
        std::lock_guard guard(m_callbackLock);
        m_callback = nullptr;
        m_callbackContext = nullptr;
    }
    return true;
}

void NetSession::SendLeftoversAndBye()
{
    // What the caller asked for before closing still goes out, then a polite
    // goodbye; a full socket buffer just loses the rest. A log-in still
    // waiting is dropped: it could only end in a notification.
    std::deque<ClientRequest> requests;
    {
        std::lock_guard guard(m_requestLock);
        requests.swap(m_requests);
    }
    for (const ClientRequest& request : requests)
        if (request.type != wire::MessageType::LoginRequest)
            m_protocol->Submit(request);
    Transmit(m_protocol->ByeFrame(), ClientProtocol::Answer::None);
    while (!m_link->Wire().empty()) {
        ssize_t sent =
            ::send(m_control.Get(), m_link->Wire().data(), m_link->Wire().size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent <= 0)
            break;
        m_link->ConsumeWire(static_cast<std::size_t>(sent));
    }
}

std::string NetSession::PresentedKeyFingerprint() const
{
    std::lock_guard guard(m_keyLock);
    return m_presentedKey;
}

std::string NetSession::PinnedKeyFingerprint() const
{
    std::lock_guard guard(m_keyLock);
    return m_pinnedKey;
}

void NetSession::Notify(int code)
{
    if (code == kNotifyConnectFailed || (code >= kNotifyWrongPassword && code <= kNotifyPollTimeout)
        || code == kNotifyHostKeyChanged)
        m_linkEnded = true;
    PostWindowMessage(m_window, m_message, m_id, code);
}

void NetSession::Transmit(std::vector<std::uint8_t> frame, ClientProtocol::Answer answer)
{
    // A refusal shows at the next read: the link has failed for good.
    m_link->Send(frame);
    auto now = std::chrono::steady_clock::now();
    if (answer == ClientProtocol::Answer::None)
        return;
    if (m_unanswered == 0)
        m_waitingSince = now;
    ++m_unanswered;
    if (answer == ClientProtocol::Answer::PollReply)
        m_pollsSent.push_back(now);
}

void NetSession::AnswerReceived(ClientProtocol::Answer answer)
{
    m_unanswered = std::max(0, m_unanswered - 1);
    m_waitingSince = std::chrono::steady_clock::now();
    if (answer == ClientProtocol::Answer::PollReply && !m_pollsSent.empty())
        m_pollsSent.pop_front();
}

bool NetSession::AnswerOverdue(std::chrono::steady_clock::time_point now) const
{
    // Polls are answered one for one, so an old unanswered poll is a silent
    // recorder even while it still answers other requests.
    return (m_unanswered > 0 && now - m_waitingSince >= m_timeouts.answer)
        || (!m_pollsSent.empty() && now - m_pollsSent.front() >= m_timeouts.answer);
}

void NetSession::Live(std::uint8_t type, std::uint8_t* packet, std::size_t length)
{
    std::lock_guard guard(m_callbackLock);
    if (m_callback)
        m_callback(m_callbackContext, 0, type, packet, static_cast<unsigned>(length));
}

void NetSession::Run()
{
    t_ioSession = this;
    if (FinishConnect())
        ServeLink();
    else if (!m_stopRequested)
        Notify(kNotifyConnectFailed);
    if (m_linkEnded)
        ::shutdown(m_control.Get(), SHUT_RDWR);
    m_running = false;
    t_ioSession = nullptr;
}

bool NetSession::FinishConnect()
{
    if (m_connected)
        return true;
    auto deadline = std::chrono::steady_clock::now() + m_timeouts.connect;
    while (!m_stopRequested && std::chrono::steady_clock::now() < deadline) {
        pollfd p[2] = {{m_control.Get(), POLLOUT, 0}, {m_wakeup.Fd(), POLLIN, 0}};
        if (::poll(p, 2, MillisecondsUntil(deadline)) < 0 && errno != EINTR)
            return false;
        if (p[1].revents & POLLIN)
            m_wakeup.Drain();
        if (p[0].revents) {
            int state = AwaitConnect(m_control.Get(), 0);
            if (state != 0) {
                m_connected = state == 1;
                return m_connected;
            }
        }
    }
    return false;
}

void NetSession::TakeRequests()
{
    std::deque<ClientRequest> requests;
    {
        std::lock_guard guard(m_requestLock);
        requests.swap(m_requests);
    }
    for (const ClientRequest& request : requests)
        if (!m_protocol->Submit(request)) {
            m_linkEnded = true;
            return;
        }
}

bool NetSession::LinkBecameReady()
{
    m_keyChecked = true;
    const nettls::TlsPipe& tls = m_link->Pipe();
    m_protocol->SetMediaKey(tls.ExportKey(nettls::kMediaKeyLabel));
    const std::string presented = tls.PeerKeyFingerprint();
    std::string pinned;
    if (!m_verifier
        || m_verifier->Check(m_recorderAddress, ntohs(m_recorder.sin_port), presented, &pinned)
            == HostKeyVerifier::Verdict::Trusted)
        return true;
    {
        std::lock_guard guard(m_keyLock);
        m_presentedKey = presented;
        m_pinnedKey = pinned;
    }
    Notify(kNotifyHostKeyChanged);
    return false;
}

bool NetSession::ReadControl()
{
    m_receiveBuffer.resize(kReceiveChunk);
    for (;;) {
        ssize_t got = ::recv(m_control.Get(), m_receiveBuffer.data(), m_receiveBuffer.size(), 0);
        if (got > 0) {
            // Everything TLS can decrypt from these bytes comes out now: no
            // poll event would tell of plaintext left inside.
            m_plain.clear();
            const bool linkOk = m_link->OnWireBytes(m_receiveBuffer.data(), static_cast<std::size_t>(got), m_plain);
            if (!m_keyChecked && m_link->Ready() && !LinkBecameReady())
                return false;
            if (!m_plain.empty() && !m_protocol->OnControlBytes(m_plain.data(), m_plain.size()))
                return false;
            if (!linkOk) {
                Notify(NotifyCodeOf(m_link->Fail()));
                return false;
            }
            if (static_cast<std::size_t>(got) < m_receiveBuffer.size())
                return true;
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (got < 0 && errno == EINTR)
            continue;
        Notify(kNotifyLinkClosed);
        return false;
    }
}

void NetSession::ReadDatagrams()
{
    m_receiveBuffer.resize(kReceiveChunk);
    // Bounded so that a flood of datagrams cannot starve the control link.
    for (int i = 0; i < 256; ++i) {
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        ssize_t got = ::recvfrom(m_media.Get(), m_receiveBuffer.data(), m_receiveBuffer.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got < 0)
            return;
        if (from.sin_addr.s_addr == m_recorder.sin_addr.s_addr)
            m_protocol->OnDatagram(m_receiveBuffer.data(), static_cast<std::size_t>(got));
    }
}

bool NetSession::WritePending()
{
    while (!m_link->Wire().empty()) {
        ssize_t sent = ::send(m_control.Get(), m_link->Wire().data(), m_link->Wire().size(), MSG_NOSIGNAL);
        if (sent > 0) {
            m_link->ConsumeWire(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (sent < 0 && errno == EINTR)
            continue;
        Notify(kNotifyLinkClosed);
        return false;
    }
    return true;
}

void NetSession::ServeLink()
{
    // The recorder speaks first, with StartTls and, inside TLS, its challenge.
    m_unanswered = 1;
    m_waitingSince = std::chrono::steady_clock::now();
    m_pollsSent.clear();
    while (!m_stopRequested && !m_linkEnded) {
        TakeRequests();
        if (m_linkEnded || !WritePending())
            return;
        pollfd p[3] = {{m_control.Get(), static_cast<short>(POLLIN | (m_link->Wire().empty() ? 0 : POLLOUT)), 0},
                       {m_wakeup.Fd(), POLLIN, 0},
                       {m_media.Get(), POLLIN, 0}};
        nfds_t count = m_media.Valid() ? 3 : 2;
        int timeout = 1000;
        if (m_unanswered > 0)
            timeout = MillisecondsUntil(m_waitingSince + m_timeouts.answer);
        if (!m_pollsSent.empty())
            timeout = std::min(timeout, MillisecondsUntil(m_pollsSent.front() + m_timeouts.answer));
        if (::poll(p, count, timeout) < 0 && errno != EINTR)
            return Notify(kNotifyLinkClosed);
        if (p[1].revents & POLLIN)
            m_wakeup.Drain();
        if (count == 3 && (p[2].revents & POLLIN))
            ReadDatagrams();
        if (p[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            if (!ReadControl())
                return;
        }
        if (AnswerOverdue(std::chrono::steady_clock::now()))
            return Notify(kNotifyPollTimeout);
    }
}
