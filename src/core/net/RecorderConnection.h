#pragma once
// The recorder's side of one control connection: fed the client's bytes as
// they arrive, it answers into an outgoing buffer and says when the
// connection is to be closed. Time comes in as milliseconds from any fixed
// origin; no I/O happens here.

#include "core/net/FrameDecoder.h"
#include "core/net/RecorderBackend.h"
#include "core/net/TransferMessages.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace wire {

struct RecorderConnectionOptions {
    uint64_t loginTimeoutMs = 10000;
    uint64_t pollTimeoutMs = 10000;
    bool rejectLogins = false;          // every log-in gets 103
    int64_t stopPollsAfterMs = -1;      // >= 0: no PollReply once the connection is this old
    std::set<MessageType> refused;      // answered with Error(Unsupported)
    uint16_t version = kProtocolVersion;  // the version the recorder speaks
};

class RecorderConnection {
public:
    enum class State { AwaitingLogin, LoggedIn, Closing };

    RecorderConnection(RecorderBackend& backend, LoginAuthority& authority, RecorderConnectionOptions options,
                       uint64_t nowMs);

    // The first frame: a Challenge, or Error(TooManySessions) when overLimit.
    void Start(bool overLimit);
    // Handles every whole frame among the bytes.
    void OnBytes(const uint8_t* data, size_t length, uint64_t nowMs);
    // Log-in and poll time-outs.
    void OnTick(uint64_t nowMs);
    // Pushes masks to a logged-in client (a sensor changed).
    void PushMasks(const MasksMessage& masks);
    // Ends the connection with Error(ShuttingDown).
    void Shutdown();

    // One live fragment as a LiveMedia frame on this connection.
    void AppendLiveMedia(uint8_t packetType, uint8_t count, uint8_t index, const uint8_t* payload, size_t length);

    std::vector<uint8_t>& Outgoing() { return out_; }
    const std::vector<uint8_t>& Outgoing() const { return out_; }
    // Removes bytes that have been sent.
    void ConsumeOutgoing(size_t length);
    // True once nothing more is to be read; close after sending Outgoing().
    bool ShouldClose() const { return state_ == State::Closing; }
    // Why the connection is closing, for logs.
    const std::string& CloseReason() const { return closeReason_; }

    bool IsAdministrator() const { return administrator_; }
    uint32_t SessionToken() const { return token_; }
    // The live media this session asked for, as served (zero masks: none).
    const LiveReplyMessage& Live() const { return live_; }
    uint16_t LiveUdpPort() const { return liveUdpPort_; }
    // Counts LiveControl requests, so a sender notices a new one.
    uint64_t LiveGeneration() const { return liveGeneration_; }
    // Whole frames received from the client so far.
    uint64_t FramesReceived() const { return framesReceived_; }

private:
    void Send(MessageType type, const std::vector<uint8_t>& payload);
    void SendError(ErrorCode code, uint16_t aboutType, const std::string& text);
    void Close(const std::string& reason);
    void Handle(const FrameView& frame, uint64_t nowMs);
    void HandleLogin(const FrameView& frame);
    void HandleRequest(const FrameView& frame, uint64_t nowMs);
    void HandleWriteSection(const FrameView& frame);
    void HandleLiveControl(const FrameView& frame);
    void HandleLogOpen(const FrameView& frame);
    void HandleLogBlock(const FrameView& frame);
    void HandleDailyProfile(const FrameView& frame);
    void HandleUploadStart(const FrameView& frame);
    void HandleUploadChunk(const FrameView& frame);
    void SendBlock(MessageType type, const std::vector<uint8_t>& whole, uint32_t index, uint8_t tag,
                   size_t blockSize);
    void BadPayload(const FrameView& frame);

    RecorderBackend& backend_;
    LoginAuthority& authority_;
    RecorderConnectionOptions options_;
    FrameDecoder decoder_{Direction::ToRecorder};
    FrameSequencer sequencer_;
    std::vector<uint8_t> out_;
    State state_ = State::AwaitingLogin;
    std::string closeReason_;
    uint64_t startMs_;
    uint64_t lastFrameMs_;
    uint64_t framesReceived_ = 0;

    Nonce serverNonce_{};
    bool administrator_ = false;
    uint32_t token_ = 0;

    LiveReplyMessage live_;
    uint16_t liveUdpPort_ = 0;
    uint64_t liveGeneration_ = 0;

    std::optional<std::vector<uint8_t>> log_;  // the open log download
    struct ProfileCache {
        DailyProfileRequestMessage day;
        std::vector<uint8_t> bytes;
    };
    std::optional<ProfileCache> profile_;

    struct Upload {
        std::unique_ptr<UploadSink> sink;
        uint32_t size = 0;
        uint32_t received = 0;
        uint8_t nextSequence = 0;
    };
    std::optional<Upload> upload_;
};

}  // namespace wire
