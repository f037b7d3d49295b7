#include "core/net/RecorderConnection.h"

#include "core/net/Frame.h"
#include "core/net/UploadName.h"

#include <algorithm>

namespace wire {

RecorderConnection::RecorderConnection(RecorderBackend& backend, LoginAuthority& authority,
                                       RecorderConnectionOptions options, uint64_t nowMs)
    : backend_(backend), authority_(authority), options_(std::move(options)), startMs_(nowMs), lastFrameMs_(nowMs)
{
}

void RecorderConnection::Start(bool overLimit)
{
    if (overLimit) {
        SendError(ErrorCode::TooManySessions, 0, "too many sessions");
        return;
    }
    const auto nonce = authority_.NewNonce();
    if (!nonce) {
        Close("no random bytes for the challenge");
        return;
    }
    serverNonce_ = *nonce;
    Send(MessageType::Challenge, ChallengeMessage{serverNonce_}.Encode());
}

void RecorderConnection::Send(MessageType type, const std::vector<uint8_t>& payload)
{
    AppendFrame(out_, type, sequencer_.Take(), payload, options_.version);
}

void RecorderConnection::SendError(ErrorCode code, uint16_t aboutType, const std::string& text)
{
    Send(MessageType::Error, ErrorMessage{code, aboutType, text}.Encode());
    if (ErrorClosesConnection(code))
        Close(text);
}

void RecorderConnection::Close(const std::string& reason)
{
    if (state_ == State::Closing)
        return;
    state_ = State::Closing;
    closeReason_ = reason;
    upload_.reset();
}

void RecorderConnection::ConsumeOutgoing(size_t length)
{
    out_.erase(out_.begin(), out_.begin() + static_cast<std::ptrdiff_t>(std::min(length, out_.size())));
}

void RecorderConnection::OnBytes(const uint8_t* data, size_t length, uint64_t nowMs)
{
    if (state_ == State::Closing)
        return;
    decoder_.Feed(data, length);
    FrameView frame;
    for (;;) {
        const FrameDecoder::Status status = decoder_.Next(frame);
        if (status == FrameDecoder::Status::NeedMore)
            return;
        if (status == FrameDecoder::Status::Error) {
            switch (decoder_.error()) {
            case DecodeError::BadMagic:
                Close(decoder_.ErrorText());
                break;
            case DecodeError::VersionMismatch:
                SendError(ErrorCode::VersionMismatch, decoder_.failedType(), decoder_.ErrorText());
                break;
            default:
                SendError(ErrorCode::BadRequest, decoder_.failedType(), decoder_.ErrorText());
                break;
            }
            return;
        }
        lastFrameMs_ = nowMs;
        ++framesReceived_;
        Handle(frame, nowMs);
        if (state_ == State::Closing)
            return;
    }
}

void RecorderConnection::OnTick(uint64_t nowMs)
{
    if (state_ == State::AwaitingLogin && nowMs - startMs_ >= options_.loginTimeoutMs)
        SendError(ErrorCode::LoginTimeout, 0, "no log-in in time");
    else if (state_ == State::LoggedIn && nowMs - lastFrameMs_ >= options_.pollTimeoutMs)
        Close("poll time-out");
}

void RecorderConnection::PushMasks(const MasksMessage& masks)
{
    if (state_ == State::LoggedIn)
        Send(MessageType::Masks, masks.Encode());
}

void RecorderConnection::Shutdown()
{
    if (state_ != State::Closing)
        SendError(ErrorCode::ShuttingDown, 0, "recorder stopping");
}

void RecorderConnection::AppendLiveMedia(uint8_t packetType, uint8_t count, uint8_t index, const uint8_t* payload,
                                         size_t length)
{
    const auto header = EncodeFrameHeader(MessageType::LiveMedia, sequencer_.Take(),
                                          static_cast<uint32_t>(kLiveMediaPrefix + length), options_.version);
    uint8_t prefix[kLiveMediaPrefix];
    WriteLiveMediaPrefix(prefix, packetType, count, index);
    out_.insert(out_.end(), header.begin(), header.end());
    out_.insert(out_.end(), prefix, prefix + kLiveMediaPrefix);
    out_.insert(out_.end(), payload, payload + length);
}

void RecorderConnection::BadPayload(const FrameView& frame)
{
    SendError(ErrorCode::BadRequest, static_cast<uint16_t>(frame.type),
              std::string("malformed ") + std::string(TypeName(static_cast<uint16_t>(frame.type))));
}

void RecorderConnection::Handle(const FrameView& frame, uint64_t nowMs)
{
    if (frame.type == MessageType::Bye) {
        Close("client said bye");
        return;
    }
    if (frame.type == MessageType::DiscoveryProbe) {  // datagram only
        BadPayload(frame);
        return;
    }
    if (state_ == State::AwaitingLogin) {
        if (frame.type == MessageType::LoginRequest)
            HandleLogin(frame);
        else
            SendError(ErrorCode::NotLoggedIn, static_cast<uint16_t>(frame.type), "log in first");
        return;
    }
    if (frame.type == MessageType::LoginRequest) {
        SendError(ErrorCode::BadRequest, static_cast<uint16_t>(frame.type), "already logged in");
        return;
    }
    if (options_.refused.count(frame.type)) {
        SendError(ErrorCode::Unsupported, static_cast<uint16_t>(frame.type), "not supported");
        return;
    }
    HandleRequest(frame, nowMs);
}

void RecorderConnection::HandleLogin(const FrameView& frame)
{
    const auto request = LoginRequestMessage::Decode(frame.payload, frame.length);
    if (!request) {
        BadPayload(frame);
        return;
    }
    const std::string account = request->AccountName();
    const auto password = backend_.PasswordOf(account);
    LoginReplyMessage reply;
    if (!password) {
        reply.code = kLoginUnknownAccount;
    } else {
        const Proof expected =
            authority_.ExpectedProof(*password, request->account, serverNonce_, request->clientNonce);
        const bool match = authority_.ProofsEqual(expected, request->proof);
        const auto token = match && !options_.rejectLogins ? authority_.NewToken() : std::nullopt;
        if (token) {
            administrator_ = account == "ADMIN";
            reply.code = administrator_ ? kLoginAdministrator : kLoginUser;
            reply.sessionToken = *token;
        } else {
            reply.code = kLoginWrongPassword;
        }
    }
    Send(MessageType::LoginReply, reply.Encode());
    if (reply.sessionToken == 0) {
        Close(reply.code == kLoginUnknownAccount ? "unknown account" : "wrong password");
        return;
    }
    token_ = reply.sessionToken;
    state_ = State::LoggedIn;
}

void RecorderConnection::HandleRequest(const FrameView& frame, uint64_t nowMs)
{
    switch (frame.type) {
    case MessageType::Poll:
        if (options_.stopPollsAfterMs < 0 || nowMs - startMs_ < static_cast<uint64_t>(options_.stopPollsAfterMs))
            Send(MessageType::PollReply, {});
        break;
    case MessageType::GetSettings:
        Send(MessageType::Settings, backend_.SettingsBlock());
        Send(MessageType::Masks, backend_.Masks().Encode());
        break;
    case MessageType::WriteSection:
        HandleWriteSection(frame);
        break;
    case MessageType::LiveControl:
        HandleLiveControl(frame);
        break;
    case MessageType::SerialData:
        backend_.SerialData(frame.payload, frame.length);
        break;
    case MessageType::LogOpen:
        HandleLogOpen(frame);
        break;
    case MessageType::LogBlockRequest:
        HandleLogBlock(frame);
        break;
    case MessageType::MonthProfileRequest: {
        const auto request = MonthProfileRequestMessage::Decode(frame.payload, frame.length);
        if (!request) {
            BadPayload(frame);
            break;
        }
        MonthProfileMessage reply{request->year, request->month, 0};
        reply.dayMask = backend_.MonthMask(request->year, request->month);
        Send(MessageType::MonthProfile, reply.Encode());
        break;
    }
    case MessageType::DailyProfileRequest:
        HandleDailyProfile(frame);
        break;
    case MessageType::UploadStart:
        HandleUploadStart(frame);
        break;
    case MessageType::UploadChunk:
        HandleUploadChunk(frame);
        break;
    default:
        BadPayload(frame);
        break;
    }
}

void RecorderConnection::HandleWriteSection(const FrameView& frame)
{
    const auto request = WriteSectionMessage::Decode(frame.payload, frame.length);
    if (!request) {
        BadPayload(frame);
        return;
    }
    WriteResultMessage reply;
    reply.section = request->section;
    reply.reason = backend_.WriteSection(request->section, request->data, request->length);
    reply.ok = reply.reason == WriteReason::Ok;
    Send(MessageType::WriteResult, reply.Encode());
}

void RecorderConnection::HandleLiveControl(const FrameView& frame)
{
    const auto request = LiveControlMessage::Decode(frame.payload, frame.length);
    if (!request) {
        BadPayload(frame);
        return;
    }
    live_ = backend_.ServeLive(*request);
    liveUdpPort_ = request->udpPort;
    ++liveGeneration_;
    Send(MessageType::LiveReply, live_.Encode());
}

void RecorderConnection::HandleLogOpen(const FrameView& frame)
{
    const auto request = DateMessage::Decode(frame.payload, frame.length);
    if (!request) {
        BadPayload(frame);
        return;
    }
    log_ = backend_.DayLog(request->year, request->month, request->day);
    LogInfoMessage reply{request->year, request->month, request->day, 0, false};
    if (log_) {
        reply.found = true;
        reply.size = static_cast<uint32_t>(log_->size());
    }
    Send(MessageType::LogInfo, reply.Encode());
}

void RecorderConnection::SendBlock(MessageType type, const std::vector<uint8_t>& whole, uint32_t index, uint8_t tag,
                                   size_t blockSize)
{
    const size_t blocks = whole.empty() ? 1 : (whole.size() + blockSize - 1) / blockSize;
    if (index >= blocks) {
        SendError(ErrorCode::NoTransfer, static_cast<uint16_t>(type), "block index past the end");
        return;
    }
    DataBlockMessage reply;
    reply.index = index;
    reply.tag = tag;
    reply.last = index + 1 == blocks;
    const size_t start = static_cast<size_t>(index) * blockSize;
    reply.data = whole.data() + std::min(start, whole.size());
    reply.length = static_cast<uint32_t>(std::min(blockSize, whole.size() - std::min(start, whole.size())));
    Send(type, reply.Encode());
}

void RecorderConnection::HandleLogBlock(const FrameView& frame)
{
    const auto request = LogBlockRequestMessage::Decode(frame.payload, frame.length);
    if (!request) {
        BadPayload(frame);
        return;
    }
    if (!log_) {
        SendError(ErrorCode::NoTransfer, static_cast<uint16_t>(frame.type), "no log open");
        return;
    }
    SendBlock(MessageType::LogBlock, *log_, request->index, request->tag, kLogBlockSize);
}

void RecorderConnection::HandleDailyProfile(const FrameView& frame)
{
    const auto request = DailyProfileRequestMessage::Decode(frame.payload, frame.length);
    if (!request) {
        BadPayload(frame);
        return;
    }
    const bool cached = profile_ && profile_->day.year == request->year && profile_->day.month == request->month
        && profile_->day.day == request->day;
    if (!cached)
        profile_ = ProfileCache{*request, backend_.DailyProfile(request->year, request->month, request->day)};
    SendBlock(MessageType::DailyProfileBlock, profile_->bytes, request->index, request->tag, kProfileBlockSize);
}

void RecorderConnection::HandleUploadStart(const FrameView& frame)
{
    const auto request = UploadStartMessage::Decode(frame.payload, frame.length);
    if (!request) {
        BadPayload(frame);
        return;
    }
    upload_.reset();
    UploadReplyMessage reply;
    const auto name = CleanUploadName(request->name);
    if (!name) {
        reply.reason = UploadReason::BadName;
    } else if (request->size > kMaxUploadSize) {
        reply.reason = UploadReason::TooLarge;
    } else if (auto sink = backend_.BeginUpload(*name, request->size)) {
        upload_ = Upload{std::move(sink), request->size, 0, 0};
        reply.ok = true;
    } else {
        reply.reason = UploadReason::StorageFailure;
    }
    Send(MessageType::UploadReply, reply.Encode());
}

void RecorderConnection::HandleUploadChunk(const FrameView& frame)
{
    const auto chunk = UploadChunkMessage::Decode(frame.payload, frame.length);
    if (!chunk) {
        BadPayload(frame);
        return;
    }
    UploadAckMessage ack;
    ack.sequence = chunk->sequence;
    if (!upload_) {
        ack.reason = UploadReason::NoUpload;
        Send(MessageType::UploadAck, ack.Encode());
        return;
    }
    Upload& up = *upload_;
    if (chunk->sequence != up.nextSequence)
        ack.reason = UploadReason::OutOfOrder;
    else if (chunk->last ? chunk->length >= kUploadChunkSize : chunk->length != kUploadChunkSize)
        ack.reason = UploadReason::BadChunkLength;
    else if (chunk->length > up.size - up.received)
        ack.reason = UploadReason::SizeMismatch;
    else if (chunk->last && up.received + chunk->length != up.size)
        ack.reason = UploadReason::SizeMismatch;
    else if (!up.sink->Write(chunk->data, chunk->length))
        ack.reason = UploadReason::StorageFailure;

    if (ack.reason != UploadReason::None) {
        upload_.reset();
        Send(MessageType::UploadAck, ack.Encode());
        return;
    }
    up.received += chunk->length;
    up.nextSequence = static_cast<uint8_t>(up.nextSequence + 1);
    if (!chunk->last) {
        ack.status = UploadStatus::SendNext;
    } else if (up.sink->Commit()) {
        ack.status = UploadStatus::Complete;
        upload_.reset();
    } else {
        ack.reason = UploadReason::StorageFailure;
        upload_.reset();
    }
    Send(MessageType::UploadAck, ack.Encode());
}

}  // namespace wire
