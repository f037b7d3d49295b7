#include "core/setup/CameraPageRules.h"

#include "core/dvr/FixedText.h"
#include "core/dvr/SettingsLists.h"
#include "core/setup/SetupFieldLimits.h"
#include "core/setup/SystemPageRules.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::uint8_t kModelA = 1;
constexpr std::uint8_t kModelB = 2;
constexpr std::uint8_t kModelE = 5;
constexpr std::uint8_t kModelF = 6;

std::uint8_t Byte(int value, int high = 255)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, high));
}

} // namespace

MotionGrid UnpackMotionGrid(const DvrCameraSection& section)
{
    MotionGrid grid{};
    for (std::size_t n = 0; n < kMaxChannels; ++n) {
        const std::uint32_t low = section.motionAreaRows0to3[n].get();
        const std::uint32_t high = section.motionAreaRows4to7[n].get();
        for (int r = 0; r < 4; ++r) {
            grid[n][r] = static_cast<std::uint8_t>(low >> (r * 8));
            grid[n][r + 4] = static_cast<std::uint8_t>(high >> (r * 8));
        }
    }
    return grid;
}

void PackMotionGrid(const MotionGrid& grid, DvrCameraSection& section)
{
    for (std::size_t n = 0; n < kMaxChannels; ++n) {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        for (int r = 0; r < 4; ++r) {
            low |= static_cast<std::uint32_t>(grid[n][r]) << (r * 8);
            high |= static_cast<std::uint32_t>(grid[n][r + 4]) << (r * 8);
        }
        section.motionAreaRows0to3[n].set(low);
        section.motionAreaRows4to7[n].set(high);
    }
}

MotionGridPair MotionGridChannels(int channel, bool twoGrids)
{
    if (!twoGrids)
        return {channel, channel};
    return {channel & ~1, channel | 1};
}

bool ToggleMotionCell(MotionGrid& grid, int channel, bool twoGrids, int x, int y, int width, int height)
{
    const int grids = twoGrids ? 2 : 1;
    if (channel < 0 || channel >= static_cast<int>(kMaxChannels) || width < 8 * grids || height < 8 || x < 0
        || y < 0 || x >= width || y >= height)
        return false;
    const int cellWidth = width / (8 * grids);
    const int cellHeight = height / 8;
    const int row = std::min(y / cellHeight, 7);
    const int column = std::min(x / cellWidth, 8 * grids - 1);
    const MotionGridPair pair = MotionGridChannels(channel, twoGrids);
    const int target = column < 8 ? pair.first : pair.second;
    grid[target][row] ^= static_cast<std::uint8_t>(1u << (column % 8));
    return true;
}

void SetMotionCells(MotionGrid& grid, int channel, bool twoGrids, bool watched)
{
    if (channel < 0 || channel >= static_cast<int>(kMaxChannels))
        return;
    const MotionGridPair pair = MotionGridChannels(channel, twoGrids);
    grid[pair.first].fill(watched ? 0xFF : 0);
    grid[pair.second].fill(watched ? 0xFF : 0);
}

CameraChannelFields FillCameraChannel(const DvrCameraSection& s, int n)
{
    CameraChannelFields f;
    f.name = ReadFixedText(s.cameraName[n]);
    f.sensitivity = s.motionSensitivity[n];
    f.frameRate = s.frameRate[n];
    f.brightness = s.brightness[n];
    f.contrast = s.contrast[n];
    f.hue = s.hue[n];
    f.qualityPosition = s.recordingQuality[n] < std::size(kQualityNames) ? s.recordingQuality[n] : -1;
    f.ptzProtocolPosition = s.ptzProtocol[n] < std::size(kPtzProtocolNames) ? s.ptzProtocol[n] : -1;
    f.ptzAddress = s.ptzAddress[n];
    return f;
}

void StoreCameraChannel(const CameraChannelFields& f, DvrCameraSection& s, int n, std::uint8_t dvrTypeCode)
{
    WriteFixedText(s.cameraName[n], TrimText(f.name), kCameraNameMaxLength);
    s.motionSensitivity[n] = Byte(f.sensitivity);
    s.brightness[n] = Byte(f.brightness);
    s.contrast[n] = Byte(f.contrast);
    s.hue[n] = Byte(f.hue);
    s.ptzAddress[n] = Byte(f.ptzAddress);
    // Nothing chosen in a list keeps what is stored.
    if (f.ptzProtocolPosition >= 0)
        s.ptzProtocol[n] = Byte(f.ptzProtocolPosition);
    auto storeRate = [&](int channel) {
        s.frameRate[channel] = Byte(f.frameRate);
        if (f.qualityPosition >= 0)
            s.recordingQuality[channel] = Byte(f.qualityPosition);
    };
    if (dvrTypeCode == kModelA) {
        // Two cameras share one encoder there: a pair runs at one rate.
        if (n < 4) {
            storeRate(n & ~1);
            storeRate(n | 1);
        }
    } else {
        storeRate(n);
    }
    std::uint16_t mask = s.ptzPresentMask.get();
    const std::uint16_t bit = static_cast<std::uint16_t>(1u << n);
    mask = s.ptzProtocol[n] != 0 ? (mask | bit) : (mask & ~bit);
    s.ptzPresentMask.set(mask);
}

void SetCameraDefaults(DvrCameraSection& s)
{
    for (std::size_t n = 0; n < kMaxChannels; ++n) {
        s.motionSensitivity[n] = 80;
        s.frameRate[n] = 30;
        s.brightness[n] = 128;
        s.contrast[n] = 128;
        s.hue[n] = 128;
        s.recordingQuality[n] = 1;
        s.ptzAddress[n] = 0;
    }
    s.reserved786 = 0;
}

std::uint16_t CameraEnabledChannels(std::uint8_t dvrTypeCode, std::uint16_t liveMask, bool groupAResolution)
{
    switch (dvrTypeCode) {
    case kModelB: return 0x00FF;
    case kModelF: return 0x000F;
    case kModelA:
    case kModelE: return groupAResolution ? liveMask : 0x000F;
    default: return 0xFFFF;
    }
}

bool CameraTwoGridMode(std::uint8_t dvrTypeCode, bool groupAResolution)
{
    return (dvrTypeCode == kModelA || dvrTypeCode == kModelE) && !groupAResolution;
}
