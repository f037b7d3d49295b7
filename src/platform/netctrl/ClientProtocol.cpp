#include "platform/netctrl/ClientProtocol.h"

#include <cstring>

#include "core/dvr/NotifyCodes.h"
#include "core/net/LiveMessages.h"
#include "core/net/LoginProof.h"
#include "core/net/SessionMessages.h"
#include "core/net/TransferMessages.h"
#include "core/dvr/SettingsBlock.h"
#include "platform/netauth/LoginCrypto.h"

using wire::MessageType;

ClientProtocol::ClientProtocol(Sink& sink, ClientInbox& inbox)
    : m_sink(sink), m_inbox(inbox), m_decoder(wire::Direction::ToClient), m_opened(wire::kMaxPayload)
{
}

bool ClientProtocol::OnControlBytes(const std::uint8_t* data, std::size_t length)
{
    m_decoder.Feed(data, length);
    for (;;) {
        wire::FrameView frame;
        switch (m_decoder.Next(frame)) {
        case wire::FrameDecoder::Status::NeedMore:
            return true;
        case wire::FrameDecoder::Status::Error:
            return Fail(m_decoder.error() == wire::DecodeError::VersionMismatch ? kNotifyVersionMismatch
                                                                                 : kNotifyLinkClosed);
        case wire::FrameDecoder::Status::Frame:
            if (!OnFrame(frame))
                return false;
            break;
        }
    }
}

void ClientProtocol::OnDatagram(const std::uint8_t* data, std::size_t length)
{
    auto fragment = m_datagrams.Open(data, length, m_token, m_opened.data());
    if (!fragment) {
        m_inbox.StoreDroppedDatagrams(m_datagrams.Dropped());
        return;
    }
    // The opened bytes are a LiveMedia payload: the packet follows its type byte.
    m_sink.Live(fragment->packetType, m_opened.data() + 1, fragment->packetLength);
}

bool ClientProtocol::SetMediaKey(const std::array<std::uint8_t, 32>& key)
{
    return m_datagrams.SetKey(key);
}

bool ClientProtocol::Submit(const ClientRequest& request)
{
    if (request.type != MessageType::LoginRequest) {
        // The recorder closes on any request before the log-in succeeded.
        if (LoggedIn())
            Transmit(request);
        else
            m_held.push_back(request);
        return true;
    }
    std::array<std::uint8_t, wire::kAccountFieldSize> field{};
    if (m_loginPending || LoggedIn() || !wire::LoginRequestMessage::PackAccount(request.account, field))
        return Fail(kNotifyUnknownAccount);
    m_account = request.account;
    m_password = request.password;
    m_loginPending = true;
    return !m_haveChallenge || SendLogin();
}

void ClientProtocol::Transmit(const ClientRequest& request)
{
    Answer owed = Answer::Reply;
    if (request.type == MessageType::SerialData || request.type == MessageType::Bye)
        owed = Answer::None;
    else if (request.type == MessageType::Poll)
        owed = Answer::PollReply;
    std::vector<std::uint8_t> frame;
    wire::AppendFrame(frame, request.type, m_sequencer.Take(), request.payload);
    m_sink.Transmit(std::move(frame), owed);
}

std::vector<std::uint8_t> ClientProtocol::ByeFrame()
{
    std::vector<std::uint8_t> frame;
    wire::AppendFrame(frame, MessageType::Bye, m_sequencer.Take(), nullptr, 0);
    return frame;
}

bool ClientProtocol::SendLogin()
{
    wire::LoginRequestMessage message;
    wire::LoginRequestMessage::PackAccount(m_account, message.account);
    auto nonce = netauth::RandomNonce();
    if (!nonce)
        return Fail(kNotifyLinkClosed);
    message.clientNonce = *nonce;
    message.proof = netauth::ComputeLoginProof(m_password, message.account, m_serverNonce, message.clientNonce);
    std::fill(m_password.begin(), m_password.end(), '\0');
    m_password.clear();
    std::vector<std::uint8_t> frame;
    wire::AppendFrame(frame, MessageType::LoginRequest, m_sequencer.Take(), message.Encode());
    m_sink.Transmit(std::move(frame), Answer::Reply);
    return true;
}

