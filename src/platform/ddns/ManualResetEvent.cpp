#include "platform/ddns/ManualResetEvent.h"

void ManualResetEvent::Set()
{
    {
        std::lock_guard lock(m_lock);
        m_signalled = true;
    }
    m_changed.notify_all();
}

void ManualResetEvent::Reset()
{
    std::lock_guard lock(m_lock);
    m_signalled = false;
}

bool ManualResetEvent::IsSet() const
{
    std::lock_guard lock(m_lock);
    return m_signalled;
}

void ManualResetEvent::Wait() const
{
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return m_signalled; });
}

bool ManualResetEvent::WaitFor(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, timeout, [this] { return m_signalled; });
}
