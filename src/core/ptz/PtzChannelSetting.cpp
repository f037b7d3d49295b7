#include "core/ptz/PtzChannelSetting.h"

#include "core/dvr/SettingsLists.h"

#include <iterator>

namespace ptz {

PtzChannelSetting PtzSettingOf(const ZERD_INFO_BLK& block, int channel)
{
    PtzChannelSetting setting;
    if (channel < 0 || channel >= static_cast<int>(std::size(block.camera.ptzProtocol)))
        return setting;
    const unsigned index = block.camera.ptzProtocol[channel];
    // Index 0 is "None", which names no driver.
    if (index != 0)
        if (const char* name = CodedName(kPtzProtocolNames, index))
            setting.driverName = name;
    setting.ptzId = block.camera.ptzAddress[channel];
    return setting;
}

}  // namespace ptz
