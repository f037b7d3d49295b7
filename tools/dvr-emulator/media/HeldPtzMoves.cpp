#include "HeldPtzMoves.h"

#include <chrono>
#include <vector>

namespace emulator::media {

HeldPtzMoves::HeldPtzMoves(Move move) : move_(std::move(move)) {}

HeldPtzMoves::~HeldPtzMoves()
{
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        thread = std::move(thread_);
    }
    wake_.notify_all();
    if (thread.joinable())
        thread.join();
}

void HeldPtzMoves::Command(int camera, const ::media::PtzCommand& command)
{
    if (command.extended)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!command.Moves()) {
        held_.erase(camera);
        return;
    }
    held_[camera] = command;
    if (!thread_.joinable() && !stopping_)
        thread_ = std::thread([this] { Run(); });
    wake_.notify_all();
}

void HeldPtzMoves::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !held_.empty(); });
        // A full interval after the first step, as after every later one.
        if (wake_.wait_for(lock, std::chrono::milliseconds(kRepeatMs), [this] { return stopping_; }))
            return;
        const std::vector<std::pair<const int, ::media::PtzCommand>> moves(held_.begin(), held_.end());
        lock.unlock();
        for (const auto& [camera, command] : moves)
            move_(camera, command);
        lock.lock();
    }
}

}  // namespace emulator::media
