#include "platform/decoder/RepaintRequester.h"

#include "platform/decoder/MPEG4MultiDecoder.h"

void RepaintRequester::SetWindow(HWND window)
{
    m_window.store(window);
    m_pending.store(false);
}

bool RepaintRequester::Request()
{
    const HWND window = m_window.load();
    if (window == 0)
        return false;
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
