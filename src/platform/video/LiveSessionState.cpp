#include "platform/video/LiveSessionState.h"

#include "platform/decoder/LiveDecoder.h"

LiveSessionState::LiveSessionState()
{
    m_width.fill(kAssumedWidth);
    m_height.fill(kAssumedHeight);
}

void LiveSessionState::Attach(CLiveDecoder* decoder, HWND mainWindow)
{
    std::lock_guard guard(m_lock);
    m_decoder = decoder;
    m_mainWindow = mainWindow;
}

void LiveSessionState::OnVideoPacket(const unsigned char* packet, unsigned length)
{
    std::optional<int> sizeChannel;
    HWND window = 0;
    {
        std::lock_guard guard(m_lock);
        auto unit = m_reassembly.Add(LiveReassembler::Stream::Video, packet, length);
        if (!unit || m_decoder == nullptr)
            return;
        HandOnVideo(*unit, sizeChannel);
        window = m_mainWindow;
    }
    // Posted outside the lock: the receiver only queues it, but need not wait for us.
    if (sizeChannel && window != 0)
        PostWindowMessage(window, kMsgPictureSizeKnown, static_cast<WPARAM>(*sizeChannel), 0);
}

void LiveSessionState::HandOnVideo(LiveReassembler::Unit unit, std::optional<int>& sizeChannel)
{
    const int channel = m_decoder->PushVideo(m_slot, unit.data, static_cast<int>(unit.length));
    if (channel < 0 || channel >= kChannels)
        return;
    // The decoder knows a size only once a picture was decoded; until then
    // the assumed size stands and nothing is reported.
    const int width = m_decoder->GetVideoWidth(channel);
    const int height = m_decoder->GetVideoHeight(channel);
    if (width <= 0 || height <= 0)
        return;
    if (m_sizeKnown[channel] && m_width[channel] == width && m_height[channel] == height)
        return;
    m_width[channel] = width;
    m_height[channel] = height;
    m_sizeKnown[channel] = true;
    sizeChannel = channel;
}

void LiveSessionState::OnAudioPacket(const unsigned char* packet, unsigned length)
{
    if (!AudioEnabled())
        return;
    std::lock_guard guard(m_lock);
    auto unit = m_reassembly.Add(LiveReassembler::Stream::Audio, packet, length);
    if (unit && m_audioPermitted && m_decoder != nullptr)
        m_decoder->PushAudio(m_slot, unit->data, static_cast<int>(unit->length));
}

int LiveSessionState::PrepareLiveStart()
{
    std::lock_guard guard(m_lock);
    if (m_decoder != nullptr) {
        // One slot per session for its whole life: a second live start reuses it.
        if (m_slot < 0 || !m_decoder->IsSlotInUse(m_slot))
            m_slot = m_decoder->AllocateSlot();
        else
            m_decoder->ClearMappings(m_slot);
    }
    m_reassembly.Reset();
    m_audioPermitted = m_slot >= 0;
    return m_slot;
}

void LiveSessionState::ReleaseSlot()
{
    std::lock_guard guard(m_lock);
    if (m_decoder != nullptr && m_slot >= 0)
        m_decoder->FreeSlot(m_slot);
    m_slot = -1;
    m_audioPermitted = false;
    m_reassembly.Reset();
}

int LiveSessionState::Slot() const
{
    std::lock_guard guard(m_lock);
    return m_slot;
}

LiveSessionState::PictureSize LiveSessionState::GetPictureSize(int channel) const
{
    if (channel < 0 || channel >= kChannels)
        return PictureSize{kAssumedWidth, kAssumedHeight, false};
    std::lock_guard guard(m_lock);
    return PictureSize{m_width[channel], m_height[channel], m_sizeKnown[channel]};
}

void LiveSessionState::MarkSizeKnown(int channel)
{
    if (channel < 0 || channel >= kChannels)
        return;
    std::lock_guard guard(m_lock);
    m_sizeKnown[channel] = true;
}

void LiveSessionState::ForgetPictureSizes()
{
    std::lock_guard guard(m_lock);
    m_width.fill(kAssumedWidth);
    m_height.fill(kAssumedHeight);
    m_sizeKnown.fill(false);
}

LiveReassembler::Counters LiveSessionState::ReassemblyCounters() const
{
    std::lock_guard guard(m_lock);
    return m_reassembly.GetCounters();
}

bool LiveSessionState::AudioPermitted() const
{
    std::lock_guard guard(m_lock);
    return m_audioPermitted;
}
