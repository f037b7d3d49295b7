#pragma once

#include "core/msg/WindowMessage.h"

#include <QObject>

#include <functional>

// The main window's handle for the network library and the live media path:
// network notifications and picture-size news arrive on their threads (and
// the setup's closing, message 5024, is posted) and
// are handed to the user-interface thread, in the order they were posted.
class NotifyForwarder : public QObject, private CMessageReceiver {
    Q_OBJECT
public:
    using Handler = std::function<void(unsigned message, WPARAM wParam, LPARAM lParam)>;

    explicit NotifyForwarder(Handler handler, QObject* parent = nullptr);
    ~NotifyForwarder() override;

    HWND Handle() const { return m_handle; }

private:
    void OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;

    Handler m_handler;
    HWND m_handle = 0;
};
