#include "CameraFeeds.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "FeedPicture.h"
#include "HeldPtzMoves.h"
#include "LoopCache.h"
#include "ToneLoop.h"
#include "VideoLoopEncoder.h"
#include "core/media/PelcoCommandParser.h"
#include "core/media/PesPacketizer.h"

namespace emulator::media {
namespace {

constexpr int kMaxCameras = 16;
constexpr int kDefaultLoopSeconds = 4;
constexpr int kMaxLoopSeconds = 60;
constexpr uint64_t kCacheBudgetBytes = 256ull << 20;  // some 500 camera views of the default loop

bool Fail(std::string* error, const std::string& reason)
{
    if (error)
        *error = reason;
    return false;
}

bool ValidSetup(const FeedSetup& setup, std::string* error)
{
    if (setup.loopSeconds < 0 || setup.loopSeconds > kMaxLoopSeconds)
        return Fail(error, "loop length out of range");
    if (setup.bitRate != 0 && (setup.bitRate < kMinCameraBitRate || setup.bitRate > kMaxCameraBitRate))
        return Fail(error, "camera bit rate " + std::to_string(setup.bitRate) + " out of range " +
                               std::to_string(kMinCameraBitRate) + ".." + std::to_string(kMaxCameraBitRate));
    // A loop too long for a cache file would be encoded again on every start.
    const int seconds = setup.loopSeconds > 0 ? setup.loopSeconds : kDefaultLoopSeconds;
    if (uint64_t{static_cast<uint32_t>(setup.bitRate)} * static_cast<uint32_t>(seconds) / 8 * 5 / 4 >
        LoopCache::kMaxFileBytes)
        return Fail(error, "a camera loop of " + std::to_string(seconds) + " s at " + std::to_string(setup.bitRate) +
                               " bit/s is too large to keep; ask for a shorter loop or a lower rate");
    std::array<bool, kMaxCameras> seen{};
    for (const CameraSpec& spec : setup.cameras) {
        if (spec.camera < 0 || spec.camera >= kMaxCameras)
            return Fail(error, "camera number " + std::to_string(spec.camera) + " out of range 0..15");
        if (seen[static_cast<size_t>(spec.camera)])
            return Fail(error, "camera " + std::to_string(spec.camera) + " given twice");
        seen[static_cast<size_t>(spec.camera)] = true;
        if (spec.ptzAddress < -1 || spec.ptzAddress > 255)
            return Fail(error, "PTZ address of camera " + std::to_string(spec.camera) + " out of range");
    }
    return true;
}

}  // namespace

class CameraFeedsImpl {
public:
    CameraFeedsImpl(std::string cacheDir, const FeedSetup& setup);
    ~CameraFeedsImpl();

    bool MakeInitialLoops(std::string* error);
    std::shared_ptr<const MediaLoop> Video(int camera) const;
    std::shared_ptr<const MediaLoop> Audio(int camera) const;
    void OnSerialBytes(const uint8_t* data, size_t length);

private:
    struct PictureState {
        FeedPicture picture;
        std::shared_ptr<const MediaLoop> loop;
        uint64_t generation = 0;  // counts view changes, so a late result for an old view is dropped
    };

    bool LoadOrEncode(const FeedPicture& picture, MediaLoop* out, std::string* error) const;
    int CameraForCommand(const ::media::PtzCommand& command) const;
    void MoveView(int camera, const ::media::PtzCommand& command);
    void RunViewWorker();

    // Fixed after construction.
    LoopCache cache_;
    VideoLoopSettings settings_;
    std::vector<CameraSpec> cameras_;
    std::array<int, kMaxCameras> pictureOf_{};  // camera -> index into pictures_, -1 none
    std::array<std::shared_ptr<const MediaLoop>, kMaxCameras> audio_;
    std::atomic<bool> cancel_{false};

    mutable std::mutex mutex_;  // guards pictures_ (views and loops), queue_, worker_, stopping_
    std::vector<PictureState> pictures_;
    std::deque<size_t> queue_;  // pictures whose view changed, each at most once
    std::thread worker_;
    bool stopping_ = false;
    std::condition_variable wake_;

