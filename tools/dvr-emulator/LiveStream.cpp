#include "LiveStream.h"

namespace emulator {

LiveStream::LiveStream(uint8_t packetType, int camera, std::shared_ptr<const media::MediaLoop> loop,
                       uint64_t startMs)
    : packetType_(packetType), camera_(camera), loop_(std::move(loop)), startMs_(startMs), passStartMs_(startMs)
{
}

void LiveStream::Advance()
{
    if (++index_ == loop_->units.size()) {
        index_ = 0;
        passStartMs_ += loop_->durationMs;
    }
}

bool LiveStream::SwitchTo(std::shared_ptr<const media::MediaLoop> loop)
{
    if (!loop || loop->units.empty() || loop->durationMs == 0)
        return false;
    const uint64_t due = NextDueMs();
    loop_ = std::move(loop);
    index_ = 0;
    passStartMs_ = due - loop_->units[0].timeMs;
    return true;
}

}  // namespace emulator
