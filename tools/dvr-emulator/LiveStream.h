#pragma once
// One stream of a live session walking its camera's loop in real time: which
// unit is due when, and the PTS it goes out with (time keeps running over
// loop passes and loop switches, so a decoder never sees time go back).

#include "core/media/MediaLoop.h"

#include <cstdint>
#include <memory>

namespace emulator {

class LiveStream {
public:
    // A loop without units or duration is refused by Valid().
    LiveStream(uint8_t packetType, int camera, std::shared_ptr<const media::MediaLoop> loop, uint64_t startMs);

    bool Valid() const { return loop_ && !loop_->units.empty() && loop_->durationMs > 0; }
    uint8_t PacketType() const { return packetType_; }
    int Camera() const { return camera_; }
    const media::MediaLoop* Loop() const { return loop_.get(); }

    uint64_t NextDueMs() const { return passStartMs_ + loop_->units[index_].timeMs; }
    const media::MediaUnit& NextUnit() const { return loop_->units[index_]; }
    // 90 kHz, counted from the stream's start plus one second.
    uint64_t NextPts() const { return (NextDueMs() - startMs_ + 1000) * 90; }
    void Advance();
    // Continues with another loop from its first unit, due when the next
    // unit of the old one would have been. Call when NextUnit() is a keyframe.
    // False (nothing changed) for a loop without units or duration.
    bool SwitchTo(std::shared_ptr<const media::MediaLoop> loop);

    // Set while units are skipped until the next keyframe (the receiver fell behind).
    bool skipping = false;

private:
    uint8_t packetType_;
    int camera_;
    std::shared_ptr<const media::MediaLoop> loop_;
    uint64_t startMs_;
    uint64_t passStartMs_;
    size_t index_ = 0;
};

}  // namespace emulator