    std::mutex serialMutex_;  // guards parser_
    ::media::PelcoCommandParser parser_;

    // Last: its thread moves views, so it stops before anything it uses goes.
    HeldPtzMoves held_{[this](int camera, const ::media::PtzCommand& command) { MoveView(camera, command); }};
};

CameraFeedsImpl::CameraFeedsImpl(std::string cacheDir, const FeedSetup& setup)
    : cache_(std::move(cacheDir)), cameras_(setup.cameras)
{
    settings_.seconds = setup.loopSeconds > 0 ? setup.loopSeconds : kDefaultLoopSeconds;
    if (setup.bitRate != 0)
        settings_.bitRate = setup.bitRate;
    settings_.content = setup.content;
    settings_.reachBitRate = setup.bitRate != 0 || setup.content == CameraContent::Hard;
    pictureOf_.fill(-1);
    std::sort(cameras_.begin(), cameras_.end(),
              [](const CameraSpec& a, const CameraSpec& b) { return a.camera < b.camera; });
    for (const CameraSpec& spec : cameras_) {
        const int stream = setup.twoCameraPictures ? spec.camera / 2 : spec.camera;
        auto found = std::find_if(pictures_.begin(), pictures_.end(),
                                  [&](const PictureState& state) { return state.picture.stream == stream; });
        if (found == pictures_.end()) {
            pictures_.push_back(PictureState{});
            pictures_.back().picture.stream = stream;
            found = pictures_.end() - 1;
        }
        found->picture.cameras.push_back(
            FeedPicture::Camera{spec.camera, spec.name, PtzView{}, setup.twoCameraPictures ? spec.camera % 2 : -1});
        pictureOf_[static_cast<size_t>(spec.camera)] = static_cast<int>(found - pictures_.begin());
        if (spec.hasAudio) {
            audio_[static_cast<size_t>(spec.camera)] = std::make_shared<const MediaLoop>(
                MakeToneLoop(static_cast<uint8_t>(::media::kAudioStreamIdBase + spec.camera),
                             ToneFrequencyHz(spec.camera), static_cast<uint32_t>(settings_.seconds) * 1000));
        }
    }
}

CameraFeedsImpl::~CameraFeedsImpl()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    cancel_ = true;
    wake_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

bool CameraFeedsImpl::LoadOrEncode(const FeedPicture& picture, MediaLoop* out, std::string* error) const
{
    const std::string key = picture.CacheKey(settings_);
    if (auto cached = cache_.Load(key)) {
        *out = std::move(*cached);
        return true;
    }
    if (!picture.Encode(settings_, cancel_, out, error))
        return false;
    cache_.Store(key, *out);  // a cache that cannot be written only costs time on the next start
    return true;
}

bool CameraFeedsImpl::MakeInitialLoops(std::string* error)
{
    if (!cache_.Prepare(error))
        return false;
    // One single-threaded encoder per core keeps both cores busy on a cold cache.
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
    std::vector<MediaLoop> loops(pictures_.size());
    std::vector<std::string> errors(pictures_.size());
    std::vector<char> made(pictures_.size(), 0);
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < pictures_.size(); i = next++)
            made[i] = LoadOrEncode(pictures_[i].picture, &loops[i], &errors[i]);
    };
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < workers && i < pictures_.size(); ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    for (size_t i = 0; i < pictures_.size(); ++i) {
        if (!made[i])
            return Fail(error, "cannot make the video of camera " +
                                   std::to_string(pictures_[i].picture.cameras.front().camera) + ": " + errors[i]);
        pictures_[i].loop = std::make_shared<const MediaLoop>(std::move(loops[i]));
    }
    std::set<std::string> inUse;
    for (const PictureState& state : pictures_)
        inUse.insert(cache_.PathFor(state.picture.CacheKey(settings_)));
    cache_.Prune(kCacheBudgetBytes, inUse);
    return true;
}

