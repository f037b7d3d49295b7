#pragma once

#include "core/msg/WindowMessage.h"

#include <atomic>

// Tells the video window that new pictures wait, with at most one message
// pending: a request while one is pending posts nothing.
class RepaintRequester {
public:
    void SetWindow(HWND window);
    // Posts kMsgVideoFramesReady unless one is pending. False when there is
    // no window or it is gone.
    bool Request();
    // The window is painting: the next request posts again.
    void Acknowledge();

private:
    std::atomic<HWND> m_window{0};
    std::atomic<bool> m_pending{false};
};
