#include "platform/decoder/ChannelState.h"

#include <cstdint>

extern "C" {
#include <libavutil/frame.h>
}

#include <new>

ChannelState::ChannelState() : m_frame(av_frame_alloc())
{
    if (!m_frame)
        throw std::bad_alloc();
    m_geometry.pane = VideoRect{0, 0, 1, 1};
}

ChannelState::~ChannelState()
{
    av_frame_free(&m_frame);
}

void ChannelState::SetPane(const VideoRect& pane)
{
    std::lock_guard guard(m_lock);
    if (pane == m_geometry.pane)
        return;
    m_geometry.pane = pane;
    ++m_geometry.generation;
}

void ChannelState::SetViewport(const VideoRect& viewport)
{
    std::lock_guard guard(m_lock);
    if (viewport == m_geometry.viewport)
        return;
    m_geometry.viewport = viewport;
    ++m_geometry.generation;
}

ChannelState::Geometry ChannelState::CurrentGeometry() const
{
    std::lock_guard guard(m_lock);
    return m_geometry;
}

void ChannelState::StoreFrame(const AVFrame* frame)
{
    std::lock_guard guard(m_lock);
    av_frame_unref(m_frame);
    if (av_frame_ref(m_frame, frame) < 0)
        return;
    m_width.store(frame->width);
    m_height.store(frame->height);
}

bool ChannelState::CopyFrame(AVFrame* out) const
{
    std::lock_guard guard(m_lock);
    if (!m_frame->data[0])
        return false;
    return av_frame_ref(out, m_frame) >= 0;
}

std::shared_ptr<const ScaledPicture> ChannelState::PictureForPaint()
{
    std::lock_guard guard(m_lock);
    std::shared_ptr<const ScaledPicture> picture = m_slot.Take();
    if ((picture && picture->geometry == m_geometry.generation) || !m_frame->data[0])
        return picture;
    auto rescaled = m_paintScaler.Scale(m_frame, m_geometry.viewport, m_geometry.pane.Width(),
                                        m_geometry.pane.Height(), m_geometry.generation);
    if (!rescaled)
        return picture;
    m_slot.Rescaled(rescaled);
    return rescaled;
}

void ChannelState::Clear()
{
    std::lock_guard guard(m_lock);
    av_frame_unref(m_frame);
    m_geometry.viewport = VideoRect{};
    ++m_geometry.generation;
    m_slot.Clear();
}

void ChannelState::Reset()
{
    Clear();
    m_width.store(0);
    m_height.store(0);
}
