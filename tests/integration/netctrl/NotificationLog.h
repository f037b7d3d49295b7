#pragma once

#include "support/MessageLog.h"

#include <chrono>
#include <vector>

// A test window for sessions: notifications carry the session's identity in
// wParam and the code in lParam.
class NotificationLog : public MessageLog {
public:
    // True once code arrived for the session (counting from message `from`).
    bool WaitFor(unsigned session, int code, std::chrono::milliseconds timeout = std::chrono::seconds(5),
                 std::size_t from = 0)
    {
        return MessageLog::WaitFor(
            [&](const Message& m) { return m.wParam == session && m.lParam == code; }, timeout, from);
    }

    // Codes posted for the session, in order.
    std::vector<int> Codes(unsigned session) const
    {
        std::vector<int> codes;
        for (const Message& m : Messages())
            if (m.wParam == session)
                codes.push_back(static_cast<int>(m.lParam));
        return codes;
    }
};
