#include "Recorder.h"

#include "UploadFileSink.h"

#include "core/dvr/DiscoveryRecord.h"
#include "core/dvr/RecorderHistory.h"
#include "core/dvr/SettingsBlock.h"

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace emulator {
namespace {

RecorderNow LocalNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return RecorderNow{CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                       local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec};
}

uint16_t LowBits(int count) { return static_cast<uint16_t>(count >= 16 ? 0xFFFF : (1u << count) - 1); }

media::FeedSetup FeedSetupFor(const DvrModelInfo& model, const ZERD_INFO_BLK& block, const RecorderOptions& options)
{
    media::FeedSetup setup;
    setup.dvrTypeCode = model.typeCode;
    setup.loopSeconds = static_cast<int>(options.loopSeconds);
    setup.bitRate = static_cast<int>(options.cameraBitRate);
    setup.content = options.cameraContent;
    // Paired models at group A resolution 0 put two cameras in one picture.
    setup.twoCameraPictures = model.paired && block.recordSet.resolution[0] == 0;
    for (int c = 0; c < model.channels; ++c) {
        media::CameraSpec feed;
        feed.camera = c;
        feed.name = CameraName(block, c);
        feed.hasAudio = c < model.audioChannels;
        if (block.camera.ptzProtocol[c] != 0)
            feed.ptzAddress = block.camera.ptzAddress[c];
        setup.cameras.push_back(feed);
    }
    return setup;
}

}  // namespace

std::unique_ptr<Recorder> Recorder::Create(const RecorderOptions& options, const std::string& cacheDir,
                                           std::string* error)
{
    const DvrModelInfo* model = FindDvrModel(options.model);
    if (!model) {
        *error = "unknown model " + std::to_string(options.model);
        return nullptr;
    }
    auto store = SettingsStore::Open(options.dataDir, options.model, options.port, error);
    if (!store)
        return nullptr;
    auto feeds = media::CameraFeeds::Create(cacheDir, FeedSetupFor(*model, store->Block(), options), error);
    if (!feeds)
        return nullptr;
    return std::unique_ptr<Recorder>(new Recorder(options, *model, std::move(store), std::move(feeds)));
}

Recorder::Recorder(const RecorderOptions& options, const DvrModelInfo& model, std::unique_ptr<SettingsStore> store,
                   std::unique_ptr<media::CameraFeeds> feeds)
    : options_(options),
      model_(model),
      feeds_(std::move(feeds)),
      serial_(options.dataDir + "/serial.log"),
      uploadFolder_(options.dataDir + "/uploads"),
      store_(std::move(store))
{
}

std::optional<std::string> Recorder::PasswordOf(const std::string& account)
{
    std::lock_guard lock(settingsMutex_);
    return AccountPassword(store_->Block(), account);
}

std::vector<uint8_t> Recorder::SettingsBlock()
{
    std::lock_guard lock(settingsMutex_);
    return SettingsBlockBytes(store_->Block());
}

wire::WriteReason Recorder::WriteSection(uint8_t section, const uint8_t* data, size_t length)
{
    std::string error;
    wire::WriteReason result;
    {
        std::lock_guard lock(settingsMutex_);
        result = store_->WriteSection(section, data, length, &error);
    }
    if (result == wire::WriteReason::StorageFailure)
        std::fprintf(stderr, "dvr-emulator: %s\n", error.c_str());
    return result;
}

wire::MasksMessage Recorder::Masks()
{
    return wire::MasksMessage{LowBits(model_.channels), LowBits(model_.audioChannels), sensorMask_};
}

wire::LiveReplyMessage Recorder::ServeLive(const wire::LiveControlMessage& request)
{
    return wire::LiveReplyMessage{static_cast<uint16_t>(request.videoMask & LowBits(model_.channels)),
                                  static_cast<uint16_t>(request.audioMask & LowBits(model_.audioChannels))};
}

void Recorder::SerialData(const uint8_t* data, size_t length)
{
    if (!serial_.Append(data, length))
        std::fprintf(stderr, "dvr-emulator: cannot append to %s\n", serial_.Path().c_str());
    feeds_->OnSerialBytes(data, length);
}

std::optional<std::vector<uint8_t>> Recorder::DayLog(uint16_t year, uint8_t month, uint8_t day)
{
    const CivilDate date{year, month, day};
    if (!IsValidDate(date) || !HistoryHasRecording(options_.historySeed, model_.typeCode, date, LocalNow()))
        return std::nullopt;
    return EncodeLogFile(HistoryDayLog(options_.historySeed, model_.typeCode, date, LocalNow()));
}

uint32_t Recorder::MonthMask(uint16_t year, uint8_t month)
{
    return HistoryMonthMask(options_.historySeed, model_.typeCode, year, month, LocalNow());
}

std::vector<uint8_t> Recorder::DailyProfile(uint16_t year, uint8_t month, uint8_t day)
{
    const auto profile =
        HistoryDailyProfile(options_.historySeed, model_.typeCode, CivilDate{year, month, day}, LocalNow());
    return profile ? EncodeDailyProfile(*profile) : std::vector<uint8_t>{};
}

std::unique_ptr<wire::UploadSink> Recorder::BeginUpload(const std::string& name, uint32_t size)
{
    std::string error;
    auto sink = UploadFileSink::Create(uploadFolder_, name, size, &error);
    if (!sink)
        std::fprintf(stderr, "dvr-emulator: %s\n", error.c_str());
    return sink;
}

bool Recorder::RaiseAlarm(int sensor, uint64_t nowMs)
{
    if (sensor < 0 || sensor >= model_.sensors || sensor >= 16)
        return false;
    alarmUntilMs_[static_cast<size_t>(sensor)] = nowMs + uint64_t{options_.alarmSeconds} * 1000;
    const uint16_t before = sensorMask_;
    sensorMask_ = static_cast<uint16_t>(sensorMask_ | (1u << sensor));
    return sensorMask_ != before;
}

bool Recorder::ExpireAlarms(uint64_t nowMs)
{
    const uint16_t before = sensorMask_;
    for (size_t s = 0; s < alarmUntilMs_.size(); ++s) {
        if (alarmUntilMs_[s] != 0 && nowMs >= alarmUntilMs_[s]) {
            alarmUntilMs_[s] = 0;
            sensorMask_ = static_cast<uint16_t>(sensorMask_ & ~(1u << s));
        }
    }
    return sensorMask_ != before;
}

wire::DiscoveryAnswerMessage Recorder::DiscoveryAnswer(uint32_t probeId, const std::string& address, uint16_t port)
{
    DiscoveryRecord record;
    char name[wire::kDiscoveryNameSize];
    {
        std::lock_guard lock(settingsMutex_);
        record = DiscoveryRecordFromSettings(store_->Block());
        static_assert(sizeof name == sizeof store_->Block().network.dvrName);
        std::memcpy(name, store_->Block().network.dvrName, sizeof name);
    }
    record.port = port;
    in_addr a{};
    inet_pton(AF_INET, address.c_str(), &a);
    const uint32_t host = ntohl(a.s_addr);
    record.ipAddress = {static_cast<uint8_t>(host >> 24), static_cast<uint8_t>(host >> 16),
                        static_cast<uint8_t>(host >> 8), static_cast<uint8_t>(host)};
    wire::DiscoveryAnswerMessage answer;
    answer.probeId = probeId;
    const auto bytes = EncodeDiscoveryRecord(record);
    std::copy(bytes.begin(), bytes.end(), answer.record.begin());
    std::memcpy(answer.record.data() + wire::kDiscoveryNameOffset, name, sizeof name);
    return answer;
}

}  // namespace emulator
