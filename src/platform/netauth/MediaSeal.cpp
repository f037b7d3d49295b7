#include "platform/netauth/MediaSeal.h"

#include "core/net/Frame.h"
#include "core/net/FrameDecoder.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cstring>
#include <new>

namespace netauth {
namespace {

constexpr std::uint8_t kNonceFixed[4] = {'L', 'I', 'V', 'E'};
constexpr std::size_t kNonceSize = 12;

// The counter bytes as the datagram carries them.
std::array<std::uint8_t, kNonceSize> NonceFrom(const std::uint8_t* counterBytes)
{
    std::array<std::uint8_t, kNonceSize> nonce{};
    std::memcpy(nonce.data(), kNonceFixed, sizeof kNonceFixed);
    std::memcpy(nonce.data() + sizeof kNonceFixed, counterBytes, 8);
    return nonce;
}

bool Update(EVP_CIPHER_CTX* context, std::uint8_t* out, const std::uint8_t* in, std::size_t length)
{
    int written = 0;
    return EVP_CipherUpdate(context, out, &written, in, static_cast<int>(length)) == 1;
}

}  // namespace

MediaCipher::MediaCipher(bool sealing) : m_context(EVP_CIPHER_CTX_new()), m_sealing(sealing)
{
    if (!m_context)
        throw std::bad_alloc();
}

MediaCipher::~MediaCipher()
{
    EVP_CIPHER_CTX_free(m_context);
    OPENSSL_cleanse(m_key.data(), m_key.size());
}

bool MediaCipher::SetKey(const MediaKey& key)
{
    if (m_hasKey)
        return key == m_key;
    // The key schedule stays in the context: each datagram only sets its nonce.
    m_hasKey = EVP_CipherInit_ex(m_context, EVP_aes_256_gcm(), nullptr, key.data(), nullptr, m_sealing ? 1 : 0) == 1;
    m_key = key;
    return m_hasKey;
}

MediaSealer::MediaSealer(std::uint64_t counterLimit) : m_limit(counterLimit) {}

std::size_t MediaSealer::Seal(const LiveDatagramHead& head, const std::uint8_t* payload, std::size_t length,
                              std::uint8_t* out)
{
    const std::size_t payloadLength = length + wire::kSealedDatagramOverhead - wire::kHeaderSize;
    if (!m_cipher.HasKey() || m_next >= m_limit || length == 0 || payloadLength > wire::kMaxPayload)
        return 0;
    const std::uint64_t counter = m_next++;
    const auto header = wire::EncodeFrameHeader(wire::MessageType::LiveDatagram, head.sequence,
                                                static_cast<std::uint32_t>(payloadLength), head.version);
    std::memcpy(out, header.data(), header.size());
    wire::WriteSealedDatagramPrefix(out + wire::kHeaderSize, head.token, counter);
    std::uint8_t prefix[wire::kLiveMediaPrefix];
    wire::WriteLiveMediaPrefix(prefix, head.packetType, head.count, head.index);

    std::uint8_t* sealed = out + wire::kSealedDatagramClear;
    const auto nonce = NonceFrom(out + wire::kHeaderSize + 4);
    int written = 0;
    if (EVP_CipherInit_ex(m_cipher.Context(), nullptr, nullptr, nullptr, nonce.data(), 1) != 1
        || !Update(m_cipher.Context(), nullptr, out, wire::kSealedDatagramClear)
        || !Update(m_cipher.Context(), sealed, prefix, sizeof prefix)
        || !Update(m_cipher.Context(), sealed + sizeof prefix, payload, length)
        || EVP_CipherFinal_ex(m_cipher.Context(), sealed + sizeof prefix + length, &written) != 1
        || EVP_CIPHER_CTX_ctrl(m_cipher.Context(), EVP_CTRL_GCM_GET_TAG, wire::kMediaTagSize,
                               sealed + sizeof prefix + length) != 1)
        return 0;
    return wire::kHeaderSize + payloadLength;
}

std::nullopt_t MediaOpener::Unauthentic()
{
    ++m_dropped.unauthentic;
    return std::nullopt;
}

std::optional<wire::LiveFragmentView> MediaOpener::Open(const std::uint8_t* datagram, std::size_t length,
                                                        std::uint32_t token, std::uint8_t* out)
{
    wire::FrameView frame;
    if (!m_cipher.HasKey() || token == 0
        || wire::DecodeDatagram(datagram, length, wire::Direction::ToClient, frame) != wire::DecodeError::None
        || frame.type != wire::MessageType::LiveDatagram)
        return Unauthentic();
    const auto sealed = wire::DecodeSealedDatagram(frame.payload, frame.length);
    if (!sealed || sealed->token != token)
        return Unauthentic();
    // The window is only looked at here: a forged counter must not move it.
    if (m_window.Check(sealed->counter) != wire::ReplayWindow::Verdict::Fresh) {
        ++m_dropped.replayed;
        return std::nullopt;
    }
    if (!Authentic(datagram, *sealed, out))
        return Unauthentic();
    m_window.Accept(sealed->counter);
    return wire::DecodeLiveMedia(out, sealed->sealedLength - wire::kMediaTagSize);
}

bool MediaOpener::Authentic(const std::uint8_t* datagram, const wire::SealedDatagramView& sealed, std::uint8_t* out)
{
    const std::size_t textLength = sealed.sealedLength - wire::kMediaTagSize;
    const auto nonce = NonceFrom(datagram + wire::kHeaderSize + 4);
    // OpenSSL takes the expected tag through a non-const pointer.
    std::uint8_t tag[wire::kMediaTagSize];
    std::memcpy(tag, sealed.sealed + textLength, sizeof tag);
    int written = 0;
    return EVP_CipherInit_ex(m_cipher.Context(), nullptr, nullptr, nullptr, nonce.data(), 0) == 1
        && Update(m_cipher.Context(), nullptr, datagram, wire::kSealedDatagramClear)
        && Update(m_cipher.Context(), out, sealed.sealed, textLength)
        && EVP_CIPHER_CTX_ctrl(m_cipher.Context(), EVP_CTRL_GCM_SET_TAG, sizeof tag, tag) == 1
        && EVP_CipherFinal_ex(m_cipher.Context(), out + textLength, &written) == 1;
}

}  // namespace netauth
