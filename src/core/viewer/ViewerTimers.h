#pragma once

#include <array>
#include <optional>

// The main window's timers: ids, periods and what each one is for, so the
// window only maps a duty to its calls.

constexpr int kSessionSlots = 16;

constexpr int kTimerFetchSettings = 100;
constexpr int kTimerRemotePlayback = 130;
constexpr int kTimerRepaintUntilPtz = 131;
constexpr int kTimerRestart = 132;
constexpr int kTimerPtzSetUp = 133;
constexpr int kTimerAddServerRow = 135;
constexpr int kTimerFitPanes = 136;
constexpr int kTimerPaneDraw1 = 137;
constexpr int kTimerPaneDraw2 = 138;
constexpr int kTimerLocalPlayback = 140;
constexpr int kTimerLiveStarted = 2000;
constexpr int kTimerBandwidth = 4000;

constexpr int kPollPeriodMs = 1000;

// The timers that serve the sessions' live video; when every session is
// closed they all stop, beside the poll timers.
constexpr std::array<int, 8> kSessionWorkTimers = {
    kTimerFetchSettings, kTimerLiveStarted, kTimerAddServerRow, kTimerBandwidth,
    kTimerPaneDraw1,     kTimerPaneDraw2,   kTimerRepaintUntilPtz, kTimerPtzSetUp,
};

enum class TimerDuty {
    PollSession,       // SessionPoll on the session whose index is the id
    PollAndRedraw,     // session 0's poll also makes the decoder redraw
    FetchSettings,     // GetDVRInfo
    HandOver,          // start a sibling program or restart
    RepaintVideo,      // while live is starting and the PTZ set-up has not run
    SetUpPtz,          // note that it ran, set up the PTZ driver
    AddServerRow,      // show the connected server in the list
    FitPanes,          // fit panes to decoded sizes
    DrawPanes,         // alarm display: alarm frames and plain overlay in turn
    LiveStarted,       // set the start flag, start 133 and 131
    Bandwidth,         // information panel line
};

struct TimerRule {
    int id;
    int periodMs;
    bool oneShot;  // its handler kills it first
    TimerDuty duty;
    bool operator==(const TimerRule&) const = default;
};

// The rule for a timer id; empty for ids the window does not use.
std::optional<TimerRule> FindTimerRule(int id);

// Session `index`'s poll timer.
TimerRule PollTimerRule(int index);

inline bool IsPollTimer(int id)
{
    return id >= 0 && id < kSessionSlots;
}
