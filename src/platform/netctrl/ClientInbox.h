#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "core/dvr/RecordingProfile.h"
#include "core/dvr/ZerdInfoBlock.h"
#include "platform/netauth/DroppedDatagrams.h"

// What a session received, written by its I/O thread before the matching
// notification is posted and read by the caller's thread after it.
class ClientInbox {
public:
    ClientInbox();

    void StoreSettings(const std::uint8_t* block);
    ZERD_INFO_BLK Settings() const;

    void StoreMasks(std::uint16_t video, std::uint16_t audio, std::uint16_t sensor);
    std::uint16_t VideoMask() const { return m_videoMask.load(); }
    std::uint16_t AudioMask() const { return m_audioMask.load(); }
    std::uint16_t SensorMask() const { return m_sensorMask.load(); }

    void StoreLogSize(std::uint32_t size) { m_logSize.store(size); }
    std::uint32_t LogSize() const { return m_logSize.load(); }
    // The month and its days travel together: a later answer for another
    // month never pairs its days with an earlier month.
    void StoreMonthProfile(std::uint16_t year, std::uint8_t month, std::uint32_t dayMask);
    RecordingMonth MonthProfile() const;

    // Blocks wait in arrival order, one per notification, until taken.
    void PushLogBlock(const std::uint8_t* data, std::size_t length);
    bool TakeLogBlock(std::vector<std::uint8_t>& out);
    void PushDailyBlock(const std::uint8_t* data, std::size_t length);
    bool TakeDailyBlock(std::vector<std::uint8_t>& out);

    void StoreDroppedDatagrams(const netauth::DroppedDatagrams& dropped);
    netauth::DroppedDatagrams Dropped() const;

    // Forgets everything of an earlier connection.
    void Clear();

private:
    mutable std::mutex m_lock; // guards m_settings, m_logBlocks, m_dailyBlocks
    ZERD_INFO_BLK m_settings;
    std::deque<std::vector<std::uint8_t>> m_logBlocks;
    std::deque<std::vector<std::uint8_t>> m_dailyBlocks;

    std::atomic<std::uint16_t> m_videoMask{0};
    std::atomic<std::uint16_t> m_audioMask{0};
    std::atomic<std::uint16_t> m_sensorMask{0};
    std::atomic<std::uint32_t> m_logSize{0};
    std::atomic<std::uint64_t> m_monthProfile{0};  // year << 40 | month << 32 | day mask
    std::atomic<std::uint64_t> m_unauthenticDatagrams{0};
    std::atomic<std::uint64_t> m_replayedDatagrams{0};
};