std::shared_ptr<const MediaLoop> CameraFeedsImpl::Video(int camera) const
{
    if (camera < 0 || camera >= kMaxCameras || pictureOf_[static_cast<size_t>(camera)] < 0)
        return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    return pictures_[static_cast<size_t>(pictureOf_[static_cast<size_t>(camera)])].loop;
}

std::shared_ptr<const MediaLoop> CameraFeedsImpl::Audio(int camera) const
{
    if (camera < 0 || camera >= kMaxCameras)
        return nullptr;
    return audio_[static_cast<size_t>(camera)];
}

int CameraFeedsImpl::CameraForCommand(const ::media::PtzCommand& command) const
{
    if (command.channel >= 0)
        return command.channel < kMaxCameras && pictureOf_[static_cast<size_t>(command.channel)] >= 0
                   ? command.channel
                   : -1;
    // Pelco-P numbers cameras on the line from 0, Pelco-D from 1.
    const int address = command.address + (command.protocol == ::media::PelcoProtocol::P ? 1 : 0);
    for (const CameraSpec& spec : cameras_) {
        const int own = spec.ptzAddress >= 0 ? spec.ptzAddress : spec.camera + 1;
        if (own == address)
            return spec.camera;
    }
    return -1;
}

void CameraFeedsImpl::OnSerialBytes(const uint8_t* data, size_t length)
{
    std::lock_guard<std::mutex> serial(serialMutex_);
    for (const ::media::PtzCommand& command : parser_.Feed(data, length)) {
        const int camera = CameraForCommand(command);
        if (camera < 0)
            continue;
        if (command.Moves())
            MoveView(camera, command);
        held_.Command(camera, command);
    }
}

void CameraFeedsImpl::MoveView(int camera, const ::media::PtzCommand& command)
{
    const auto index = static_cast<size_t>(pictureOf_[static_cast<size_t>(camera)]);
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_)
        return;
    PictureState& state = pictures_[index];
    for (FeedPicture::Camera& shown : state.picture.cameras) {
        if (shown.camera != camera)
            continue;
        const PtzView next = shown.view.After(command);
        if (next == shown.view)
            return;
        shown.view = next;
    }
    ++state.generation;
    if (std::find(queue_.begin(), queue_.end(), index) == queue_.end())
        queue_.push_back(index);
    if (!worker_.joinable())
        worker_ = std::thread([this] { RunViewWorker(); });
    wake_.notify_one();
}

void CameraFeedsImpl::RunViewWorker()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_)
            return;
        const size_t index = queue_.front();
        queue_.pop_front();
        const FeedPicture picture = pictures_[index].picture;
        const uint64_t generation = pictures_[index].generation;
        lock.unlock();
        MediaLoop loop;
        std::string error;
        const bool made = LoadOrEncode(picture, &loop, &error);
        if (!made && !cancel_)
            std::fprintf(stderr, "dvr-emulator: camera view not made: %s\n", error.c_str());
        lock.lock();
        if (made && pictures_[index].generation == generation)
            pictures_[index].loop = std::make_shared<const MediaLoop>(std::move(loop));
    }
}

std::unique_ptr<CameraFeeds> CameraFeeds::Create(const std::string& cacheDir, const FeedSetup& setup,
                                                 std::string* error)
{
    if (!ValidSetup(setup, error))
        return nullptr;
    auto impl = std::make_unique<CameraFeedsImpl>(cacheDir, setup);
    if (!impl->MakeInitialLoops(error))
        return nullptr;
    return std::unique_ptr<CameraFeeds>(new CameraFeeds(std::move(impl)));
}

CameraFeeds::CameraFeeds(std::unique_ptr<CameraFeedsImpl> impl) : impl_(std::move(impl)) {}
CameraFeeds::~CameraFeeds() = default;

std::shared_ptr<const MediaLoop> CameraFeeds::Video(int camera) const { return impl_->Video(camera); }
std::shared_ptr<const MediaLoop> CameraFeeds::Audio(int camera) const { return impl_->Audio(camera); }
void CameraFeeds::OnSerialBytes(const uint8_t* data, size_t length) { impl_->OnSerialBytes(data, length); }

}  // namespace emulator::media
