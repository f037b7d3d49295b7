#include "PelcoFrames.h"

// Pelco-D: FF, address, command 1, command 2, data 1 (pan speed), data 2
// (tilt speed), checksum = sum of bytes 2..6 modulo 256.

namespace pelco {
namespace {

constexpr unsigned kTopSpeed = 0x3F;
constexpr int kFrameSize = 7;

int Frame(unsigned ptzId, std::uint8_t command1, std::uint8_t command2, std::uint8_t data1, std::uint8_t data2,
          std::uint8_t* out)
{
    out[0] = 0xFF;
    out[1] = static_cast<std::uint8_t>(ptzId);
    out[2] = command1;
    out[3] = command2;
    out[4] = data1;
    out[5] = data2;
    out[6] = static_cast<std::uint8_t>(out[1] + out[2] + out[3] + out[4] + out[5]);
    return kFrameSize;
}

}  // namespace

const int kMaxPreset = 255;
const int kDriverType = 1;
const char* const kDescription = "Pelco-D";

int FrameMotion(unsigned ptzId, const Motion& m, unsigned speed, std::uint8_t* out)
{
    const std::uint8_t command1 = (m.focusNear ? 0x01 : 0) | (m.irisOpen ? 0x02 : 0) | (m.irisClose ? 0x04 : 0);
    const std::uint8_t command2 = (m.panRight ? 0x02 : 0) | (m.panLeft ? 0x04 : 0) | (m.tiltUp ? 0x08 : 0) |
                                  (m.tiltDown ? 0x10 : 0) | (m.zoomIn ? 0x20 : 0) | (m.zoomOut ? 0x40 : 0) |
                                  (m.focusFar ? 0x80 : 0);
    const std::uint8_t scaled = ScaleSpeed(speed, kTopSpeed);
    const bool pans = m.panLeft || m.panRight;
    const bool tilts = m.tiltUp || m.tiltDown;
    return Frame(ptzId, command1, command2, pans ? scaled : 0, tilts ? scaled : 0, out);
}

int FramePreset(unsigned ptzId, PresetOp op, unsigned preset, std::uint8_t* out)
{
    if (preset < 1 || preset > static_cast<unsigned>(kMaxPreset))
        return 0;
    const std::uint8_t command2 = op == PresetOp::Set ? 0x03 : op == PresetOp::Clear ? 0x05 : 0x07;
    return Frame(ptzId, 0x00, command2, 0x00, static_cast<std::uint8_t>(preset), out);
}

}  // namespace pelco
