#include "core/ptz/PtzPacket.h"

namespace ptz {

PtzPacket BuildPtzPacket(InterfaceTypeFn interfaceType, void* window, std::uint8_t channel,
                         const std::function<int(unsigned char*)>& write)
{
    PtzPacket packet;
    if (!write)
        return packet;
    if (interfaceType)
        interfaceType(window);
    packet.driverCount = write(packet.bytes.data());
    // Trusting a wrong count would write the trailer outside the buffer or
    // send whatever lies behind the driver's bytes.
    if (packet.driverCount < 0 || packet.driverCount > kMaxDriverBytes) {
        packet.status = PacketStatus::BadCount;
        return packet;
    }
    const auto n = static_cast<std::size_t>(packet.driverCount);
    packet.bytes[n] = kTrailerMark;
    packet.bytes[n + 1] = kTrailerMark;
    packet.bytes[n + 2] = channel;
    packet.length = packet.driverCount + kTrailerSize;
    packet.status = PacketStatus::Ready;
    return packet;
}

}  // namespace ptz
