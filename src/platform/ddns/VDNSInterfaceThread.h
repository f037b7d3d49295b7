#pragma once
// One DDNS lookup on a thread of its own. The caller sets the name and the
// DDNS server, starts the thread, waits for the done event (ready), resets
// it, posts resolve, waits for the done event again (with its own time
// limit), reads the result, posts quit and joins. The owner of the object
// owns the thread: destroying it ends and joins the thread in any state.

#include "core/msg/WindowMessage.h"
#include "platform/ddns/ManualResetEvent.h"
#include "platform/ddns/ThreadMessageQueue.h"
#include "platform/ddns/VDNSSocket.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CVDNSInterfaceThread {
public:
    // Result flags.
    static constexpr std::uint32_t kNoConnection = 1;
    static constexpr std::uint32_t kResolved = 2;
    static constexpr std::uint32_t kNotRegistered = 4;

    CVDNSInterfaceThread();
    ~CVDNSInterfaceThread();
    CVDNSInterfaceThread(const CVDNSInterfaceThread&) = delete;
    CVDNSInterfaceThread& operator=(const CVDNSInterfaceThread&) = delete;

    // Starts the thread once; false when it could not be started.
    bool CreateThread();
    void PostThreadMessage(unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Waits for the thread to end (after quit); at once when it never ran.
    void Join();
    bool HasEnded() const { return m_ended.load(); }
    int ExitCode() const { return m_exitCode.load(); }

    // Inputs, set before posting resolve.
    void SetNameText(const std::string& name);
    void SetServerAddress(const std::string& dottedAddress);
    void SetServerPort(std::uint16_t port);

    // Outputs. The name text holds the resolved address after a resolution.
    std::string NameText() const;
    std::uint32_t Port() const;
    std::uint32_t ResultFlags() const;
    bool IsReady() const { return m_ready.load(); }
    ManualResetEvent& DoneEvent() { return m_done; }

private:
    void Run();
    bool InitInstance();
    int ExitInstance();
    void OnIdle();
    // False once the thread is to end.
    bool Dispatch(const ThreadMessage& message);
    void OnResolve();
    void OnConnected();
    void OnReplyComplete();
    void OnSocketClosed();
    void Finish(std::uint32_t flags);
    // Waits for a message or a socket event and handles socket events.
    void WaitForWork();

    ThreadMessageQueue m_queue;
    ManualResetEvent m_done;
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_ended{false};
    std::atomic<int> m_exitCode{0};

    mutable std::mutex m_fieldsLock;  // guards m_nameText, m_serverAddress, m_serverPort, m_port, m_resultFlags
    std::string m_nameText;
    std::string m_serverAddress;
    std::uint16_t m_serverPort;
    std::uint32_t m_port = 0;
    std::uint32_t m_resultFlags = 0;

    // Worker thread only.
    CVDNSSocket m_socket;
    std::vector<std::uint8_t> m_query;

    std::thread m_thread;
};
