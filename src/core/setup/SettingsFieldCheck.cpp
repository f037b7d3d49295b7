#include "core/setup/SettingsFieldCheck.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/dvr/SensorFlags.h"
#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsLists.h"
#include "core/setup/SetupFieldLimits.h"
#include "core/setup/SystemPageRules.h"

namespace {

using Problem = std::optional<FieldProblem>;

std::string Indexed(const std::string& path, std::size_t index, const char* member)
{
    return path + "[" + std::to_string(index) + "]." + member;
}

Problem Range(const std::string& field, long long value, ValueRange range)
{
    if (range.Contains(value))
        return std::nullopt;
    return FieldProblem{field, OutsideRangeReason(value, range.low, range.high)};
}

Problem ListIndex(const std::string& field, unsigned value, std::size_t listSize)
{
    return Range(field, value, {0, static_cast<int>(listSize) - 1});
}

template <std::size_t N>
Problem TextLength(const std::string& field, const char (&text)[N], std::size_t maxLength)
{
    if (strnlen(text, N) <= maxLength)
        return std::nullopt;
    return FieldProblem{field, "longer than " + std::to_string(maxLength) + " characters"};
}

// Runs the checks in order and keeps the first problem.
template <class... Checks>
Problem First(Checks... checks)
{
    Problem found;
    ((found = found ? found : checks()), ...);
    return found;
}

Problem CheckSystem(const DvrSystemSection& s)
{
    if (auto p = First([&] { return Range("system.language", s.language, {0, 3}); },
                       [&] { return Range("system.daylightSaving", s.daylightSaving, kYesNoRange); },
                       [&] { return Range("system.videoStandard", s.videoStandard, kYesNoRange); }))
        return p;
    const auto languages = LanguageListForStandard(s.videoStandard);
    if (std::find(languages.begin(), languages.end(), s.language) == languages.end())
        return FieldProblem{"system.language", std::string(kRecorderLanguageNames[s.language]) +
                                                   " is not offered with " + (s.videoStandard ? "PAL" : "NTSC")};
    return First([&] { return TextLength("system.adminPassword", s.adminPassword, kPasswordMaxLength); },
                 [&] { return TextLength("system.guest0Password", s.guest0Password, kPasswordMaxLength); },
                 [&] { return TextLength("system.guest1Password", s.guest1Password, kPasswordMaxLength); },
                 [&] { return Range("system.mouseSensor", s.mouseSensor, kMouseSensorRange); },
                 [&] { return Range("system.alphablend", s.alphablend, kAlphablendRange); });
}

Problem CheckCamera(const DvrCameraSection& c)
{
    for (std::size_t ch = 0; ch < kMaxChannels; ++ch) {
        auto field = [ch](const char* member) { return Indexed("camera.channels", ch, member); };
        if (auto p = First(
                [&] { return TextLength(field("cameraName"), c.cameraName[ch], kCameraNameMaxLength); },
                [&] { return Range(field("motionSensitivity"), c.motionSensitivity[ch], kSensitivityRange); },
                [&] { return ListIndex(field("recordingQuality"), c.recordingQuality[ch], std::size(kQualityNames)); },
                [&] { return Range(field("frameRate"), c.frameRate[ch], kFrameRateRange); },
                [&] { return ListIndex(field("ptzProtocol"), c.ptzProtocol[ch], std::size(kPtzProtocolNames)); }))
            return p;
    }
    return std::nullopt;
}

Problem CheckSensor(const DvrSensorSection& s)
{
    for (std::size_t i = 0; i < kMaxSensors; ++i) {
        const std::string path = "sensor.sensors";
        if (auto p = First([&] { return Range(Indexed(path, i, "startHour"), s.startHour[i], kHourRange); },
                           [&] { return Range(Indexed(path, i, "endHour"), s.endHour[i], kHourRange); }))
            return p;
    }
    return std::nullopt;
}

Problem CheckNetwork(const DvrNetworkSection& n)
{
    if (n.eventMailMask.get() & ~kEventMailBits)
        return FieldProblem{"network.eventMailMask", "only bits 0..8 (ALL..TIME) may be set"};
    return Range("network.mailServerConfirm", n.mailServerConfirm, kYesNoRange);
}

Problem CheckRecordSet(const DvrRecordSetSection& r)
{
    for (std::size_t g = 0; g < 2; ++g) {
        const std::string path = "recordSet.groups";
        if (auto p = First(
                [&] { return ListIndex(Indexed(path, g, "resolution"), r.resolution[g], std::size(kResolutionNames)); },
                [&] { return Range(Indexed(path, g, "watermark"), r.watermark[g], kYesNoRange); },
                [&] { return Range(Indexed(path, g, "audioRecord"), r.audioRecord[g], kAudioRecordRange); }))
            return p;
    }
    const unsigned choice = r.videoRecordChoice;
    if (choice != 0 && (choice > 8 || (choice & (choice - 1)) != 0))
        return FieldProblem{"recordSet.videoRecordChoice", "must be 0 or one of 1, 2, 4, 8"};
    return std::nullopt;
}

Problem CheckSchedule(const DvrScheduleSection& s)
{
    for (std::size_t c = 0; c < kMaxChannels; ++c)
        for (std::size_t d = 0; d < kScheduleDays; ++d)
            for (std::size_t h = 0; h < kScheduleHours; ++h)
                if (!kScheduleRange.Contains(s.mode[c][d][h]))
                    return FieldProblem{"schedule.mode[" + std::to_string(c) + "][" + std::to_string(d) + "][" +
                                            std::to_string(h) + "]",
                                        OutsideRangeReason(s.mode[c][d][h], kScheduleRange.low, kScheduleRange.high)};
    return std::nullopt;
}

} // namespace

std::string OutsideRangeReason(long long value, long long low, long long high)
{
    return std::to_string(value) + " is outside " + std::to_string(low) + ".." + std::to_string(high);
}

std::optional<FieldProblem> CheckSettingsSection(const ZERD_INFO_BLK& block, std::uint8_t section)
{
    switch (section) {
    case kSectionSystem: return CheckSystem(block.system);
    case kSectionCamera: return CheckCamera(block.camera);
    case kSectionSensor: return CheckSensor(block.sensor);
    case kSectionNetwork: return CheckNetwork(block.network);
    case kSectionRecordSet: return CheckRecordSet(block.recordSet);
    case kSectionSchedule: return CheckSchedule(block.schedule);
    default: return FieldProblem{"section", OutsideRangeReason(section, 0, kSectionCount - 1)};
    }
}

std::optional<FieldProblem> CheckSettingsBlock(const ZERD_INFO_BLK& block)
{
    for (std::uint8_t section = 0; section < kSectionCount; ++section)
        if (auto problem = CheckSettingsSection(block, section))
            return problem;
    return std::nullopt;
}
