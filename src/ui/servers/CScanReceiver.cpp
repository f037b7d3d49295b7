#include "ui/servers/CScanReceiver.h"

#include "core/dvr/NotifyCodes.h"

#include <memory>

CScanReceiver::CScanReceiver(Handler handler, QObject* parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{
    m_handle = RegisterMessageReceiver(this);
}

CScanReceiver::~CScanReceiver()
{
    UnregisterMessageReceiver(m_handle);
}

void CScanReceiver::OnPostedMessage(unsigned message, WPARAM, LPARAM lParam)
{
    if (message != kMsgDiscoveryRecord)
        return;
    std::unique_ptr<ZERD_INFO_BLK> block(reinterpret_cast<ZERD_INFO_BLK*>(lParam));
    if (!block)
        return;
    auto record = DecodeDiscoveryRecord(reinterpret_cast<const std::uint8_t*>(block.get()), sizeof *block);
    if (!record)
        return;
    // Queued to this object: once it is gone, nothing still queued runs.
    QMetaObject::invokeMethod(
        this, [this, found = *record] { m_handler(found); }, Qt::QueuedConnection);
}
