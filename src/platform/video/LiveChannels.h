#pragma once

#include <cstdint>

#include "core/video/ChannelAssignment.h"

class CLiveDecoder;
class CZERDNetwork;
class LiveSessionState;

// What the live-start command knows about the session's recorder and buttons.
struct LiveChannelRequest {
    std::uint16_t checkedButtons = 0;  // video buttons down, bit c = camera c
    int dvrType = 0;
    bool perCameraStreams = false;
    bool setupMode = false;
    // Back after a lost link: the cameras return to the panes they had.
    bool keepPlaces = false;
};

// Live start on a session: its one slot, a fresh reassembly state, the live
// callback registered once (network may be null in tests), its previous panes
// released and each checked camera mapped to the lowest free pane (with
// keepPlaces, to the pane it had when still free).
// occupiedPanes is the window's pane mask over all sessions; it and the
// session's ownedPanes and requestedVideo are updated. The caller then asks the
// recorder for the streams (LiveMediaControl). With no free slot nothing is
// mapped and the returned plan is empty.
LiveStartPlan StartLiveChannels(CLiveDecoder& decoder, LiveSessionState& session, CZERDNetwork* network,
                                std::uint16_t& occupiedPanes, const LiveChannelRequest& request);

// Live stop: the session's panes are released and its callback unregistered;
// the slot stays with the session.
void StopLiveChannels(LiveSessionState& session, CZERDNetwork* network, std::uint16_t& occupiedPanes);
