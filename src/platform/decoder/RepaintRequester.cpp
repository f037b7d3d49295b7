#include "platform/decoder/RepaintRequester.h"

#include "platform/decoder/MPEG4MultiDecoder.h"

void RepaintRequester::SetWindow(HWND window)
{
    m_window.store(window);
    m_pending.store(false);
    m_channels.store(0);
}

bool RepaintRequester::Request(std::uint32_t channels)
{
    const HWND window = m_window.load();
    if (window == 0)
        return false;
    // Noted before the pending flag is looked at: either TakeChannels still
    // sees these channels or a new message follows.
    m_channels.fetch_or(channels);
    if (m_pending.exchange(true))
        return true;
    if (PostWindowMessage(window, kMsgVideoFramesReady, 0, 0))
        return true;
    m_pending.store(false);
    return false;
}

void RepaintRequester::Acknowledge()
{
    m_pending.store(false);
}

std::uint32_t RepaintRequester::TakeChannels()
{
    m_pending.store(false);
    return m_channels.exchange(0);
}
