#pragma once
// One emulated recorder: its model, settings (on disk), accounts, sensors,
// history, uploads, serial line and synthetic cameras. It is the backend of
// every connection its server accepts; the server's thread calls it, the
// discovery responder reads its identity from another thread.

#include "EmulatorOptions.h"
#include "SerialLog.h"
#include "SettingsStore.h"

#include "core/dvr/DvrModel.h"
#include "core/net/DiscoveryMessages.h"
#include "core/net/RecorderBackend.h"
#include "media/CameraFeeds.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>

namespace emulator {

class Recorder final : public wire::RecorderBackend {
public:
    // Opens (or creates) the data folder and prepares the cameras; null with
    // *error when either fails.
    static std::unique_ptr<Recorder> Create(const RecorderOptions& options, const std::string& cacheDir,
                                            std::string* error);

    std::optional<std::string> PasswordOf(const std::string& account) override;
    std::vector<uint8_t> SettingsBlock() override;
    wire::WriteReason WriteSection(uint8_t section, const uint8_t* data, size_t length) override;
    wire::MasksMessage Masks() override;
    wire::LiveReplyMessage ServeLive(const wire::LiveControlMessage& request) override;
    void SerialData(const uint8_t* data, size_t length) override;
    std::optional<std::vector<uint8_t>> DayLog(uint16_t year, uint8_t month, uint8_t day) override;
    uint32_t MonthMask(uint16_t year, uint8_t month) override;
    std::vector<uint8_t> DailyProfile(uint16_t year, uint8_t month, uint8_t day) override;
    std::unique_ptr<wire::UploadSink> BeginUpload(const std::string& name, uint32_t size) override;

    // Sensor s (0-based) active until nowMs + the alarm length (a sensor the
    // model does not have is ignored). True when the sensor mask changed.
    bool RaiseAlarm(int sensor, uint64_t nowMs);
    // Ends alarms that are over; true when the sensor mask changed.
    bool ExpireAlarms(uint64_t nowMs);
    int SensorCount() const { return model_.sensors; }

    // The discovery record of this recorder as reachable on address:port.
    wire::DiscoveryAnswerMessage DiscoveryAnswer(uint32_t probeId, const std::string& address, uint16_t port);

    media::CameraFeeds& Feeds() { return *feeds_; }
    const DvrModelInfo& Model() const { return model_; }
    const RecorderOptions& Options() const { return options_; }

private:
    Recorder(const RecorderOptions& options, const DvrModelInfo& model, std::unique_ptr<SettingsStore> store,
             std::unique_ptr<media::CameraFeeds> feeds);

    RecorderOptions options_;
    const DvrModelInfo& model_;
    std::unique_ptr<media::CameraFeeds> feeds_;
    SerialLog serial_;
    std::string uploadFolder_;

    mutable std::mutex settingsMutex_;  // guards store_ (the discovery thread reads the block)
    std::unique_ptr<SettingsStore> store_;

    // Server thread only.
    std::array<uint64_t, 16> alarmUntilMs_{};  // 0: sensor quiet
    uint16_t sensorMask_ = 0;
};

}  // namespace emulator
