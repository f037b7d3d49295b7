#pragma once
// Payloads of the session frames: log-in, settings section writes, masks and
// errors. Encode gives the payload bytes; Decode refuses any other length or
// an out-of-place value with nullopt.

#include "core/net/WireFormat.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wire {

using Nonce = std::array<uint8_t, kNonceSize>;
using Proof = std::array<uint8_t, kProofSize>;

struct ChallengeMessage {
    Nonce serverNonce{};
    std::vector<uint8_t> Encode() const;
    static std::optional<ChallengeMessage> Decode(const uint8_t* data, size_t length);
};

struct LoginRequestMessage {
    // NUL-padded name; names of 16 bytes or more cannot be sent.
    std::array<uint8_t, kAccountFieldSize> account{};
    Nonce clientNonce{};
    Proof proof{};

    // False when the name does not fit the field (16 bytes or more).
    static bool PackAccount(const std::string& name, std::array<uint8_t, kAccountFieldSize>& field);
    // The name up to the first NUL.
    std::string AccountName() const;

    std::vector<uint8_t> Encode() const;
    static std::optional<LoginRequestMessage> Decode(const uint8_t* data, size_t length);
};

struct LoginReplyMessage {
    uint16_t code = kLoginWrongPassword;  // 101..104
    uint32_t sessionToken = 0;            // non-zero after 101/102
    std::vector<uint8_t> Encode() const;
    static std::optional<LoginReplyMessage> Decode(const uint8_t* data, size_t length);
};

// Section bytes travel as a view into the frame payload.
struct WriteSectionMessage {
    uint8_t section = 0;
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    std::vector<uint8_t> Encode() const;
    // Accepts any section number; the recorder judges number and length.
    static std::optional<WriteSectionMessage> Decode(const uint8_t* data, size_t length);
};

struct WriteResultMessage {
    uint8_t section = 0;
    bool ok = false;
    WriteReason reason = WriteReason::Ok;
    std::vector<uint8_t> Encode() const;
    static std::optional<WriteResultMessage> Decode(const uint8_t* data, size_t length);
};

struct MasksMessage {
    uint16_t video = 0;
    uint16_t audio = 0;
    uint16_t sensor = 0;
    std::vector<uint8_t> Encode() const;
    static std::optional<MasksMessage> Decode(const uint8_t* data, size_t length);
    bool operator==(const MasksMessage&) const = default;
};

struct ErrorMessage {
    ErrorCode code = ErrorCode::BadRequest;
    uint16_t aboutType = 0;
    std::string text;  // ASCII, cut to kMaxErrorText on encode
    std::vector<uint8_t> Encode() const;
    static std::optional<ErrorMessage> Decode(const uint8_t* data, size_t length);
};

}  // namespace wire