bool ClientProtocol::Fail(int code)
{
    m_sink.Notify(code);
    return false;
}

bool ClientProtocol::OnFrame(const wire::FrameView& frame)
{
    // Before log-in the recorder may only challenge, answer the log-in or refuse.
    if (!LoggedIn() && frame.type != MessageType::Challenge && frame.type != MessageType::LoginReply
        && frame.type != MessageType::Error)
        return Fail(kNotifyLinkClosed);
    switch (frame.type) {
    case MessageType::Challenge:
        return OnChallenge(frame);
    case MessageType::LoginReply:
        return OnLoginReply(frame);
    case MessageType::Error:
        return OnError(frame);
    case MessageType::PollReply:
        m_sink.AnswerReceived(Answer::PollReply);
        return true;
    case MessageType::Settings:
        if (!ValidateSettingsBlock(frame.payload, frame.length, nullptr))
            return Fail(kNotifyLinkClosed);
        m_sink.AnswerReceived(Answer::Reply);
        m_inbox.StoreSettings(frame.payload);
        m_sink.Notify(kNotifySettingsReceived);
        return true;
    case MessageType::Masks: {
        auto masks = wire::MasksMessage::Decode(frame.payload, frame.length);
        if (!masks)
            return Fail(kNotifyLinkClosed);
        m_inbox.StoreMasks(masks->video, masks->audio, masks->sensor);
        m_sink.Notify(kNotifyMasksChanged);
        return true;
    }
    case MessageType::WriteResult: {
        auto result = wire::WriteResultMessage::Decode(frame.payload, frame.length);
        if (!result)
            return Fail(kNotifyLinkClosed);
        m_sink.AnswerReceived(Answer::Reply);
        m_sink.Notify(result->ok ? kNotifySettingsWritten : kNotifySettingsWriteFailed);
        return true;
    }
    case MessageType::LiveReply: {
        auto reply = wire::LiveReplyMessage::Decode(frame.payload, frame.length);
        if (!reply)
            return Fail(kNotifyLinkClosed);
        m_sink.AnswerReceived(Answer::Reply);
        if (reply->videoMask != 0)
            m_sink.Notify(kNotifyLiveStarted);
        return true;
    }
    case MessageType::LiveMedia: {
        auto fragment = wire::DecodeLiveMedia(frame.payload, frame.length);
        if (!fragment)
            return Fail(kNotifyLinkClosed);
        m_livePacket.assign(fragment->packet, fragment->packet + fragment->packetLength);
        m_sink.Live(fragment->packetType, m_livePacket.data(), m_livePacket.size());
        return true;
    }
    case MessageType::LogInfo: {
        auto info = wire::LogInfoMessage::Decode(frame.payload, frame.length);
        if (!info)
            return Fail(kNotifyLinkClosed);
        m_sink.AnswerReceived(Answer::Reply);
        m_inbox.StoreLogSize(info->found ? info->size : 0);
        m_sink.Notify(info->found ? kNotifyLogFound : kNotifyLogNotFound);
        return true;
    }
    case MessageType::LogBlock:
    case MessageType::DailyProfileBlock: {
        bool daily = frame.type == MessageType::DailyProfileBlock;
        auto block = wire::DataBlockMessage::Decode(frame.payload, frame.length,
                                                    daily ? wire::kProfileBlockSize : wire::kLogBlockSize);
        if (!block)
            return Fail(kNotifyLinkClosed);
        m_sink.AnswerReceived(Answer::Reply);
        if (daily) {
            m_inbox.PushDailyBlock(block->data, block->length);
            m_sink.Notify(block->last ? kNotifyDailyProfileLastBlock : kNotifyDailyProfileBlock);
        } else {
            m_inbox.PushLogBlock(block->data, block->length);
            m_sink.Notify(block->last ? kNotifyLogLastBlock : kNotifyLogBlock);
        }
        return true;
    }
    case MessageType::MonthProfile: {
        auto month = wire::MonthProfileMessage::Decode(frame.payload, frame.length);
        if (!month)
            return Fail(kNotifyLinkClosed);
        m_sink.AnswerReceived(Answer::Reply);
        m_inbox.StoreMonthProfile(month->year, month->month, month->dayMask);
        m_sink.Notify(kNotifyMonthProfileReady);
        return true;
    }
    case MessageType::UploadReply: {
        auto reply = wire::UploadReplyMessage::Decode(frame.payload, frame.length);
        if (!reply)
            return Fail(kNotifyLinkClosed);
        m_sink.AnswerReceived(Answer::Reply);
        m_sink.Notify(reply->ok ? kNotifyUploadReady : kNotifyUploadFailed);
        return true;
    }
    case MessageType::UploadAck: {
        auto ack = wire::UploadAckMessage::Decode(frame.payload, frame.length);
        if (!ack)
            return Fail(kNotifyLinkClosed);
        m_sink.AnswerReceived(Answer::Reply);
        // A completed upload also reports 134: the caller has nothing left to
        // send and resumes polling.
        m_sink.Notify(ack->status == wire::UploadStatus::Failed ? kNotifyUploadFailed : kNotifyUploadChunkAccepted);
        return true;
    }
    default:
        // Discovery frames never belong on a session.
        return Fail(kNotifyLinkClosed);
    }
}

