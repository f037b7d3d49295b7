#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/msg/WindowMessage.h"

// A test window: keeps every message posted to it, in order, and lets the
// test wait for one.
class NotificationLog : public CMessageReceiver {
public:
    struct Entry {
        unsigned message;
        WPARAM wParam;
        LPARAM lParam;
    };

    NotificationLog() : m_handle(RegisterMessageReceiver(this)) {}
    ~NotificationLog() override { UnregisterMessageReceiver(m_handle); }

    HWND Handle() const { return m_handle; }

    void OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam) override
    {
        std::lock_guard guard(m_lock);
        m_entries.push_back({message, wParam, lParam});
        m_changed.notify_all();
    }

    // True once code arrived for the session (counting from entry `from`).
    bool WaitFor(unsigned session, int code, std::chrono::milliseconds timeout = std::chrono::seconds(5),
                 std::size_t from = 0)
    {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, timeout, [&] { return IndexOf(session, code, from) >= 0; });
    }

    // Codes posted for the session, in order.
    std::vector<int> Codes(unsigned session) const
    {
        std::lock_guard guard(m_lock);
        std::vector<int> codes;
        for (const Entry& e : m_entries)
            if (e.wParam == session)
                codes.push_back(static_cast<int>(e.lParam));
        return codes;
    }

    std::vector<Entry> Entries() const
    {
        std::lock_guard guard(m_lock);
        return m_entries;
    }

    std::size_t Size() const
    {
        std::lock_guard guard(m_lock);
        return m_entries.size();
    }

private:
    long IndexOf(unsigned session, int code, std::size_t from) const
    {
        for (std::size_t i = from; i < m_entries.size(); ++i)
            if (m_entries[i].wParam == session && m_entries[i].lParam == code)
                return static_cast<long>(i);
        return -1;
    }

    HWND m_handle;
    mutable std::mutex m_lock; // guards m_entries
    std::condition_variable m_changed;
    std::vector<Entry> m_entries;
};
