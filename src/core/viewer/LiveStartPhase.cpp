#include "core/viewer/LiveStartPhase.h"

#include "core/viewer/ViewerTimers.h"

std::vector<TimerStart> LiveStartPhase::OnStartTimer()
{
    m_started = true;
    return {{kTimerPtzSetUp, 5000}, {kTimerRepaintUntilPtz, 500}};
}

LiveStartPhase::RepaintTick LiveStartPhase::OnRepaintTimer() const
{
    if (m_ptzSetUpDone)
        return {false, true};
    return {m_started, false};
}
