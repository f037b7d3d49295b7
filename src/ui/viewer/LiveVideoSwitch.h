#pragma once

#include "core/viewer/MessageRequest.h"

#include <functional>

class AlarmFlasher;
class ChannelAudioControl;
class CWindowTimers;
class ViewerStatusPanel;
struct ViewerSessions;
struct ViewerVideo;

// Starts and stops a session's live video: its checked channels get panes,
// the library is asked for their media, and the video pane, its titles and
// its state follow.
class LiveVideoSwitch {
public:
    struct Parts {
        ViewerSessions& sessions;
        ViewerVideo& video;
        CWindowTimers& timers;
        ViewerStatusPanel& status;
        ChannelAudioControl& controls;
        AlarmFlasher& alarms;
        std::function<void(const MessageRequest&)> showMessage;
    };

    explicit LiveVideoSwitch(Parts parts);

    // The session's checked channels go live (button 209, new masks) and the
    // window takes the live-start layout. Over the window's channel limit
    // nothing starts and the operator is told.
    void Start(int index);
    // A session back after its link was lost: its channels go live in the
    // panes they had and the window keeps the layout the operator chose.
    void Restore(int index);
    // Button 231: the session gives up its panes and audio.
    void Stop(int index);
    // Every pane is given up (a session went and the rest are packed again).
    void ReleaseAllPanes();
    // The video pane's view of the sessions and panes.
    void SyncVideoState();

private:
    void start(int index, bool restoring);

    Parts m_parts;
};
