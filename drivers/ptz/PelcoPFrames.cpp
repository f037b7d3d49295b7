#include "PelcoFrames.h"

// Pelco-P: A0, address, data 1..4 (data 3 pan speed, data 4 tilt speed), AF,
// checksum = XOR of the seven bytes before it. Cameras count from 0 on the
// line: the camera set to address 1 answers to 0.

namespace pelco {
namespace {

constexpr unsigned kTopPanSpeed = 0x40;
constexpr unsigned kTopTiltSpeed = 0x3F;
constexpr int kFrameSize = 8;

int Frame(unsigned ptzId, std::uint8_t data1, std::uint8_t data2, std::uint8_t data3, std::uint8_t data4,
          std::uint8_t* out)
{
    out[0] = 0xA0;
    out[1] = static_cast<std::uint8_t>(ptzId > 0 ? ptzId - 1 : 0);
    out[2] = data1;
    out[3] = data2;
    out[4] = data3;
    out[5] = data4;
    out[6] = 0xAF;
    std::uint8_t check = 0;
    for (int i = 0; i < 7; ++i)
        check ^= out[i];
    out[7] = check;
    return kFrameSize;
}

}  // namespace

const int kMaxPreset = 255;
const int kDriverType = 2;
const char* const kDescription = "Pelco-P";

int FrameMotion(unsigned ptzId, const Motion& m, unsigned speed, std::uint8_t* out)
{
    const std::uint8_t data1 = (m.focusFar ? 0x01 : 0) | (m.focusNear ? 0x02 : 0) | (m.irisOpen ? 0x04 : 0) |
                               (m.irisClose ? 0x08 : 0);
    const std::uint8_t data2 = (m.panRight ? 0x02 : 0) | (m.panLeft ? 0x04 : 0) | (m.tiltUp ? 0x08 : 0) |
                               (m.tiltDown ? 0x10 : 0) | (m.zoomIn ? 0x20 : 0) | (m.zoomOut ? 0x40 : 0);
    const bool pans = m.panLeft || m.panRight;
    const bool tilts = m.tiltUp || m.tiltDown;
    return Frame(ptzId, data1, data2, pans ? ScaleSpeed(speed, kTopPanSpeed) : 0,
                 tilts ? ScaleSpeed(speed, kTopTiltSpeed) : 0, out);
}

int FramePreset(unsigned ptzId, PresetOp op, unsigned preset, std::uint8_t* out)
{
    if (preset < 1 || preset > static_cast<unsigned>(kMaxPreset))
        return 0;
    const std::uint8_t data2 = op == PresetOp::Set ? 0x03 : op == PresetOp::Clear ? 0x05 : 0x07;
    return Frame(ptzId, 0x00, data2, 0x00, static_cast<std::uint8_t>(preset), out);
}

}  // namespace pelco
