#include "ui/viewer/NotifyForwarder.h"

#include "core/dvr/NotifyCodes.h"
#include "platform/video/LiveSessionState.h"
#include "ui/video/VideoWindowState.h"

NotifyForwarder::NotifyForwarder(Handler handler, QObject* parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{
    m_handle = RegisterMessageReceiver(this);
}

NotifyForwarder::~NotifyForwarder()
{
    UnregisterMessageReceiver(m_handle);
}

void NotifyForwarder::OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam)
{
    if (message != kMsgNetworkNotify && message != kMsgPictureSizeKnown && message != kMsgSetupClosed)
        return;
    // Queued to this object: once it is gone, nothing still queued runs.
    QMetaObject::invokeMethod(
        this, [this, message, wParam, lParam] { m_handler(message, wParam, lParam); }, Qt::QueuedConnection);
}
