#include "platform/nettls/SecureLink.h"

#include "core/net/Frame.h"
#include "core/net/FrameDecoder.h"
#include "core/net/SessionMessages.h"

#include <algorithm>
#include <cstring>

namespace nettls {
namespace {

// A frame header's magic and version: enough to tell an old peer's frame
// from a TLS hello (whose first byte is 0x16).
constexpr std::size_t kMagicAndVersion = 6;

}  // namespace

std::unique_ptr<SecureLink> SecureLink::ForRecorder(const TlsIdentity& identity, std::string* error)
{
    std::unique_ptr<SecureLink> link(new SecureLink(true));
    link->m_pipe = TlsPipe::Server(identity, error);
    if (!link->m_pipe)
        return nullptr;
    const auto header = wire::EncodeFrameHeader(wire::MessageType::StartTls, 0, 0);
    link->m_wire.assign(header.begin(), header.end());
    return link;
}

std::unique_ptr<SecureLink> SecureLink::ForClient(std::string* error)
{
    std::unique_ptr<SecureLink> link(new SecureLink(false));
    // Its hello waits inside the pipe until the recorder has said StartTls.
    link->m_pipe = TlsPipe::Client(error);
    return link->m_pipe ? std::move(link) : nullptr;
}

bool SecureLink::Refuse(Failure failure, const std::string& text)
{
    m_failure = failure;
    m_failureText = text;
    return false;
}

void SecureLink::TakeCiphertext()
{
    if (m_preambleDone || m_recorder)
        m_pipe->TakeCiphertext(m_wire);
}

bool SecureLink::OnClientPreamble(const std::uint8_t*& data, std::size_t& length)
{
    const std::size_t take = std::min(length, wire::kHeaderSize - m_clear.size());
    m_clear.insert(m_clear.end(), data, data + take);
    data += take;
    length -= take;
    wire::FrameDecoder decoder(wire::Direction::ToClient);
    decoder.Feed(m_clear.data(), m_clear.size());
    wire::FrameView frame;
    const wire::FrameDecoder::Status status = decoder.Next(frame);
    if (status == wire::FrameDecoder::Status::Error)
        return Refuse(decoder.error() == wire::DecodeError::VersionMismatch ? Failure::VersionMismatch
                                                                            : Failure::NotOurProtocol,
                      "recorder's first frame: " + decoder.ErrorText());
    if (m_clear.size() < wire::kHeaderSize)
        return true;
    // A whole header: StartTls has no payload, so anything still waiting for
    // one is another frame.
    if (status != wire::FrameDecoder::Status::Frame || frame.type != wire::MessageType::StartTls) {
        const auto type = static_cast<std::uint16_t>(m_clear[6] | (m_clear[7] << 8));
        return Refuse(Failure::NotOurProtocol,
                      "recorder's first frame is " + std::string(wire::TypeName(type)) + ", not StartTls");
    }
    m_preambleDone = true;
    return true;
}

bool SecureLink::OnRecorderPreamble(const std::uint8_t*& data, std::size_t& length)
{
    const std::size_t take = std::min(length, kMagicAndVersion - m_clear.size());
    m_clear.insert(m_clear.end(), data, data + take);
    const std::size_t magic = std::min(m_clear.size(), sizeof wire::kMagic);
    if (std::memcmp(m_clear.data(), wire::kMagic, magic) != 0) {
        // Not a frame: all of it is for TLS, which judges it.
        m_preambleDone = true;
        std::vector<std::uint8_t> seen;
        seen.swap(m_clear);
        seen.insert(seen.end(), data + take, data + length);
        length = 0;
        return m_pipe->PutCiphertext(seen.data(), seen.size()) || Refuse(Failure::Tls, m_pipe->Error());
    }
    data += take;
    length -= take;
    if (m_clear.size() < kMagicAndVersion)
        return true;
    // A frame in clear: an old client, or one that skipped TLS. It gets its
    // answer in clear, since it cannot read anything else.
    const auto version = static_cast<std::uint16_t>(m_clear[4] | (m_clear[5] << 8));
    const bool otherVersion = version != wire::kProtocolVersion;
    const wire::ErrorMessage answer{otherVersion ? wire::ErrorCode::VersionMismatch : wire::ErrorCode::BadRequest, 0,
                                    otherVersion ? "protocol version " + std::to_string(version)
                                                       + " not spoken; this recorder speaks version "
                                                       + std::to_string(wire::kProtocolVersion)
                                                 : "a TLS handshake was expected after StartTls"};
    wire::AppendFrame(m_wire, wire::MessageType::Error, 1, answer.Encode());  // after StartTls, number 0
    return Refuse(otherVersion ? Failure::VersionMismatch : Failure::NotOurProtocol, answer.text);
}

bool SecureLink::OnWireBytes(const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& plain)
{
    if (m_failure != Failure::None)
        return false;
    if (!m_preambleDone) {
        const bool ok = m_recorder ? OnRecorderPreamble(data, length) : OnClientPreamble(data, length);
        TakeCiphertext();
        if (!ok)
            return false;
    }
    if (length > 0 && !m_pipe->PutCiphertext(data, length)) {
        TakeCiphertext();  // the alert tells the peer why
        return Refuse(Failure::Tls, m_pipe->Error());
    }
    const bool read = !m_preambleDone || m_pipe->ReadPlaintext(plain);
    TakeCiphertext();
    return read || Refuse(Failure::Tls, m_pipe->Error());
}

bool SecureLink::Send(const std::uint8_t* data, std::size_t length)
{
    if (m_failure != Failure::None)
        return false;
    const bool ok = m_pipe->WritePlaintext(data, length);
    TakeCiphertext();
    return ok || Refuse(Failure::Tls, m_pipe->Error());
}

void SecureLink::ConsumeWire(std::size_t length)
{
    m_wire.erase(m_wire.begin(), m_wire.begin() + static_cast<std::ptrdiff_t>(std::min(length, m_wire.size())));
}

}  // namespace nettls
