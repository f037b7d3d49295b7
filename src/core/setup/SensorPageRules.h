#pragma once

#include <cstdint>

#include "core/dvr/ZerdInfoBlock.h"

// What the Sensor page shows for one sensor input.
struct SensorPageFields {
    std::uint16_t cameraLinks = 0; // bit n: camera button n + 1 checked
    std::uint8_t outputLinks = 0;  // bit k: output button k + 1 checked
    int startHour = 0;
    int endHour = 24;
    int typePosition = 0;          // "NC", "NO"
    int modePosition = 0;          // "NORMAL", "INTENSIVE"
    int recordDwell = 0;
    int outputDwell = 0;
    bool operator==(const SensorPageFields&) const = default;
};

// Language pack strings for an operation hour typed outside 0..24.
inline constexpr int kStrStartHourRange = 6049;
inline constexpr int kStrEndHourRange = 6051;

SensorPageFields FillSensorPage(const DvrSensorSection& section, int sensor);
// The end hour is stored as 24 when not after the start; dwell times keep
// their low 9 bits; the flag bits 0..11 stay as they were.
void StoreSensorPage(const SensorPageFields& fields, DvrSensorSection& section, int sensor);
// "Default" for all eight sensors: hours 0 to 24, dwell times 0, no links.
// Contact type, mode and the recorder's flag bits stay.
void SetSensorDefaults(DvrSensorSection& section);
// The page's default for one sensor: no links, all day, no dwell.
void ClearSensorPage(SensorPageFields& fields);

// How many sensor, camera and output buttons (from the first) the model
// leaves enabled.
struct SensorLimits {
    int sensors = 8;
    int cameras = 16;
    int outputs = 8;
    bool operator==(const SensorLimits&) const = default;
};
SensorLimits SensorModelLimits(std::uint8_t dvrTypeCode);
