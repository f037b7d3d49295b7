#include "core/net/WireFormat.h"

namespace wire {
namespace {

struct TypeInfo {
    MessageType type;
    Direction direction;
    PayloadBounds bounds;
    std::string_view name;
};

constexpr uint32_t kBlockHeader = 8;

constexpr TypeInfo kTypes[] = {
    {MessageType::LoginRequest, Direction::ToRecorder, {80, 80}, "LoginRequest"},
    {MessageType::Poll, Direction::ToRecorder, {0, 0}, "Poll"},
    {MessageType::GetSettings, Direction::ToRecorder, {0, 0}, "GetSettings"},
    {MessageType::WriteSection, Direction::ToRecorder, {2 + 16, 2 + 2688}, "WriteSection"},
    {MessageType::LiveControl, Direction::ToRecorder, {8, 8}, "LiveControl"},
    {MessageType::SerialData, Direction::ToRecorder, {1, kMaxSerialData}, "SerialData"},
    {MessageType::LogOpen, Direction::ToRecorder, {4, 4}, "LogOpen"},
    {MessageType::LogBlockRequest, Direction::ToRecorder, {8, 8}, "LogBlockRequest"},
    {MessageType::MonthProfileRequest, Direction::ToRecorder, {4, 4}, "MonthProfileRequest"},
    {MessageType::DailyProfileRequest, Direction::ToRecorder, {12, 12}, "DailyProfileRequest"},
    {MessageType::UploadStart, Direction::ToRecorder, {5, 5 + kMaxUploadName}, "UploadStart"},
    {MessageType::UploadChunk, Direction::ToRecorder, {4, 4 + kUploadChunkSize}, "UploadChunk"},
    {MessageType::Bye, Direction::ToRecorder, {0, 0}, "Bye"},
    {MessageType::DiscoveryProbe, Direction::ToRecorder, {8, 8}, "DiscoveryProbe"},
    {MessageType::Challenge, Direction::ToClient, {kNonceSize, kNonceSize}, "Challenge"},
    {MessageType::LoginReply, Direction::ToClient, {8, 8}, "LoginReply"},
    {MessageType::PollReply, Direction::ToClient, {0, 0}, "PollReply"},
    {MessageType::Settings, Direction::ToClient, {kSettingsBlockSize, kSettingsBlockSize}, "Settings"},
    {MessageType::WriteResult, Direction::ToClient, {4, 4}, "WriteResult"},
    {MessageType::LiveReply, Direction::ToClient, {4, 4}, "LiveReply"},
    {MessageType::LiveMedia, Direction::ToClient, {4, kMaxPayload}, "LiveMedia"},
    {MessageType::Masks, Direction::ToClient, {6, 6}, "Masks"},
    {MessageType::LogInfo, Direction::ToClient, {12, 12}, "LogInfo"},
    {MessageType::LogBlock, Direction::ToClient, {kBlockHeader, kBlockHeader + kLogBlockSize}, "LogBlock"},
    {MessageType::MonthProfile, Direction::ToClient, {8, 8}, "MonthProfile"},
    {MessageType::DailyProfileBlock, Direction::ToClient, {kBlockHeader, kBlockHeader + kProfileBlockSize},
     "DailyProfileBlock"},
    {MessageType::UploadReply, Direction::ToClient, {4, 4}, "UploadReply"},
    {MessageType::UploadAck, Direction::ToClient, {4, 4}, "UploadAck"},
    {MessageType::Error, Direction::ToClient, {4, 4 + kMaxErrorText}, "Error"},
    {MessageType::DiscoveryAnswer, Direction::ToClient, {4 + kSettingsBlockSize, 4 + kSettingsBlockSize},
     "DiscoveryAnswer"},
    {MessageType::LiveDatagram, Direction::ToClient, {32, kMaxPayload}, "LiveDatagram"},
    {MessageType::StartTls, Direction::ToClient, {0, 0}, "StartTls"},
};

const TypeInfo* Find(uint16_t type)
{
    for (const TypeInfo& info : kTypes)
        if (static_cast<uint16_t>(info.type) == type)
            return &info;
    return nullptr;
}

}  // namespace

bool IsKnownType(uint16_t type, Direction direction)
{
    const TypeInfo* info = Find(type);
    return info && info->direction == direction;
}

PayloadBounds BoundsOf(MessageType type)
{
    const TypeInfo* info = Find(static_cast<uint16_t>(type));
    return info ? info->bounds : PayloadBounds{};
}

std::string_view TypeName(uint16_t type)
{
    const TypeInfo* info = Find(type);
    return info ? info->name : "unknown";
}

bool ErrorClosesConnection(ErrorCode code)
{
    return code != ErrorCode::Unsupported && code != ErrorCode::NoTransfer;
}

}  // namespace wire
