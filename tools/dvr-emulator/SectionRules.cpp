#include "SectionRules.h"

#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsLists.h"

#include <cstring>
#include <iterator>

namespace emulator {
namespace {

template <typename T>
T Copy(const uint8_t* data)
{
    T section;
    std::memcpy(&section, data, sizeof section);
    return section;
}

bool InRange(unsigned value, unsigned min, unsigned max) { return value >= min && value <= max; }

template <size_t N>
bool AllAtMost(const uint8_t (&values)[N], unsigned max)
{
    for (const uint8_t v : values)
        if (v > max)
            return false;
    return true;
}

bool SystemOk(const DvrSystemSection& s)
{
    return s.language < std::size(kRecorderLanguageNames) && s.daylightSaving <= 1 && s.videoStandard <= 1
        && InRange(s.mouseSensor, 1, 3) && InRange(s.alphablend, 1, 10);
}

bool CameraOk(const DvrCameraSection& c)
{
    return AllAtMost(c.recordingQuality, std::size(kQualityNames) - 1) && AllAtMost(c.frameRate, 30)
        && AllAtMost(c.ptzProtocol, std::size(kPtzProtocolNames) - 1);
}

bool SensorOk(const DvrSensorSection& s) { return AllAtMost(s.startHour, 24) && AllAtMost(s.endHour, 24); }

bool NetworkOk(const DvrNetworkSection& n) { return n.mailServerConfirm <= 1; }

bool RecordSetOk(const DvrRecordSetSection& r)
{
    return AllAtMost(r.resolution, std::size(kResolutionNames) - 1) && AllAtMost(r.watermark, 1);
}

bool ScheduleOk(const uint8_t* data, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (data[i] > static_cast<uint8_t>(ScheduleMode::None))
            return false;
    return true;
}

}  // namespace

wire::WriteReason CheckSectionWrite(uint8_t section, const uint8_t* data, size_t length)
{
    const auto span = SectionSpan(section);
    if (!span)
        return wire::WriteReason::BadSection;
    if (length != span->size)
        return wire::WriteReason::BadLength;
    bool ok = true;
    switch (section) {
    case kSectionSystem: ok = SystemOk(Copy<DvrSystemSection>(data)); break;
    case kSectionCamera: ok = CameraOk(Copy<DvrCameraSection>(data)); break;
    case kSectionSensor: ok = SensorOk(Copy<DvrSensorSection>(data)); break;
    case kSectionNetwork: ok = NetworkOk(Copy<DvrNetworkSection>(data)); break;
    case kSectionRecordSet: ok = RecordSetOk(Copy<DvrRecordSetSection>(data)); break;
    case kSectionSchedule: ok = ScheduleOk(data, length); break;
    }
    return ok ? wire::WriteReason::Ok : wire::WriteReason::OutOfRange;
}

}  // namespace emulator
