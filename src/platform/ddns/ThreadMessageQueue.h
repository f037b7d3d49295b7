#pragma once
// A worker thread's message queue: any thread posts, the worker takes. Its
// wake descriptor is readable while messages wait, so the worker can poll it
// together with its sockets.

#include "core/msg/WindowMessage.h"
#include "platform/netctrl/WakeupEvent.h"

#include <deque>
#include <mutex>
#include <optional>

struct ThreadMessage {
    unsigned message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class ThreadMessageQueue {
public:
    ThreadMessageQueue() { m_wakeup.Open(); }
    bool Valid() const { return m_wakeup.Valid(); }
    void Post(const ThreadMessage& message);
    // The oldest waiting message, or nothing (and the wake descriptor quiet).
    std::optional<ThreadMessage> TryTake();
    int WakeFd() const { return m_wakeup.Fd(); }

private:
    WakeupEvent m_wakeup;
    std::mutex m_lock;  // guards m_messages and the draining of m_wakeup
    std::deque<ThreadMessage> m_messages;
};
