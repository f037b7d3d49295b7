#include "core/video/PaintPacer.h"

PaintPacer::Clock::duration PaintPacer::WaitBeforePaint(Clock::time_point now) const
{
    if (!m_lastPaint || now - *m_lastPaint >= m_interval)
        return Clock::duration::zero();
    return *m_lastPaint + m_interval - now;
}
