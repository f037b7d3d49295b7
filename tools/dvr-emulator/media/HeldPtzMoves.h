#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "core/media/PelcoCommandParser.h"

namespace emulator::media {

// A camera keeps moving while its movement command is held: the last
// movement of each camera is repeated every kRepeatMs until a command
// without movement (the stop a released button sends) arrives for it.
class HeldPtzMoves {
public:
    static constexpr int kRepeatMs = 400;
    using Move = std::function<void(int camera, const ::media::PtzCommand& command)>;

    explicit HeldPtzMoves(Move move);
    ~HeldPtzMoves();
    HeldPtzMoves(const HeldPtzMoves&) = delete;
    HeldPtzMoves& operator=(const HeldPtzMoves&) = delete;

    // A command that arrived for camera (the first step is the caller's).
    // Preset and auxiliary commands change nothing.
    void Command(int camera, const ::media::PtzCommand& command);

private:
    void Run();

    Move move_;
    std::mutex mutex_;  // guards held_, stopping_, thread_
    std::condition_variable wake_;
    std::map<int, ::media::PtzCommand> held_;
    bool stopping_ = false;
    std::thread thread_;  // started with the first held movement
};

}  // namespace emulator::media
