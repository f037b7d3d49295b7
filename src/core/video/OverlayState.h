#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "core/video/PaneRect.h"

// What the overlay draws on each pane. The main window writes it; the video
// window's painter reads it while drawing.
struct OverlayState {
    static constexpr int kChannels = 16;
    static constexpr int kGridRows = 8;
    static constexpr int kGridColumns = 8;

    // Guards every field below.
    mutable std::mutex lock;

    int selectedChannel = 0;
    std::uint16_t liveMask = 0;   // occupied panes when live last started
    std::uint16_t alarmMask = 0;  // panes showing cameras linked to an active sensor

    // Motion-area grid of the camera setup page, drawn on one channel only.
    bool motionGridMode = false;
    int motionGridChannel = -1;
    std::array<std::array<std::uint8_t, kGridRows>, kChannels> motionGrid{};  // bit n of a row = column n
    float cellWidth = 0.0f;
    float cellHeight = 0.0f;

    // Title line 1 (server), line 2 (camera) and a spare per channel, at most 49 characters each.
    std::array<std::array<std::string, 3>, kChannels> titles;

    bool blankingDone = false;    // 500 ms have passed since live started
    bool dragging = false;        // a zoom band is being drawn
    PaneRect dragRect{0, 0, 0, 0}; // the band, in pane pixels of the selected channel
    std::array<PaneRect, kChannels> paneRect = FilledHidden();

    // Live panes without a new picture for a while: dimmed, with "NO SIGNAL"
    // and the time of their last picture (empty when they have had none).
    std::uint16_t noSignalMask = 0;
    std::array<std::string, kChannels> lastPictureTime;
    // A line over a pane about its session, such as "Reconnecting in 4 s".
    std::array<std::string, kChannels> sessionNotice;

    // Titles of a live pane: the server's name and "<camera number>-<camera title>". Takes the lock.
    void SetTitles(int channel, std::string_view serverName, int cameraIndex, std::string_view cameraTitle);
    // Live started: the panes in use now are the live ones, blank until the blanking ends. Takes the lock.
    void LiveStarted(std::uint16_t occupiedPanes);

    bool IsLive(int channel) const { return channel >= 0 && channel < kChannels && ((liveMask >> channel) & 1u); }

private:
    static std::array<PaneRect, kChannels> FilledHidden()
    {
        std::array<PaneRect, kChannels> rects;
        rects.fill(kHiddenPane);
        return rects;
    }
};
