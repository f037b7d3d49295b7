#pragma once
// What a recorder provides to its connections: accounts, settings, masks,
// live media choice, serial line, history and upload storage. The recorder
// connection state machine (RecorderConnection) calls it on the thread that
// runs the connection.

#include "core/net/LiveMessages.h"
#include "core/net/SessionMessages.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wire {

// Receives one upload. Destroyed without Commit, it leaves nothing behind.
class UploadSink {
public:
    virtual ~UploadSink() = default;
    virtual bool Write(const uint8_t* data, size_t length) = 0;
    // Makes the whole file visible under its name; false on a storage failure.
    virtual bool Commit() = 0;
};

class RecorderBackend {
public:
    virtual ~RecorderBackend() = default;

    // Nullopt for an account the recorder does not have.
    virtual std::optional<std::string> PasswordOf(const std::string& account) = 0;
    // The settings block as stored (kSettingsBlockSize bytes).
    virtual std::vector<uint8_t> SettingsBlock() = 0;
    virtual WriteReason WriteSection(uint8_t section, const uint8_t* data, size_t length) = 0;
    virtual MasksMessage Masks() = 0;
    // The part of a live request the recorder can serve.
    virtual LiveReplyMessage ServeLive(const LiveControlMessage& request) = 0;
    virtual void SerialData(const uint8_t* data, size_t length) = 0;
    // The day's log bytes; nullopt when there is no log for that day.
    virtual std::optional<std::vector<uint8_t>> DayLog(uint16_t year, uint8_t month, uint8_t day) = 0;
    virtual uint32_t MonthMask(uint16_t year, uint8_t month) = 0;
    // The day's profile bytes; empty on a day without recordings.
    virtual std::vector<uint8_t> DailyProfile(uint16_t year, uint8_t month, uint8_t day) = 0;
    // Null on a storage failure. name has been checked (UploadName.h).
    virtual std::unique_ptr<UploadSink> BeginUpload(const std::string& name, uint32_t size) = 0;
};

// Random bytes and the log-in proof (platform/netauth provides the real one).
class LoginAuthority {
public:
    virtual ~LoginAuthority() = default;
    virtual std::optional<Nonce> NewNonce() = 0;
    virtual std::optional<uint32_t> NewToken() = 0;
    virtual Proof ExpectedProof(const std::string& password, const std::array<uint8_t, kAccountFieldSize>& account,
                                const Nonce& serverNonce, const Nonce& clientNonce) = 0;
    virtual bool ProofsEqual(const Proof& a, const Proof& b) = 0;
};

}  // namespace wire
