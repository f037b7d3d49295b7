#include "core/video/ChannelAssignment.h"

namespace {

constexpr int kChannels = 16;
constexpr int kPairedPaneLimit = 8;

bool Bit(std::uint16_t mask, int k)
{
    return (mask >> k) & 1u;
}

void Set(std::uint16_t& mask, int k)
{
    mask = static_cast<std::uint16_t>(mask | (1u << k));
}

int LowestFree(std::uint16_t occupied, int limit)
{
    for (int d = 0; d < limit; ++d)
        if (!Bit(occupied, d))
            return d;
    return -1;
}

} // namespace

bool IsPairedDvrType(int dvrType)
{
    return dvrType == 1 || dvrType == 5;
}

LiveStartPlan PlanLiveStart(const LiveStartInput& in)
{
    LiveStartPlan plan;
    plan.occupiedPanes = static_cast<std::uint16_t>(in.occupiedPanes & ~in.ownedPanes);
    const bool sharedPictures = IsPairedDvrType(in.dvrType) && !in.perCameraStreams;

    for (int c = 0; c < kChannels; ++c) {
        if (!Bit(in.checkedButtons, c))
            continue;
        Set(plan.requestedVideo, c);

        int source = c;
        int limit = kChannels;
        if (sharedPictures && !in.setupMode) {
            if (c > 3)
                continue;
            source = c / 2;
            limit = kPairedPaneLimit;
        }
        const int d = LowestFree(plan.occupiedPanes, limit);
        if (d < 0)
            continue;
        plan.mappings.push_back(StreamMapping{source, in.setupMode ? c : d});
        Set(plan.ownedPanes, d);
        Set(plan.occupiedPanes, d);
    }
    return plan;
}

LiveStartPlan PlanLiveRestore(const LiveStartInput& in, const std::vector<PaneCamera>& before)
{
    if ((IsPairedDvrType(in.dvrType) && !in.perCameraStreams) || in.setupMode)
        return PlanLiveStart(in);
    LiveStartPlan plan;
    plan.occupiedPanes = static_cast<std::uint16_t>(in.occupiedPanes & ~in.ownedPanes);
    for (int c = 0; c < kChannels; ++c) {
        if (!Bit(in.checkedButtons, c))
            continue;
        int pane = -1;
        for (const PaneCamera& place : before)
            if (place.camera == c)
                pane = place.pane;
        if (pane < 0 || pane >= kChannels || Bit(plan.occupiedPanes, pane))
            return PlanLiveStart(in);
        Set(plan.requestedVideo, c);
        plan.mappings.push_back(StreamMapping{c, pane});
        Set(plan.ownedPanes, pane);
        Set(plan.occupiedPanes, pane);
    }
    return plan;
}

std::vector<PaneCamera> PairPanesWithCameras(std::uint16_t ownedPanes, std::uint16_t requestedVideo)
{
    std::vector<PaneCamera> pairs;
    int camera = 0;
    for (int d = 0; d < kChannels; ++d) {
        if (!Bit(ownedPanes, d))
            continue;
        while (camera < kChannels && !Bit(requestedVideo, camera))
            ++camera;
        if (camera == kChannels)
            break;
        pairs.push_back(PaneCamera{d, camera});
        ++camera;
    }
    return pairs;
}
