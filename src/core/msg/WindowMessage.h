#pragma once

#include <cstdint>

// Stand-in for window handles and PostMessage: a receiver registers itself and
// gets a handle; any thread may post to the handle. A post to a handle whose
// receiver has unregistered is dropped, so nothing reaches a receiver that is
// gone (the same guarantee PostMessage gives for a destroyed window).

using HWND = std::uint32_t;          // 0 is "no window"
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

class CMessageReceiver {
public:
    virtual ~CMessageReceiver() = default;
    // Runs on the posting thread and must return quickly: queue the message
    // for the receiver's own thread.
    virtual void OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam) = 0;
};

HWND RegisterMessageReceiver(CMessageReceiver* receiver);
// After this returns no call of OnPostedMessage is running or will start.
void UnregisterMessageReceiver(HWND window);
// False when the window is not (or no longer) registered.
bool PostWindowMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);
