#include "NotificationQueue.h"

NotificationQueue::NotificationQueue() : m_handle(RegisterMessageReceiver(this)) {}

NotificationQueue::~NotificationQueue() { UnregisterMessageReceiver(m_handle); }

void NotificationQueue::OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard guard(m_lock);
        m_messages.push_back({message, wParam, lParam});
    }
    m_arrived.notify_one();
}

std::optional<NotificationQueue::Message> NotificationQueue::Take(std::chrono::milliseconds timeout)
{
    std::unique_lock guard(m_lock);
    if (!m_arrived.wait_for(guard, timeout, [this] { return !m_messages.empty(); }))
        return std::nullopt;
    Message message = m_messages.front();
    m_messages.pop_front();
    return message;
}
