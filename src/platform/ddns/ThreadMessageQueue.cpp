#include "platform/ddns/ThreadMessageQueue.h"

void ThreadMessageQueue::Post(const ThreadMessage& message)
{
    {
        std::lock_guard lock(m_lock);
        m_messages.push_back(message);
    }
    m_wakeup.Signal();
}

std::optional<ThreadMessage> ThreadMessageQueue::TryTake()
{
    std::lock_guard lock(m_lock);
    if (m_messages.empty()) {
        // Under the lock: a message posted after this is signalled afresh.
        m_wakeup.Drain();
        return std::nullopt;
    }
    ThreadMessage message = m_messages.front();
    m_messages.pop_front();
    return message;
}
