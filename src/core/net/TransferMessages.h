#pragma once
// Payloads of the block transfers: log download, recording profiles and file
// upload. Data bytes travel as views into the frame payload.

#include "core/net/WireFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wire {

struct DateMessage {  // LogOpen
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    std::vector<uint8_t> Encode() const;
    static std::optional<DateMessage> Decode(const uint8_t* data, size_t length);
};

struct LogInfoMessage {
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint32_t size = 0;
    bool found = false;
    std::vector<uint8_t> Encode() const;
    static std::optional<LogInfoMessage> Decode(const uint8_t* data, size_t length);
};

struct LogBlockRequestMessage {
    uint32_t index = 0;
    uint8_t tag = 0;
    std::vector<uint8_t> Encode() const;
    static std::optional<LogBlockRequestMessage> Decode(const uint8_t* data, size_t length);
};

// LogBlock and DailyProfileBlock.
struct DataBlockMessage {
    uint32_t index = 0;
    uint8_t tag = 0;
    bool last = false;
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    std::vector<uint8_t> Encode() const;
    // maxData: kLogBlockSize or kProfileBlockSize.
    static std::optional<DataBlockMessage> Decode(const uint8_t* data, size_t length, size_t maxData);
};

struct MonthProfileRequestMessage {
    uint16_t year = 0;
    uint8_t month = 0;
    std::vector<uint8_t> Encode() const;
    static std::optional<MonthProfileRequestMessage> Decode(const uint8_t* data, size_t length);
};

struct MonthProfileMessage {
    uint16_t year = 0;
    uint8_t month = 0;
    uint32_t dayMask = 0;
    std::vector<uint8_t> Encode() const;
    static std::optional<MonthProfileMessage> Decode(const uint8_t* data, size_t length);
};

struct DailyProfileRequestMessage {
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint32_t index = 0;
    uint8_t tag = 0;
    std::vector<uint8_t> Encode() const;
    static std::optional<DailyProfileRequestMessage> Decode(const uint8_t* data, size_t length);
};

struct UploadStartMessage {
    uint32_t size = 0;
    std::string name;  // 1..kMaxUploadName bytes, as given by the client
    std::vector<uint8_t> Encode() const;
    static std::optional<UploadStartMessage> Decode(const uint8_t* data, size_t length);
};

struct UploadReplyMessage {
    bool ok = false;
    UploadReason reason = UploadReason::None;
    std::vector<uint8_t> Encode() const;
    static std::optional<UploadReplyMessage> Decode(const uint8_t* data, size_t length);
};

struct UploadChunkMessage {
    uint8_t sequence = 0;
    bool last = false;
    const uint8_t* data = nullptr;
    uint32_t length = 0;  // 0..kUploadChunkSize
    std::vector<uint8_t> Encode() const;
    static std::optional<UploadChunkMessage> Decode(const uint8_t* data, size_t length);
};

struct UploadAckMessage {
    uint8_t sequence = 0;
    UploadStatus status = UploadStatus::Failed;
    UploadReason reason = UploadReason::None;
    std::vector<uint8_t> Encode() const;
    static std::optional<UploadAckMessage> Decode(const uint8_t* data, size_t length);
};

}  // namespace wire
