#pragma once
// Live media datagrams sealed with the session's media key (AES-256-GCM).
// The recorder seals each LiveDatagram under a 64-bit counter that never
// repeats under one key; the client opens them and refuses what is forged,
// not for this session, or a counter it has already taken (or one too old to
// tell). The frame header, token and counter travel in clear but the tag
// covers them.
//
// Nonce: the 4 bytes "LIVE", then the counter as on the wire (u64, little-endian).

#include "core/net/LiveMessages.h"
#include "core/net/ReplayWindow.h"
#include "platform/netauth/DroppedDatagrams.h"

#include <openssl/types.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace netauth {

using MediaKey = std::array<std::uint8_t, 32>;

// What one datagram carries besides its fragment payload.
struct LiveDatagramHead {
    std::uint16_t version = wire::kProtocolVersion;
    std::uint32_t sequence = 0;
    std::uint32_t token = 0;
    std::uint8_t packetType = wire::kPacketVideo;
    std::uint8_t count = 1;
    std::uint8_t index = 0;
};

// One end's AES-256-GCM context, keyed once for its life: counters
// restarting under an earlier key would repeat nonces, a window started afresh
// would take old datagrams again. The key in use again changes nothing,
// another one is refused (false).
class MediaCipher {
public:
    explicit MediaCipher(bool sealing);
    ~MediaCipher();
    MediaCipher(const MediaCipher&) = delete;
    MediaCipher& operator=(const MediaCipher&) = delete;

    bool SetKey(const MediaKey& key);
    bool HasKey() const { return m_hasKey; }
    EVP_CIPHER_CTX* Context() const { return m_context; }

private:
    EVP_CIPHER_CTX* m_context;
    const bool m_sealing;
    MediaKey m_key{};
    bool m_hasKey = false;
};

class MediaSealer {
public:
    // Counters 0 .. counterLimit - 1 are used; past them the sealer refuses
    // rather than use a nonce twice.
    explicit MediaSealer(std::uint64_t counterLimit = std::numeric_limits<std::uint64_t>::max());

    bool SetKey(const MediaKey& key) { return m_cipher.SetKey(key); }
    // Writes one whole datagram (length + wire::kSealedDatagramOverhead bytes)
    // to out and returns its size; 0 without a key, once the counters are
    // spent, or for a payload no frame can hold.
    std::size_t Seal(const LiveDatagramHead& head, const std::uint8_t* payload, std::size_t length, std::uint8_t* out);

private:
    MediaCipher m_cipher{true};
    std::uint64_t m_next = 0;
    const std::uint64_t m_limit;
};

class MediaOpener {
public:
    bool SetKey(const MediaKey& key) { return m_cipher.SetKey(key); }
    // Opens one whole datagram meant for session `token` (0: none yet, drop
    // all). The fragment's bytes are written to out (wire::kMaxPayload bytes)
    // and the view points into it; nullopt when the datagram is dropped, which
    // is counted unless it was authentic.
    std::optional<wire::LiveFragmentView> Open(const std::uint8_t* datagram, std::size_t length, std::uint32_t token,
                                               std::uint8_t* out);
    DroppedDatagrams Dropped() const { return m_dropped; }

private:
    bool Authentic(const std::uint8_t* datagram, const wire::SealedDatagramView& sealed, std::uint8_t* out);
    std::nullopt_t Unauthentic();

    MediaCipher m_cipher{false};
    wire::ReplayWindow m_window;
    DroppedDatagrams m_dropped;
};

}  // namespace netauth
