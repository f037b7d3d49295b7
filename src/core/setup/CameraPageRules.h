#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/dvr/ZerdInfoBlock.h"

// The motion area of every channel as the Camera page edits it: 8 rows per
// channel, bit c of a row = column c watched.
using MotionGrid = std::array<std::array<std::uint8_t, 8>, kMaxChannels>;

// Rows 0..3 from the first mask word of each channel, rows 4..7 from the
// second.
MotionGrid UnpackMotionGrid(const DvrCameraSection& section);
// The inverse, for all 16 channels.
void PackMotionGrid(const MotionGrid& grid, DvrCameraSection& section);

// The channels a preview of `channel` shows grids for: the channel itself,
// or in the two-grid mode (see CameraTwoGridMode) the pair 0/1, 2/3, ...:
// first = left half of the picture, second = right half. In the one-grid
// mode both are the channel.
struct MotionGridPair {
    int first;
    int second;
};
MotionGridPair MotionGridChannels(int channel, bool twoGrids);

// A click at (x, y) on a width x height preview of `channel` toggles the
// cell under it: one 8 x 8 grid over the picture, or in the two-grid mode
// one 8 x 8 grid over each half. A point outside the picture toggles
// nothing (false).
bool ToggleMotionCell(MotionGrid& grid, int channel, bool twoGrids, int x, int y, int width, int height);
// "All" / "Clear" on the 64 cells of every grid the preview shows.
void SetMotionCells(MotionGrid& grid, int channel, bool twoGrids, bool watched);

// What the Camera page shows for one channel.
struct CameraChannelFields {
    std::string name;
    int sensitivity = 80;
    int frameRate = 30;
    int brightness = 0;
    int contrast = 96;
    int hue = 0;
    int qualityPosition = 3;
    int ptzProtocolPosition = 0;
    int ptzAddress = 0;
    bool operator==(const CameraChannelFields&) const = default;
};

CameraChannelFields FillCameraChannel(const DvrCameraSection& section, int channel);
// Stores one channel: the name trimmed and at most 8 characters; frame rate
// and quality on a MODEL_A recorder go to both channels of the pair 0/1 or
// 2/3 (and nowhere for channels 4..15); the channel's PTZ-present bit follows
// its protocol.
void StoreCameraChannel(const CameraChannelFields& fields, DvrCameraSection& section, int channel,
                        std::uint8_t dvrTypeCode);
// "Default" on all channels: sensitivity 80, frame rate 30, brightness,
// contrast and hue 128, quality 1 ("Middle(CBR)"), PTZ address 0, the
// reserved byte 786 zero. Names, protocols and the motion area stay.
void SetCameraDefaults(DvrCameraSection& section);

// The channel buttons (1300 + n) the model leaves enabled: bit n = channel n.
// `liveMask` is the channels live in the main window, `groupAResolution` the
// record set's group A resolution being non-zero.
std::uint16_t CameraEnabledChannels(std::uint8_t dvrTypeCode, std::uint16_t liveMask, bool groupAResolution);
// Paired models (MODEL_A, MODEL_E) at group A resolution 0 carry two cameras
// in one picture, side by side: the cameras that share an encoder (0/1, 2/3,
// as their frame rates do). The preview then shows two grids.
bool CameraTwoGridMode(std::uint8_t dvrTypeCode, bool groupAResolution);
