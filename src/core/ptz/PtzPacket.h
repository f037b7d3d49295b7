#pragma once

#include "core/ptz/PtzEntryPoints.h"

#include <array>
#include <cstdint>
#include <functional>

// The command sequence: clear the command buffer, call InterfaceType, let the
// driver write its bytes, append the trailer 'a' 'a' <channel>. The packet
// goes unchanged to the recorder's serial line.

namespace ptz {

inline constexpr int kCommandBufferSize = 128;
inline constexpr int kTrailerSize = 3;
inline constexpr int kMaxDriverBytes = kCommandBufferSize - kTrailerSize;
inline constexpr std::uint8_t kTrailerMark = 0x61;

enum class PacketStatus {
    Ready,     // bytes[0, length) are to be sent
    NoEntry,   // the driver lacks the entry point: nothing to send, not a failure
    BadCount,  // the driver returned a negative count or more than kMaxDriverBytes: dropped
};

struct PtzPacket {
    PacketStatus status = PacketStatus::NoEntry;
    int driverCount = 0;  // what the driver returned
    int length = 0;       // driverCount + kTrailerSize when Ready
    std::array<std::uint8_t, kCommandBufferSize> bytes{};
};

// `write` calls the driver's entry point with the buffer and returns its
// count; an empty `write` means the entry point is missing. A missing
// InterfaceType is skipped.
PtzPacket BuildPtzPacket(InterfaceTypeFn interfaceType, void* window, std::uint8_t channel,
                         const std::function<int(unsigned char*)>& write);

}  // namespace ptz
