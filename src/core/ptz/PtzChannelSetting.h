#pragma once

#include "core/dvr/ZerdInfoBlock.h"

#include <cstdint>
#include <string>

namespace ptz {

// What the recorder's settings block says of one channel's PTZ camera.
struct PtzChannelSetting {
    std::string driverName;  // protocol name; empty for "None" or an index outside the list
    std::uint8_t ptzId = 0;  // camera address on the line
};

// channel 0..15; outside that, no driver.
PtzChannelSetting PtzSettingOf(const ZERD_INFO_BLK& block, int channel);

}  // namespace ptz
