#include "core/video/OverlayState.h"

#include "core/video/TitleText.h"

void OverlayState::SetTitles(int channel, std::string_view serverName, int cameraIndex, std::string_view cameraTitle)
{
    if (channel < 0 || channel >= kChannels)
        return;
    std::lock_guard guard(lock);
    titles[channel][0] = TitleLine1(serverName);
    titles[channel][1] = TitleLine2(cameraIndex, cameraTitle);
}

void OverlayState::LiveStarted(std::uint16_t occupiedPanes)
{
    std::lock_guard guard(lock);
    liveMask = occupiedPanes;
    blankingDone = false;
}
