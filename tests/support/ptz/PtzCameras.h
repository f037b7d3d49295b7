#pragma once

// Gives a recorder's cameras PTZ protocols and addresses, as its camera setup
// page would: one camera section written over a session of its own.

#include "core/dvr/NotifyCodes.h"
#include "core/dvr/SettingsBlock.h"
#include "integration/netctrl/NotificationLog.h"
#include "platform/netctrl/ZERDNetwork.h"

#include <cstdint>
#include <string>
#include <vector>

struct PtzCamera {
    int channel;            // 0-based
    std::uint8_t protocol;  // index into the protocol list, 0 = None
    std::uint8_t address;
};

inline bool SetPtzCameras(std::uint16_t port, const std::vector<PtzCamera>& cameras)
{
    using namespace std::chrono_literals;
    NotificationLog log;
    CZERDNetwork net;
    std::string host = "127.0.0.1", account = "ADMIN", password = "5829";
    if (!net.Create(host.data(), static_cast<short>(port), true, kMsgNetworkNotify, log.Handle(), 0))
        return false;
    net.SessionOpen(account.data(), password.data());
    if (!log.WaitFor(net.SessionId(), kNotifyLoggedOnAdmin, 10s))
        return false;
    std::size_t mark = log.Size();
    net.GetDVRInfo();
    if (!log.WaitFor(net.SessionId(), kNotifySettingsReceived, 10s, mark))
        return false;
    ZERD_INFO_BLK block = net.GetReceivedDVRInfo();
    std::uint16_t present = block.camera.ptzPresentMask.get();
    for (const PtzCamera& c : cameras) {
        block.camera.ptzProtocol[c.channel] = c.protocol;
        block.camera.ptzAddress[c.channel] = c.address;
        present = static_cast<std::uint16_t>(c.protocol ? present | (1u << c.channel) : present & ~(1u << c.channel));
    }
    block.camera.ptzPresentMask.set(present);
    mark = log.Size();
    net.SetDVRInfo(&block.camera, kSectionCamera);
    return log.WaitFor(net.SessionId(), kNotifySettingsWritten, 10s, mark);
}
