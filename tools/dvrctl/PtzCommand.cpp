#include "PtzCommand.h"

#include <iostream>
#include <optional>
#include <string>

#include "CommandArguments.h"
#include "DvrctlCommands.h"
#include "RecorderLink.h"
#include "core/dvr/NotifyCodes.h"
#include "core/ptz/PtzChannelSetting.h"
#include "platform/ptz/PtzChannelTable.h"

namespace {

constexpr int kDefaultHoldMs = 500;
constexpr int kMaxHoldMs = 600000;
constexpr int kMaxPreset = 255;

struct PtzRequest {
    int channel = 0;  // 0-based
    std::optional<ptz::Command> command;
    std::optional<ptz::PresetAction> preset;
    unsigned presetNumber = 0;
    int holdMs = kDefaultHoldMs;
};

std::optional<ptz::Command> CommandNamed(const std::string& word)
{
    static const std::pair<const char*, ptz::Command> kWords[] = {
        {"left", ptz::Command::PanLeft},        {"right", ptz::Command::PanRight},
        {"up", ptz::Command::TiltUp},           {"down", ptz::Command::TiltDown},
        {"zoomin", ptz::Command::ZoomIn},       {"zoomout", ptz::Command::ZoomOut},
        {"focusnear", ptz::Command::FocusNear}, {"focusfar", ptz::Command::FocusFar},
        {"irisopen", ptz::Command::IrisOpen},   {"irisclose", ptz::Command::IrisClose},
        {"stop", ptz::Command::BreakPTZ}};
    for (const auto& [name, command] : kWords)
        if (word == name)
            return command;
    return std::nullopt;
}

// Nullopt after the usage failure was written.
std::optional<PtzRequest> ParseRequest(const DvrctlOptions& options, int* exitCode)
{
    auto usage = [exitCode](const std::string& reason) {
        *exitCode = Fail(kExitUsage, reason);
        return std::nullopt;
    };
    std::string error;
    auto args = CommandArguments::Parse(options.arguments, {"--channel", "--ms"}, &error);
    if (!args)
        return usage(error);
    PtzRequest request;
    auto channel = args->options.find("--channel");
    if (channel == args->options.end())
        return usage("ptz takes --channel N and a command");
    auto number = ParseBoundedNumber(channel->second, 1, PtzChannelTable::kChannels);
    if (!number)
        return usage("--channel needs a number from 1 to 16");
    request.channel = *number - 1;
    if (auto ms = args->options.find("--ms"); ms != args->options.end()) {
        auto hold = ParseBoundedNumber(ms->second, 0, kMaxHoldMs);
        if (!hold)
            return usage("--ms needs a number of milliseconds from 0 to 600000");
        request.holdMs = *hold;
    }
    const auto& words = args->words;
    if (words.size() == 2 && (words[0] == "preset-set" || words[0] == "preset-call")) {
        auto preset = ParseBoundedNumber(words[1], 1, kMaxPreset);
        if (!preset)
            return usage("a preset is a number from 1 to 255");
        request.preset = words[0] == "preset-set" ? ptz::PresetAction::Set : ptz::PresetAction::Call;
        request.presetNumber = static_cast<unsigned>(*preset);
        return request;
    }
    if (words.size() == 1)
        request.command = CommandNamed(words[0]);
    if (!request.command)
        return usage("the ptz command is one of left, right, up, down, zoomin, zoomout, focusnear, focusfar, "
                     "irisopen, irisclose, stop, preset-set K, preset-call K");
    return request;
}

int SendPtz(const PtzRequest& request, const DvrctlOptions& options)
{
    RecorderLink link;
    if (int result = link.Open(options))
        return Fail(result, link.Reason());
    ZERD_INFO_BLK block{};
    if (int result = link.FetchSettings(&block))
        return Fail(result, link.Reason());
    const ptz::PtzChannelSetting setting = ptz::PtzSettingOf(block, request.channel);

    PtzChannelTable table(
        nullptr, PtzDriverFolder(),
        [&link](unsigned char* data, int length) { link.Net().PutSerialPortData(data, length); },
        [](const std::string& line) { std::cerr << "dvrctl: " << line << "\n"; });
    table.LoadDriver(request.channel, setting.driverName, setting.ptzId);
    table.SetSelected(request.channel);
    if (!table.SelectedHasDriver())
        return Fail(kExitRefused, "channel " + std::to_string(request.channel + 1) + " has no PTZ driver (protocol "
                                      + (setting.driverName.empty() ? "None" : setting.driverName) + ")");
    if (request.preset) {
        if (!table.Preset(*request.preset, request.presetNumber))
            return Fail(kExitRefused, "the driver " + setting.driverName + " has no preset "
                                          + std::to_string(request.presetNumber));
    } else {
        if (!table.Issue(*request.command))
            return kExitRefused;
        if (*request.command != ptz::Command::BreakPTZ) {
            if (int result = link.Pump(std::chrono::milliseconds(request.holdMs)))
                return Fail(result, link.Reason());
            if (!table.Issue(ptz::Command::BreakPTZ))
                return kExitRefused;
        }
    }
    // The settings asked for again arrive after the bytes were taken.
    if (int result = link.FetchSettings())
        return Fail(result, link.Reason());
    return kExitOk;
}

}  // namespace

int RunPtz(const DvrctlOptions& options)
{
    int exitCode = kExitOk;
    auto request = ParseRequest(options, &exitCode);
    if (!request)
        return exitCode;
    return SendPtz(*request, options);
}
