#pragma once
// Constants of the recorder wire protocol (docs/protocol.md): frame header,
// message types with their direction and payload bounds, error and reason codes.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace wire {

inline constexpr uint8_t kMagic[4] = {0x4F, 0x4D, 0x42, 0x52};  // "OMBR"
inline constexpr uint16_t kProtocolVersion = 2;
inline constexpr size_t kHeaderSize = 16;
inline constexpr size_t kMaxPayload = 16384;

inline constexpr size_t kNonceSize = 32;
inline constexpr size_t kProofSize = 32;
inline constexpr size_t kAccountFieldSize = 16;
inline constexpr size_t kSettingsBlockSize = 3820;
inline constexpr size_t kLogBlockSize = 4096;        // data bytes per LogBlock
inline constexpr size_t kProfileBlockSize = 256;     // data bytes per DailyProfileBlock
inline constexpr size_t kUploadChunkSize = 512;
inline constexpr uint32_t kMaxUploadSize = 64u * 1024 * 1024;
inline constexpr size_t kMaxUploadName = 254;
inline constexpr size_t kMaxSerialData = 512;
inline constexpr size_t kLiveFragmentPayload = 1400;
inline constexpr size_t kMaxLiveUnit = 1000000;
inline constexpr size_t kMaxErrorText = 256;

// Which way a frame travels; every type is valid in one direction only.
enum class Direction : uint8_t { ToRecorder, ToClient };

enum class MessageType : uint16_t {
    // client -> recorder
    LoginRequest = 0x0001,
    Poll = 0x0002,
    GetSettings = 0x0003,
    WriteSection = 0x0004,
    LiveControl = 0x0005,
    SerialData = 0x0006,
    LogOpen = 0x0007,
    LogBlockRequest = 0x0008,
    MonthProfileRequest = 0x0009,
    DailyProfileRequest = 0x000A,
    UploadStart = 0x000B,
    UploadChunk = 0x000C,
    Bye = 0x000D,
    DiscoveryProbe = 0x0010,
    // recorder -> client
    Challenge = 0x0101,
    LoginReply = 0x0102,
    PollReply = 0x0103,
    Settings = 0x0104,
    WriteResult = 0x0105,
    LiveReply = 0x0106,
    LiveMedia = 0x0107,
    Masks = 0x0108,
    LogInfo = 0x0109,
    LogBlock = 0x010A,
    MonthProfile = 0x010B,
    DailyProfileBlock = 0x010C,
    UploadReply = 0x010D,
    UploadAck = 0x010E,
    Error = 0x010F,
    DiscoveryAnswer = 0x0110,
    LiveDatagram = 0x0111,
    StartTls = 0x0112,  // in clear, the recorder's first frame: TLS follows
};

struct PayloadBounds {
    uint32_t min = 0;
    uint32_t max = 0;
};

// False for a number that is no type, or a type of the other direction.
bool IsKnownType(uint16_t type, Direction direction);
// Inclusive payload length bounds of a known type ({0, 0} for unknown numbers).
PayloadBounds BoundsOf(MessageType type);
// "LoginRequest", ...; "unknown" for other numbers.
std::string_view TypeName(uint16_t type);

// Codes of the Error frame.
enum class ErrorCode : uint16_t {
    VersionMismatch = 1,
    TooManySessions = 2,
    Unsupported = 3,
    NotLoggedIn = 4,
    BadRequest = 5,
    LoginTimeout = 6,
    NoTransfer = 7,
    ShuttingDown = 8,
};
// True for the codes after which the recorder closes the connection.
bool ErrorClosesConnection(ErrorCode code);

// WriteResult reasons.
enum class WriteReason : uint8_t { Ok = 0, BadSection = 1, BadLength = 2, OutOfRange = 3, StorageFailure = 4 };

// UploadReply / UploadAck reasons.
enum class UploadReason : uint8_t {
    None = 0,
    BadName = 1,
    TooLarge = 2,
    OutOfOrder = 3,
    BadChunkLength = 4,
    SizeMismatch = 5,
    StorageFailure = 6,
    NoUpload = 7,
};

enum class UploadStatus : uint8_t { SendNext = 0, Complete = 1, Failed = 2 };

// Live packet types, as handed to the media callback.
inline constexpr uint8_t kPacketVideo = 2;
inline constexpr uint8_t kPacketAudio = 3;

// Log-in reply codes (the notification codes the client posts for them).
inline constexpr uint16_t kLoginAdministrator = 101;
inline constexpr uint16_t kLoginUser = 102;
inline constexpr uint16_t kLoginWrongPassword = 103;
inline constexpr uint16_t kLoginUnknownAccount = 104;

}  // namespace wire
