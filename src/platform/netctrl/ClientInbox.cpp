#include "platform/netctrl/ClientInbox.h"

#include <cstring>

namespace {

bool TakeFront(std::deque<std::vector<std::uint8_t>>& queue, std::vector<std::uint8_t>& out)
{
    if (queue.empty()) {
        out.clear();
        return false;
    }
    out = std::move(queue.front());
    queue.pop_front();
    return true;
}

} // namespace

ClientInbox::ClientInbox() { std::memset(&m_settings, 0, sizeof m_settings); }

void ClientInbox::StoreSettings(const std::uint8_t* block)
{
    std::lock_guard guard(m_lock);
    std::memcpy(&m_settings, block, sizeof m_settings);
}

ZERD_INFO_BLK ClientInbox::Settings() const
{
    std::lock_guard guard(m_lock);
    return m_settings;
}

void ClientInbox::StoreMasks(std::uint16_t video, std::uint16_t audio, std::uint16_t sensor)
{
    m_videoMask.store(video);
    m_audioMask.store(audio);
    m_sensorMask.store(sensor);
}

void ClientInbox::PushLogBlock(const std::uint8_t* data, std::size_t length)
{
    std::lock_guard guard(m_lock);
    m_logBlocks.emplace_back(data, data + length);
}

bool ClientInbox::TakeLogBlock(std::vector<std::uint8_t>& out)
{
    std::lock_guard guard(m_lock);
    return TakeFront(m_logBlocks, out);
}

void ClientInbox::PushDailyBlock(const std::uint8_t* data, std::size_t length)
{
    std::lock_guard guard(m_lock);
    m_dailyBlocks.emplace_back(data, data + length);
}

bool ClientInbox::TakeDailyBlock(std::vector<std::uint8_t>& out)
{
    std::lock_guard guard(m_lock);
    return TakeFront(m_dailyBlocks, out);
}

void ClientInbox::Clear()
{
    {
        std::lock_guard guard(m_lock);
        std::memset(&m_settings, 0, sizeof m_settings);
        m_logBlocks.clear();
        m_dailyBlocks.clear();
    }
    StoreMasks(0, 0, 0);
    m_logSize.store(0);
    m_monthProfile.store(0);
    StoreDroppedDatagrams({});
}

void ClientInbox::StoreMonthProfile(std::uint16_t year, std::uint8_t month, std::uint32_t dayMask)
{
    m_monthProfile.store(std::uint64_t{year} << 40 | std::uint64_t{month} << 32 | dayMask);
}

RecordingMonth ClientInbox::MonthProfile() const
{
    const std::uint64_t packed = m_monthProfile.load();
    return RecordingMonth{static_cast<int>((packed >> 40) & 0xFFFF), static_cast<int>((packed >> 32) & 0xFF),
                          static_cast<std::uint32_t>(packed)};
}

void ClientInbox::StoreDroppedDatagrams(const netauth::DroppedDatagrams& dropped)
{
    m_unauthenticDatagrams.store(dropped.unauthentic);
    m_replayedDatagrams.store(dropped.replayed);
}

netauth::DroppedDatagrams ClientInbox::Dropped() const
{
    return {m_unauthenticDatagrams.load(), m_replayedDatagrams.load()};
}
