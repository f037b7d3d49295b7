#pragma once

#include <cstdint>

// The protocol-specific half of a Pelco driver: one implementation per
// driver library (Pelco-D or Pelco-P), shared exports in PelcoExports.cpp.

namespace pelco {

// What a movement command asks of the camera; all false is a stop.
struct Motion {
    bool panLeft = false, panRight = false, tiltUp = false, tiltDown = false;
    bool zoomIn = false, zoomOut = false, focusNear = false, focusFar = false;
    bool irisOpen = false, irisClose = false;
};

enum class PresetOp { Set, Clear, Call };

// Each writes one frame to out and returns its length.
int FrameMotion(unsigned ptzId, const Motion& motion, unsigned speed, std::uint8_t* out);
// 0 (nothing written) for a preset outside 1..kMaxPreset.
int FramePreset(unsigned ptzId, PresetOp op, unsigned preset, std::uint8_t* out);

extern const int kMaxPreset;
extern const int kDriverType;
extern const char* const kDescription;

// The client's speed runs 0..100 (percent of the camera's fastest); above
// 100 is the fastest. Scaled to 0..top.
inline std::uint8_t ScaleSpeed(unsigned speed, unsigned top)
{
    const unsigned percent = speed > 100 ? 100 : speed;
    return static_cast<std::uint8_t>((percent * top + 50) / 100);
}

}  // namespace pelco
