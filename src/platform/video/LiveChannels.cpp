#include "platform/video/LiveChannels.h"

#include "platform/decoder/LiveDecoder.h"
#include "platform/netctrl/ZERDNetwork.h"
#include "platform/video/LiveMediaCallback.h"
#include "platform/video/LiveSessionState.h"

LiveStartPlan StartLiveChannels(CLiveDecoder& decoder, LiveSessionState& session, CZERDNetwork* network,
                                std::uint16_t& occupiedPanes, const LiveChannelRequest& request)
{
    const int slot = session.PrepareLiveStart();
    if (!session.callbackRegistered && network != nullptr)
        network->SetPacketLiveMediaCallback(LiveMediaCallback, &session);
    session.callbackRegistered = true;

    LiveStartInput input;
    input.checkedButtons = request.checkedButtons;
    input.occupiedPanes = occupiedPanes;
    input.ownedPanes = session.ownedPanes;
    input.dvrType = request.dvrType;
    input.perCameraStreams = request.perCameraStreams;
    input.setupMode = request.setupMode;
    if (slot < 0) {
        // No slot: nothing can be mapped; the session shows nothing.
        input.checkedButtons = 0;
    }
    LiveStartPlan plan =
        request.keepPlaces ? PlanLiveRestore(input, PairPanesWithCameras(session.ownedPanes, session.requestedVideo))
                           : PlanLiveStart(input);
    for (const StreamMapping& m : plan.mappings)
        decoder.AddMapping(slot, m.camera, m.channel);

    occupiedPanes = plan.occupiedPanes;
    session.ownedPanes = plan.ownedPanes;
    session.requestedVideo = plan.requestedVideo;
    session.dvrType = static_cast<std::uint8_t>(request.dvrType);
    session.ForgetPictureSizes();
    return plan;
}

void StopLiveChannels(LiveSessionState& session, CZERDNetwork* network, std::uint16_t& occupiedPanes)
{
    occupiedPanes = static_cast<std::uint16_t>(occupiedPanes & ~session.ownedPanes);
    session.ownedPanes = 0;
    if (network != nullptr)
        network->SetPacketLiveMediaCallback(nullptr, nullptr);
    session.callbackRegistered = false;
}
