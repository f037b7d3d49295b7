#pragma once
// The DDNS lookup thread's stream socket. It lives on that thread: the thread
// polls it and calls OnReceive when bytes (or the end) arrive. It posts
// "reply complete" for each well-formed reply and "socket closed" when the
// server hangs up; malformed replies are dropped.

#include "core/ddns/DdnsReplyReceiver.h"
#include "platform/ddns/ThreadMessageQueue.h"
#include "platform/netctrl/FileDescriptor.h"

#include <netinet/in.h>

#include <cstdint>
#include <span>
#include <string>

class CVDNSSocket {
public:
    // The thread whose queue gets this socket's messages.
    void SetOwner(ThreadMessageQueue* owner) { m_owner = owner; }

    // A non-blocking TCP stream socket on any local port.
    bool Create();
    // Starts connecting; false when it failed at once. IsConnecting() tells
    // whether the outcome is still to come (wait until writable, then
    // FinishConnect).
    bool Connect(const sockaddr_in& server);
    bool IsConnecting() const { return m_connecting; }
    bool FinishConnect();
    // The whole frame in one call; false on a short or failed send.
    bool Send(std::span<const std::uint8_t> bytes);
    void Close();
    int Handle() const { return m_fd.Get(); }
    bool IsOpen() const { return m_fd.Valid(); }

    // Clears the in-frame flag, the receive index and the name-rejected flag.
    void ResetReceiveState();
    // Reads one chunk of what is waiting (so the thread's queue is never
    // starved by a chatty server); at the end of the stream calls OnClose.
    void OnReceive();
    void OnClose();

    // The last well-formed reply.
    bool NameRejected() const { return m_nameRejected; }
    const std::string& ReplyAddress() const { return m_replyAddress; }
    std::uint16_t ReplyPort() const { return m_replyPort; }

private:
    void Post(unsigned message);

    ThreadMessageQueue* m_owner = nullptr;
    FileDescriptor m_fd;
    bool m_connecting = false;
    ddns::DdnsReplyReceiver m_receiver;
    bool m_nameRejected = false;
    std::string m_replyAddress;
    std::uint16_t m_replyPort = 0;
};
