#pragma once
// A recorder backend for fuzzing the recorder's connection: settings in memory,
// every request answered, uploads counted and capped. The proof check accepts
// proofs starting with 0x42 so the fuzzer reaches the logged-in requests.

#include "core/dvr/RecordingProfile.h"
#include "core/dvr/SettingsBlock.h"
#include "core/net/RecorderConnection.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace fuzzing {

class FuzzAuthority : public wire::LoginAuthority {
public:
    std::optional<wire::Nonce> NewNonce() override { return wire::Nonce{}; }
    std::optional<uint32_t> NewToken() override { return 1; }
    wire::Proof ExpectedProof(const std::string&, const std::array<uint8_t, wire::kAccountFieldSize>&,
                              const wire::Nonce&, const wire::Nonce&) override
    {
        wire::Proof p{};
        p[0] = 0x42;
        return p;
    }
    bool ProofsEqual(const wire::Proof& a, const wire::Proof& b) override { return a[0] == b[0]; }
};

class CountingSink : public wire::UploadSink {
public:
    bool Write(const uint8_t*, size_t length) override { return (bytes_ += length) < (1u << 20); }
    bool Commit() override { return true; }

private:
    size_t bytes_ = 0;
};

class FuzzBackend : public wire::RecorderBackend {
public:
    std::optional<std::string> PasswordOf(const std::string& account) override
    {
        return AccountPassword(block_, account);
    }
    std::vector<uint8_t> SettingsBlock() override { return SettingsBlockBytes(block_); }
    wire::WriteReason WriteSection(uint8_t section, const uint8_t* data, size_t length) override
    {
        return ApplySection(block_, section, data, length) ? wire::WriteReason::Ok : wire::WriteReason::BadLength;
    }
    wire::MasksMessage Masks() override { return {0x000F, 0x0003, 0}; }
    wire::LiveReplyMessage ServeLive(const wire::LiveControlMessage& r) override
    {
        return {static_cast<uint16_t>(r.videoMask & 0xF), static_cast<uint16_t>(r.audioMask & 0x3)};
    }
    void SerialData(const uint8_t*, size_t) override {}
    std::optional<std::vector<uint8_t>> DayLog(uint16_t, uint8_t, uint8_t day) override
    {
        if (day % 2)
            return std::nullopt;
        return std::vector<uint8_t>(static_cast<size_t>(day) * 700, day);
    }
    uint32_t MonthMask(uint16_t, uint8_t month) override { return month * 0x01010101u; }
    std::vector<uint8_t> DailyProfile(uint16_t, uint8_t, uint8_t day) override
    {
        return std::vector<uint8_t>(static_cast<size_t>(day) * 24, 4);
    }
    std::unique_ptr<wire::UploadSink> BeginUpload(const std::string&, uint32_t) override
    {
        return std::make_unique<CountingSink>();
    }

private:
    ZERD_INFO_BLK block_ = MakeDefaultSettingsBlock(3);
};

}  // namespace fuzzing
