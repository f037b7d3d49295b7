#include "platform/ddns/VDNSInterfaceThread.h"

#include "core/ddns/DdnsProtocol.h"
#include "core/ddns/DdnsQueryFrame.h"
#include "platform/ddns/DdnsThreadMessages.h"

#include <arpa/inet.h>
#include <poll.h>

#include <system_error>

CVDNSInterfaceThread::CVDNSInterfaceThread() : m_serverPort(ddns::kServerPort)
{
    m_done.Reset();
}

CVDNSInterfaceThread::~CVDNSInterfaceThread()
{
    if (m_thread.joinable() && !m_ended.load())
        PostThreadMessage(ddns::kMsgQuit);
    Join();
}

bool CVDNSInterfaceThread::CreateThread()
{
    if (m_thread.joinable() || !m_queue.Valid())
        return false;
    try {
        m_thread = std::thread(&CVDNSInterfaceThread::Run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CVDNSInterfaceThread::PostThreadMessage(unsigned message, WPARAM wParam, LPARAM lParam)
{
    m_queue.Post(ThreadMessage{message, wParam, lParam});
}

void CVDNSInterfaceThread::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CVDNSInterfaceThread::SetNameText(const std::string& name)
{
    std::lock_guard lock(m_fieldsLock);
    m_nameText = name;
}

void CVDNSInterfaceThread::SetServerAddress(const std::string& dottedAddress)
{
    std::lock_guard lock(m_fieldsLock);
    m_serverAddress = dottedAddress;
}

void CVDNSInterfaceThread::SetServerPort(std::uint16_t port)
{
    std::lock_guard lock(m_fieldsLock);
    m_serverPort = port;
}

std::string CVDNSInterfaceThread::NameText() const
{
    std::lock_guard lock(m_fieldsLock);
    return m_nameText;
}

std::uint32_t CVDNSInterfaceThread::Port() const
{
    std::lock_guard lock(m_fieldsLock);
    return m_port;
}

std::uint32_t CVDNSInterfaceThread::ResultFlags() const
{
    std::lock_guard lock(m_fieldsLock);
    return m_resultFlags;
}

void CVDNSInterfaceThread::Run()
{
    int exitCode = 0;
    if (InitInstance()) {
        for (bool running = true; running;) {
            while (running) {
                const auto message = m_queue.TryTake();
                if (!message)
                    break;
                running = Dispatch(*message);
            }
            if (!running)
                break;
            OnIdle();
            WaitForWork();
        }
        exitCode = ExitInstance();
    }
    m_exitCode.store(exitCode);
    m_ended.store(true);
}

bool CVDNSInterfaceThread::InitInstance()
{
    m_socket.SetOwner(&m_queue);
    return true;
}

int CVDNSInterfaceThread::ExitInstance()
{
    m_socket.Close();
    return 0;
}

void CVDNSInterfaceThread::OnIdle()
{
    if (!m_ready.exchange(true))
        m_done.Set();
}

bool CVDNSInterfaceThread::Dispatch(const ThreadMessage& message)
{
    switch (message.message) {
    case ddns::kMsgResolve:
        OnResolve();
        return true;
    case ddns::kMsgQuit:
        m_socket.Close();
        return false;
    case ddns::kMsgSocketClosed:
        OnSocketClosed();
        return true;
    case ddns::kMsgReplyComplete:
        OnReplyComplete();
        return true;
    default:
        return true;
    }
}

void CVDNSInterfaceThread::OnResolve()
{
    m_socket.Close();
    std::string name;
    std::string serverAddress;
    std::uint16_t serverPort;
    {
        std::lock_guard lock(m_fieldsLock);
        m_resultFlags = 0;
        name = m_nameText;
        serverAddress = m_serverAddress;
        serverPort = m_serverPort;
    }
    // A name the query cannot carry cannot be registered either: answer for
    // the server rather than send a frame it would misread.
    auto query = ddns::BuildQueryFrame(name);
    if (!query) {
        Finish(kNotRegistered);
        return;
    }
    m_query = std::move(*query);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(serverPort);
    if (serverPort == 0 || ::inet_pton(AF_INET, serverAddress.c_str(), &server.sin_addr) != 1 ||
        !m_socket.Create() || !m_socket.Connect(server)) {
        m_socket.Close();
        Finish(kNoConnection);
        return;
    }
    if (!m_socket.IsConnecting())
        OnConnected();
}

void CVDNSInterfaceThread::OnConnected()
{
    if (!m_socket.FinishConnect()) {
        m_socket.Close();
        Finish(kNoConnection);
        return;
    }
    m_socket.ResetReceiveState();
    if (!m_socket.Send(m_query)) {
        m_socket.Close();
        Finish(kNoConnection);
    }
}

void CVDNSInterfaceThread::OnReplyComplete()
{
    {
        std::lock_guard lock(m_fieldsLock);
        // The first answer stands; a server that keeps talking changes nothing.
        if (m_resultFlags != 0)
            return;
    }
    if (m_socket.NameRejected()) {
        Finish(kNotRegistered);
        return;
    }
    {
        std::lock_guard lock(m_fieldsLock);
        m_nameText = m_socket.ReplyAddress();
        m_port = m_socket.ReplyPort();
    }
    Finish(kResolved);
}

void CVDNSInterfaceThread::OnSocketClosed()
{
    m_socket.Close();
    // A server that hangs up without answering ends the caller's wait now
    // (no flag: the same outcome as no answer in time).
    std::lock_guard lock(m_fieldsLock);
    if (m_resultFlags == 0)
        m_done.Set();
}

void CVDNSInterfaceThread::Finish(std::uint32_t flags)
{
    {
        std::lock_guard lock(m_fieldsLock);
        m_resultFlags = flags;
    }
    m_done.Set();
}

void CVDNSInterfaceThread::WaitForWork()
{
    pollfd fds[2] = {{m_queue.WakeFd(), POLLIN, 0}, {-1, 0, 0}};
    nfds_t count = 1;
    if (m_socket.IsOpen()) {
        fds[1] = {m_socket.Handle(), static_cast<short>(m_socket.IsConnecting() ? POLLOUT : POLLIN), 0};
        count = 2;
    }
    if (::poll(fds, count, -1) <= 0 || count < 2 || fds[1].revents == 0)
        return;
    if (m_socket.IsConnecting())
        OnConnected();
    else
        m_socket.OnReceive();
}
