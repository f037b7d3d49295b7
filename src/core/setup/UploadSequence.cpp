#include "core/setup/UploadSequence.h"

void UploadSequence::Begin(std::uint32_t total)
{
    m_state = State::AwaitingReady;
    m_total = total;
    m_uploaded = 0;
    m_sequence = 0;
}

std::optional<UploadSequence::ChunkRequest> UploadSequence::OnReady()
{
    if (m_state != State::AwaitingReady)
        return std::nullopt;
    m_state = State::Sending;
    m_sequence = 0;
    return ChunkRequest{m_sequence};
}

std::optional<UploadSequence::ChunkRequest> UploadSequence::OnChunkStored()
{
    if (m_state == State::AwaitingLastAck) {
        m_state = State::Succeeded;
        return std::nullopt;
    }
    if (m_state != State::Sending)
        return std::nullopt;
    ++m_sequence;
    return ChunkRequest{m_sequence};
}

void UploadSequence::OnFailed()
{
    if (Running())
        m_state = State::Failed;
}

bool UploadSequence::ChunkRead(std::uint32_t count)
{
    m_uploaded += count;
    const bool last = count < kChunkSize;
    if (last)
        m_state = State::AwaitingLastAck;
    return last;
}

std::string UploadStatusText(std::uint32_t uploaded, std::uint32_t total)
{
    return " " + std::to_string(uploaded) + " / " + std::to_string(total) + " (Byte)";
}
