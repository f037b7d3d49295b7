#include "core/viewer/ViewerTimers.h"

#include <array>

namespace {

constexpr std::array<TimerRule, 12> kRules{{
    {kTimerFetchSettings, 200, true, TimerDuty::FetchSettings},
    {kTimerRemotePlayback, 100, true, TimerDuty::HandOver},
    {kTimerLocalPlayback, 100, true, TimerDuty::HandOver},
    {kTimerRestart, 500, true, TimerDuty::HandOver},
    {kTimerRepaintUntilPtz, 500, false, TimerDuty::RepaintVideo},
    {kTimerPtzSetUp, 5000, true, TimerDuty::SetUpPtz},
    {kTimerAddServerRow, 1000, true, TimerDuty::AddServerRow},
    {kTimerFitPanes, 500, false, TimerDuty::FitPanes},
    // The alarm display's two timers arm each other.
    {kTimerPaneDraw1, 1000, true, TimerDuty::DrawPanes},
    {kTimerPaneDraw2, 1000, true, TimerDuty::DrawPanes},
    {kTimerLiveStarted, 100, true, TimerDuty::LiveStarted},
    {kTimerBandwidth, 1000, false, TimerDuty::Bandwidth},
}};

} // namespace

TimerRule PollTimerRule(int index)
{
    return TimerRule{index, kPollPeriodMs, false, index == 0 ? TimerDuty::PollAndRedraw : TimerDuty::PollSession};
}

std::optional<TimerRule> FindTimerRule(int id)
{
    if (IsPollTimer(id))
        return PollTimerRule(id);
    for (const TimerRule& rule : kRules)
        if (rule.id == id)
            return rule;
    return std::nullopt;
}
