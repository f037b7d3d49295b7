#pragma once

#include <netinet/in.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/msg/WindowMessage.h"
#include "platform/netctrl/ClientProtocol.h"
#include "platform/netctrl/FileDescriptor.h"
#include "platform/netctrl/HostKeyVerifier.h"
#include "platform/netctrl/NetTimeouts.h"
#include "platform/netctrl/WakeupEvent.h"
#include "platform/nettls/SecureLink.h"

using PacketLiveMediaCallback = void (*)(void*, unsigned char, unsigned char, unsigned char*, unsigned int);

// The inner working of one CZERDNetwork: the sockets, the I/O thread and the
// state shared between that thread and the caller's thread. The wire rules
// themselves are ClientProtocol's; this class moves bytes through the TLS
// link, checks the recorder's key with the verifier and keeps time.
class NetSession : private ClientProtocol::Sink {
public:
    NetSession();
    ~NetSession() override;
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    unsigned Id() const { return m_id; }

    // verifier may be null (every key is then taken as it comes).
    bool Create(const std::string& host, std::uint16_t port, bool tcpMedia, unsigned message, HWND window,
                std::shared_ptr<HostKeyVerifier> verifier);
    // Queues a request for the I/O thread; false when the session is not running.
    bool Request(ClientRequest request);
    bool SetCallback(PacketLiveMediaCallback callback, void* context);
    bool Stop();   // Destroy
    bool Close();  // SessionClose

    // The UDP port live datagrams arrive on (0 in TCP media mode).
    std::uint16_t MediaPort() const { return m_mediaPort; }
    ClientInbox& Inbox() { return m_inbox; }
    // After a refused key (code 135): the key the recorder showed and the one
    // pinned for it; empty otherwise.
    std::string PresentedKeyFingerprint() const;
    std::string PinnedKeyFingerprint() const;

    // Transfer positions and the buffers handed out to the caller; used on
    // the caller's thread only.
    struct CallerState {
        std::uint32_t nextLogBlock = 0;
        std::uint16_t profileYear = 0;
        std::uint8_t profileMonth = 0;
        std::uint8_t dailyDay = 0;
        std::uint32_t nextDailyBlock = 0;
        std::vector<std::uint8_t> takenLogBlock;
        std::vector<std::uint8_t> takenDailyBlock;
    };
    CallerState& Caller() { return m_caller; }

private:
    // ClientProtocol::Sink, called on the I/O thread.
    void Notify(int code) override;
    void Transmit(std::vector<std::uint8_t> frame, ClientProtocol::Answer answer) override;
    void Live(std::uint8_t type, std::uint8_t* packet, std::size_t length) override;
    void AnswerReceived(ClientProtocol::Answer answer) override;

    void Run();
    bool FinishConnect();
    void ServeLink();
    bool ReadControl();
    void ReadDatagrams();
    bool WritePending();
    void TakeRequests();
    void SendLeftoversAndBye();
    bool InsideCallbackThread() const;
    bool AnswerOverdue(std::chrono::steady_clock::time_point now) const;
    bool LinkBecameReady();

    const unsigned m_id;
    const NetTimeouts m_timeouts;
    ClientInbox m_inbox;
    CallerState m_caller;

    // Set by Create before the I/O thread starts and cleared by Close after it
    // stopped; the I/O thread only reads them.
    sockaddr_in m_recorder{};
    std::string m_recorderAddress; // as the caller named it: the viewer and dvrctl trust a new key under that name
    std::shared_ptr<HostKeyVerifier> m_verifier;
    FileDescriptor m_control;
    FileDescriptor m_media;
    std::uint16_t m_mediaPort = 0;
    bool m_connected = false;
    unsigned m_message = 0;
    HWND m_window = 0;
    std::thread m_thread;
    WakeupEvent m_wakeup;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_running{false};
    // Set once a notification that ends the link was posted.
    std::atomic<bool> m_linkEnded{false};

    std::mutex m_requestLock; // guards m_requests
    std::deque<ClientRequest> m_requests;

    mutable std::mutex m_keyLock; // guards m_presentedKey, m_pinnedKey
    std::string m_presentedKey;
    std::string m_pinnedKey;

    std::mutex m_callbackLock; // guards m_callback, m_callbackContext
    PacketLiveMediaCallback m_callback = nullptr;
    void* m_callbackContext = nullptr;

    // I/O thread only, and the caller's thread once that has stopped.
    std::unique_ptr<ClientProtocol> m_protocol;
    std::unique_ptr<nettls::SecureLink> m_link;
    bool m_keyChecked = false;
    std::vector<std::uint8_t> m_receiveBuffer;
    std::vector<std::uint8_t> m_plain;
    int m_unanswered = 0;
    std::chrono::steady_clock::time_point m_waitingSince;
    std::deque<std::chrono::steady_clock::time_point> m_pollsSent;
};
