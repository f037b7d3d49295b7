#pragma once

#include <cstdint>
#include <vector>

// Which decoder channel (screen pane) each requested camera of a session gets
// when live video starts. Masks: bit k = camera k (or pane k).

struct LiveStartInput {
    std::uint16_t checkedButtons = 0;  // video buttons down, bit c = camera c
    std::uint16_t occupiedPanes = 0;   // panes in use over all sessions
    std::uint16_t ownedPanes = 0;      // panes this session held before
    int dvrType = 0;                   // settings block byte 33
    bool perCameraStreams = false;     // group A resolution non-zero: one camera per picture
    bool setupMode = false;            // remote setup pages open
};

// Camera `camera`'s video stream is drawn on decoder channel `channel`.
struct StreamMapping {
    int camera;
    int channel;
    bool operator==(const StreamMapping&) const = default;
};

struct LiveStartPlan {
    std::uint16_t occupiedPanes = 0;
    std::uint16_t ownedPanes = 0;
    std::uint16_t requestedVideo = 0;
    std::vector<StreamMapping> mappings;  // in button order
};

// The paired four-channel models: cameras 1 and 2, 3 and 4 share a picture
// when their group A resolution is 0.
bool IsPairedDvrType(int dvrType);

// Releases the session's previous panes, then gives each checked camera the
// lowest free pane. Paired models sharing pictures map buttons 0 and 1 to
// stream 0 and buttons 2 and 3 to stream 1, on panes 0..7 only. In setup
// mode each camera keeps its own number as channel while the lowest free pane
// is still marked used. A camera that finds no free pane gets no mapping.
LiveStartPlan PlanLiveStart(const LiveStartInput& input);

// Pane d shows camera c: the k-th pane of ownedPanes belongs to the k-th
// camera of requestedVideo.
struct PaneCamera {
    int pane;
    int camera;
    bool operator==(const PaneCamera&) const = default;
};
std::vector<PaneCamera> PairPanesWithCameras(std::uint16_t ownedPanes, std::uint16_t requestedVideo);

// Live start of a session back after its link was lost: each checked camera
// goes back to the pane it had (`before`), so the operator finds every camera
// where it was and the layout shows what it showed. When a checked camera had
// no pane, or its pane is another session's by now, or the recorder shares
// pictures between cameras, the ordinary plan.
LiveStartPlan PlanLiveRestore(const LiveStartInput& input, const std::vector<PaneCamera>& before);
