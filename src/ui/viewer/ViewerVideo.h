#pragma once

#include "core/video/OverlayState.h"
#include "platform/decoder/LiveDecoder.h"
#include "ui/video/VideoWindowState.h"

#include <cstdint>

class CChannelPosDlg;
class CRenderWnd;

// The video pane of the main window and what feeds and draws it. The owner
// deletes the two widgets before this goes: they draw from the decoder.
struct ViewerVideo {
    CLiveDecoder decoder;
    OverlayState overlay;
    VideoWindowState state;
    std::uint16_t occupiedPanes = 0;  // over every session's live video
    CRenderWnd* window = nullptr;
    CChannelPosDlg* layoutPanel = nullptr;
};