bool ClientProtocol::OnChallenge(const wire::FrameView& frame)
{
    auto challenge = wire::ChallengeMessage::Decode(frame.payload, frame.length);
    if (!challenge || m_haveChallenge)
        return Fail(kNotifyLinkClosed);
    m_sink.AnswerReceived(Answer::Reply);
    m_serverNonce = challenge->serverNonce;
    m_haveChallenge = true;
    return !m_loginPending || SendLogin();
}

bool ClientProtocol::OnLoginReply(const wire::FrameView& frame)
{
    auto reply = wire::LoginReplyMessage::Decode(frame.payload, frame.length);
    if (!reply || !m_loginPending || LoggedIn())
        return Fail(kNotifyLinkClosed);
    m_sink.AnswerReceived(Answer::Reply);
    m_loginPending = false;
    switch (reply->code) {
    case wire::kLoginAdministrator:
    case wire::kLoginUser:
        if (reply->sessionToken == 0)
            return Fail(kNotifyLinkClosed);
        m_token = reply->sessionToken;
        m_sink.Notify(reply->code);
        for (const ClientRequest& held : m_held)
            Transmit(held);
        m_held.clear();
        return true;
    case wire::kLoginWrongPassword:
    case wire::kLoginUnknownAccount:
        return Fail(reply->code);
    default:
        return Fail(kNotifyLinkClosed);
    }
}

bool ClientProtocol::OnError(const wire::FrameView& frame)
{
    auto error = wire::ErrorMessage::Decode(frame.payload, frame.length);
    if (!error)
        return Fail(kNotifyLinkClosed);
    m_sink.AnswerReceived(error->aboutType == static_cast<std::uint16_t>(MessageType::Poll) ? Answer::PollReply
                                                                                           : Answer::Reply);
    switch (error->code) {
    case wire::ErrorCode::VersionMismatch:
        return Fail(kNotifyVersionMismatch);
    case wire::ErrorCode::TooManySessions:
        return Fail(kNotifyTooManySessions);
    case wire::ErrorCode::Unsupported:
        m_sink.Notify(kNotifyOperationRefused);
        return true;
    case wire::ErrorCode::NoTransfer:
        // End the transfer the caller is driving, so it resumes polling.
        switch (static_cast<MessageType>(error->aboutType)) {
        case MessageType::LogOpen:
        case MessageType::LogBlockRequest:
            m_sink.Notify(kNotifyLogNotFound);
            break;
        case MessageType::DailyProfileRequest:
            m_inbox.PushDailyBlock(nullptr, 0);
            m_sink.Notify(kNotifyDailyProfileLastBlock);
            break;
        case MessageType::UploadChunk:
            m_sink.Notify(kNotifyUploadFailed);
            break;
        default:
            m_sink.Notify(kNotifyOperationRefused);
            break;
        }
        return true;
    default:
        // The recorder closes after every other error.
        return Fail(kNotifyLinkClosed);
    }
}
