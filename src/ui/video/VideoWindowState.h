#pragma once

#include <cstdint>

// What the video window and the layout panel need to know of the main window.
// The main window owns one and keeps it current; tests fill it by hand.
struct VideoWindowState {
    bool connected = false;           // the server list has at least one row
    bool sessionEstablished = false;  // the current session has its settings block
    int selectedChannel = 0;          // start channel of layouts, snapshot channel
    std::uint16_t occupiedPanes = 0;  // panes in use over all sessions
    std::uint16_t currentOwnedPanes = 0;  // panes of the current session
    bool setupMode = false;           // remote setup pages open
    bool pairedRecorder = false;      // live runs on a paired four-channel model
    bool perCameraStreams = false;    // that recorder sends one camera per picture
    bool alarmDisplayActive = false;  // panes of alarmed cameras flash
    bool fullScreen = false;
    int screenWidth = 1024;
    int screenHeight = 768;
};

// Events of the video window that the main window acts on. Every handler
// does nothing by default.
class VideoWindowListener {
public:
    virtual ~VideoWindowListener() = default;
    // A live pane was clicked: it is the selected channel now; `camera` is the
    // camera it shows (-1 when none) of `server`; the picture size as the decoder knows it.
    virtual void PaneSelected(int /*channel*/, int /*server*/, int /*camera*/, int /*width*/, int /*height*/) {}
    // A click in setup mode goes to the camera setup page (message 2457 or 2468, x, y).
    virtual void CameraSetupClick(unsigned /*message*/, int /*x*/, int /*y*/) {}
    // A pane was clicked while an alarm display was running: stop it.
    virtual void StopAlarmDisplay() {}
    // A layout was applied: the user-view apply button goes grey.
    virtual void LayoutApplied() {}
    // Full screen on or off: the main window hides or shows its other children.
    virtual void FullScreenChanged(bool /*on*/) {}
};

// Messages to the camera setup page for a click in the borrowed video window.
constexpr unsigned kMsgSetupClick = 2457;
constexpr unsigned kMsgSetupClickPaired = 2468;
// Sent to the main window when the remote setup pages close.
constexpr unsigned kMsgSetupClosed = 5024;
