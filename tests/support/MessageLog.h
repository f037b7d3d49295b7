#pragma once

#include "core/msg/WindowMessage.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

// A registered window that records what is posted to it.
class MessageLog : public CMessageReceiver {
public:
    struct Message {
        unsigned id;
        WPARAM wParam;
        LPARAM lParam;
    };

    MessageLog() : m_handle(RegisterMessageReceiver(this)) {}
    ~MessageLog() override { UnregisterMessageReceiver(m_handle); }

    HWND Handle() const { return m_handle; }

    void OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam) override
    {
        std::lock_guard guard(m_lock);
        m_messages.push_back({message, wParam, lParam});
        m_changed.notify_all();
    }

    std::vector<Message> Messages() const
    {
        std::lock_guard guard(m_lock);
        return m_messages;
    }

    std::size_t Size() const
    {
        std::lock_guard guard(m_lock);
        return m_messages.size();
    }

    // True once a message from index `from` on matches.
    bool WaitFor(const std::function<bool(const Message&)>& match, std::chrono::milliseconds timeout,
                 std::size_t from = 0)
    {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, timeout, [&] {
            for (std::size_t i = from; i < m_messages.size(); ++i)
                if (match(m_messages[i]))
                    return true;
            return false;
        });
    }

private:
    HWND m_handle;
    // Guards m_messages.
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Message> m_messages;
};
