#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <netinet/in.h>

#include "core/msg/WindowMessage.h"
#include "platform/netctrl/FileDescriptor.h"
#include "platform/netctrl/WakeupEvent.h"

// LAN discovery behind the free functions: one UDP socket on loopback that
// sends the probes and receives the answers on its own thread, posting each
// valid record to the notify window.
class DiscoveryMonitor {
public:
    // The one process-wide monitor. It is never destroyed, so its thread can
    // never outlive the objects it posts through.
    static DiscoveryMonitor& Instance();

    bool Start();
    void SetNotifyWindow(unsigned message, HWND window);
    // Sends one probe to each target of DVR_SCAN_TARGETS; starts monitoring
    // when it was not running.
    bool Scan();
    bool Stop();

    // The targets of a DVR_SCAN_TARGETS text; non-loopback and malformed
    // entries are skipped.
    static std::vector<sockaddr_in> ParseTargets(const std::string& text);

private:
    DiscoveryMonitor() = default;
    void Run();
    void OnDatagram(const std::uint8_t* data, std::size_t length);

    std::mutex m_lock; // guards m_socket and m_thread on the callers' side
    FileDescriptor m_socket;
    std::thread m_thread;
    WakeupEvent m_wakeup;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<std::uint32_t> m_probeId{0};

    std::mutex m_windowLock; // guards m_message, m_window
    unsigned m_message = 0;
    HWND m_window = 0;
};
