#pragma once

#include "platform/decoder/MPEG4MultiDecoder.h"

struct OverlayState;

// The overlay drawn on every pane after its picture: frame, titles,
// selection, blanking, zoom band, motion grid and alarm frames. The painter's
// origin is the pane's top-left; context is the OverlayState.

struct OverlayVariant {
    bool twoCameras = false;  // paired recorder, two cameras side by side per picture
    bool titles = true;
    bool alarm = false;       // frame the panes of alarmed cameras
    bool operator==(const OverlayVariant&) const = default;
};

MP4MUL_RenderCallback OverlayCallback(OverlayVariant variant);

// Installs a variant: the callback is cleared first, as every change does.
void InstallOverlay(CMPEG4MultiDecoder& decoder, OverlayState& overlay, OverlayVariant variant);
