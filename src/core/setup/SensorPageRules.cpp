#include "core/setup/SensorPageRules.h"

#include "core/dvr/SensorFlags.h"

#include <algorithm>

namespace {

std::uint8_t Hour(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 24));
}

} // namespace

SensorPageFields FillSensorPage(const DvrSensorSection& section, int sensor)
{
    const SensorFlags flags = SensorFlags::FromWord(section.flags[sensor].get());
    SensorPageFields f;
    f.cameraLinks = section.cameraLinks[sensor].get();
    f.outputLinks = section.outputLinks[sensor];
    f.startHour = section.startHour[sensor];
    f.endHour = section.endHour[sensor];
    f.typePosition = flags.normallyOpen ? 1 : 0;
    f.modePosition = flags.intensive ? 1 : 0;
    f.recordDwell = flags.recordDwell;
    f.outputDwell = flags.outputDwell;
    return f;
}

void StoreSensorPage(const SensorPageFields& f, DvrSensorSection& section, int sensor)
{
    section.cameraLinks[sensor].set(f.cameraLinks);
    section.outputLinks[sensor] = f.outputLinks;
    const std::uint8_t start = Hour(f.startHour);
    section.startHour[sensor] = start;
    section.endHour[sensor] = SensorEndHour(start, Hour(f.endHour));
    SensorFlags flags;
    flags.normallyOpen = f.typePosition != 0;
    flags.intensive = f.modePosition != 0;
    flags.recordDwell = static_cast<std::uint16_t>(f.recordDwell & 0x1FF);
    flags.outputDwell = static_cast<std::uint16_t>(f.outputDwell & 0x1FF);
    section.flags[sensor].set(flags.ToWord(section.flags[sensor].get()));
}

void SetSensorDefaults(DvrSensorSection& section)
{
    for (std::size_t s = 0; s < kMaxSensors; ++s) {
        SensorPageFields f = FillSensorPage(section, static_cast<int>(s));
        ClearSensorPage(f);
        StoreSensorPage(f, section, static_cast<int>(s));
    }
}

void ClearSensorPage(SensorPageFields& fields)
{
    fields.cameraLinks = 0;
    fields.outputLinks = 0;
    fields.startHour = 0;
    fields.endHour = 24;
    fields.recordDwell = 0;
    fields.outputDwell = 0;
}

SensorLimits SensorModelLimits(std::uint8_t dvrTypeCode)
{
    switch (dvrTypeCode) {
    case 1: return {4, 4, 2};
    case 2: return {8, 8, 8};
    case 6: return {4, 4, 4};
    default: return {8, 16, 8};
    }
}
