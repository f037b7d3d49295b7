#pragma once

#include "core/msg/WindowMessage.h"

#include <atomic>
#include <cstdint>

// Tells the video window that new pictures wait, with at most one message
// pending: a request while one is pending posts nothing. It also notes which
// channels changed, so the window repaints only their panes.
class RepaintRequester {
public:
    static constexpr std::uint32_t kAllChannels = 0xFFFF;

    void SetWindow(HWND window);
    // Notes the channels (bit c = channel c) and posts kMsgVideoFramesReady
    // unless one is pending. False when there is no window or it is gone.
    bool Request(std::uint32_t channels);
    // The window is painting: the next request posts again.
    void Acknowledge();
    // Acknowledges and returns the channels noted since the last call.
    std::uint32_t TakeChannels();

private:
    std::atomic<HWND> m_window{0};
    std::atomic<bool> m_pending{false};
    std::atomic<std::uint32_t> m_channels{0};
};
