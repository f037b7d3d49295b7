#pragma once

#include "core/viewer/LangText.h"
#include "core/viewer/MessageRequest.h"

#include <optional>
#include <string>
#include <vector>

// What the main window does for one network notification, as data. The
// session is the one that posted it (found by its identity), not the current
// one, so a failing recorder never stops another.

struct TimerStart {
    int id;
    int periodMs;
    bool operator==(const TimerStart&) const = default;
};

// Work that belongs to another part of the window.
enum class NotifyHandoff {
    None,
    MasksChanged,      // channel, audio and sensor masks
    SettingsReceived,  // fetch the block, prepare panes, ask for the month's profile
    LogDownload,
    RecordingProfile,
    Upload,
    HostKeyChanged,    // ask whether to trust the recorder's new key
};

struct NotifyReaction {
    bool ignored = true;  // nothing to do (no such session, or a code without action)
    int session = -1;     // row index of the session that posted it

    // Applied in this order by the window.
    std::optional<LangText> status;      // status line of `session`
    std::optional<std::string> eventLog; // line for the local event log
    bool stopSession = false;            // Destroy and stop its poll timer
    bool disconnect = false;             // then close and remove its row as button 205 does
                                         // (this session's row, not the selected one)
    std::vector<int> stopTimers;          // 135 only while it waits to list this session
    std::vector<TimerStart> startTimers;  // a poll timer restart uses id = session
    bool fetchSettings = false;           // timer 100 fetches this session's settings block
    bool restartPollIfUploadEnded = false;
    std::optional<MessageRequest> message;
    NotifyHandoff handoff = NotifyHandoff::None;
};

// `session` is the row index of the session whose identity came in wParam;
// empty when no open session has it (closed since the library posted).
NotifyReaction ReactToNotify(std::optional<int> session, int code);
