#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One file upload as the recorder takes it: after "ready" (132) chunk 0 is
// sent, after each "chunk stored" (134) the next. Every chunk but the last
// holds 512 bytes; the last is the first read that yields fewer (0..511), so
// a file of 512 x n bytes ends with an empty last chunk. Sequence numbers
// are 8 bits and wrap after 255. The upload has succeeded only when the
// recorder stored the last chunk (the 134 after it); 133 ends it as failed.
class UploadSequence {
public:
    static constexpr std::uint32_t kChunkSize = 512;

    enum class State { Idle, AwaitingReady, Sending, AwaitingLastAck, Succeeded, Failed };

    // What to send next: read up to kChunkSize bytes and report their count
    // to ChunkRead.
    struct ChunkRequest {
        std::uint8_t sequence;
        bool operator==(const ChunkRequest&) const = default;
    };

    void Begin(std::uint32_t total);
    // 132: the first chunk.
    std::optional<ChunkRequest> OnReady();
    // 134: the next chunk, or nothing when the upload just succeeded (see
    // State) or none is under way.
    std::optional<ChunkRequest> OnChunkStored();
    // 133.
    void OnFailed();
    // The chunk asked for held `count` bytes; true when it is the last one.
    bool ChunkRead(std::uint32_t count);

    State GetState() const { return m_state; }
    bool Running() const
    {
        return m_state == State::AwaitingReady || m_state == State::Sending || m_state == State::AwaitingLastAck;
    }
    std::uint32_t Uploaded() const { return m_uploaded; }
    std::uint32_t Total() const { return m_total; }
    std::uint8_t Sequence() const { return m_sequence; }

private:
    State m_state = State::Idle;
    std::uint32_t m_total = 0;
    std::uint32_t m_uploaded = 0;
    std::uint8_t m_sequence = 0;
};

// " %d / %d (Byte)".
std::string UploadStatusText(std::uint32_t uploaded, std::uint32_t total);
// The progress bar counts tens of bytes.
inline int UploadProgressUnits(std::uint32_t bytes) { return static_cast<int>(bytes / 10); }
