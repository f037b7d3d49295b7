#include "core/net/SessionMessages.h"

#include "core/net/ByteCursor.h"

#include <algorithm>

namespace wire {

std::vector<uint8_t> ChallengeMessage::Encode() const
{
    return ByteWriter(kNonceSize).Bytes(serverNonce.data(), kNonceSize).Take();
}

std::optional<ChallengeMessage> ChallengeMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    ChallengeMessage m;
    r.Copy(m.serverNonce.data(), kNonceSize);
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

bool LoginRequestMessage::PackAccount(const std::string& name, std::array<uint8_t, kAccountFieldSize>& field)
{
    field.fill(0);
    if (name.size() >= kAccountFieldSize)
        return false;
    std::copy(name.begin(), name.end(), field.begin());
    return true;
}

std::string LoginRequestMessage::AccountName() const
{
    const auto end = std::find(account.begin(), account.end(), 0);
    return std::string(account.begin(), end);
}

std::vector<uint8_t> LoginRequestMessage::Encode() const
{
    return ByteWriter(80)
        .Bytes(account.data(), account.size())
        .Bytes(clientNonce.data(), clientNonce.size())
        .Bytes(proof.data(), proof.size())
        .Take();
}

std::optional<LoginRequestMessage> LoginRequestMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    LoginRequestMessage m;
    r.Copy(m.account.data(), m.account.size());
    r.Copy(m.clientNonce.data(), m.clientNonce.size());
    r.Copy(m.proof.data(), m.proof.size());
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> LoginReplyMessage::Encode() const
{
    return ByteWriter(8).U16(code).Pad(2).U32(sessionToken).Take();
}

std::optional<LoginReplyMessage> LoginReplyMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    LoginReplyMessage m;
    m.code = r.U16();
    r.Skip(2);
    m.sessionToken = r.U32();
    if (!r.AtEnd() || m.code < kLoginAdministrator || m.code > kLoginUnknownAccount)
        return std::nullopt;
    const bool success = m.code == kLoginAdministrator || m.code == kLoginUser;
    if (success != (m.sessionToken != 0))
        return std::nullopt;
    return m;
}

std::vector<uint8_t> WriteSectionMessage::Encode() const
{
    return ByteWriter(2 + length).U8(section).Pad(1).Bytes(data, length).Take();
}

std::optional<WriteSectionMessage> WriteSectionMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    WriteSectionMessage m;
    m.section = r.U8();
    r.Skip(1);
    if (!r.ok())
        return std::nullopt;
    m.length = static_cast<uint32_t>(r.Remaining());
    m.data = r.Take(m.length);
    return m;
}

std::vector<uint8_t> WriteResultMessage::Encode() const
{
    return ByteWriter(4).U8(section).U8(ok ? 1 : 0).U8(static_cast<uint8_t>(reason)).Pad(1).Take();
}

std::optional<WriteResultMessage> WriteResultMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    WriteResultMessage m;
    m.section = r.U8();
    const uint8_t ok = r.U8();
    const uint8_t reason = r.U8();
    r.Skip(1);
    if (!r.AtEnd() || ok > 1 || reason > static_cast<uint8_t>(WriteReason::StorageFailure))
        return std::nullopt;
    m.ok = ok == 1;
    m.reason = static_cast<WriteReason>(reason);
    return m;
}

std::vector<uint8_t> MasksMessage::Encode() const
{
    return ByteWriter(6).U16(video).U16(audio).U16(sensor).Take();
}

std::optional<MasksMessage> MasksMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    MasksMessage m;
    m.video = r.U16();
    m.audio = r.U16();
    m.sensor = r.U16();
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> ErrorMessage::Encode() const
{
    const size_t n = std::min(text.size(), kMaxErrorText);
    return ByteWriter(4 + n)
        .U16(static_cast<uint16_t>(code))
        .U16(aboutType)
        .Bytes(reinterpret_cast<const uint8_t*>(text.data()), n)
        .Take();
}

std::optional<ErrorMessage> ErrorMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    ErrorMessage m;
    const uint16_t code = r.U16();
    m.aboutType = r.U16();
    if (!r.ok() || r.Remaining() > kMaxErrorText || code < static_cast<uint16_t>(ErrorCode::VersionMismatch)
        || code > static_cast<uint16_t>(ErrorCode::ShuttingDown))
        return std::nullopt;
    m.code = static_cast<ErrorCode>(code);
    const size_t n = r.Remaining();
    const uint8_t* text = r.Take(n);
    // Keep the text printable: it ends up in logs.
    for (size_t i = 0; i < n; ++i)
        m.text.push_back(text[i] >= 0x20 && text[i] < 0x7F ? static_cast<char>(text[i]) : '?');
    return m;
}

}  // namespace wire
