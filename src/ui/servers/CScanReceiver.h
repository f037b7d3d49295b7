#pragma once

#include "core/dvr/DiscoveryRecord.h"
#include "core/msg/WindowMessage.h"

#include <QObject>

#include <functional>

// The configuration dialog's handle for LAN discovery. Each record the
// network library posts (message 2024, a heap ZERD_INFO_BLK this side owns)
// is read and freed on the posting thread, and the handler gets the decoded
// record on the user-interface thread. A record that arrives while or after
// the receiver goes is freed all the same.
class CScanReceiver : public QObject, private CMessageReceiver {
public:
    using Handler = std::function<void(const DiscoveryRecord&)>;

    explicit CScanReceiver(Handler handler, QObject* parent = nullptr);
    ~CScanReceiver() override;

    HWND Handle() const { return m_handle; }

private:
    void OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;

    Handler m_handler;
    HWND m_handle = 0;
};
