#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "core/msg/WindowMessage.h"

// A window for a program without windows: posted messages wait in a queue
// until the main thread takes them.
class NotificationQueue : public CMessageReceiver {
public:
    struct Message {
        unsigned message;
        WPARAM wParam;
        LPARAM lParam;
    };

    NotificationQueue();
    ~NotificationQueue() override;
    NotificationQueue(const NotificationQueue&) = delete;
    NotificationQueue& operator=(const NotificationQueue&) = delete;

    HWND Handle() const { return m_handle; }
    void OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
    // The oldest message, waiting at most `timeout` for one.
    std::optional<Message> Take(std::chrono::milliseconds timeout);

private:
    HWND m_handle = 0;
    std::mutex m_lock; // guards m_messages
    std::condition_variable m_arrived;
    std::deque<Message> m_messages;
};
