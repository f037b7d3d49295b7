// LAN discovery answers: any bytes may arrive on the scan socket.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/dvr/DiscoveryRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const auto record = DecodeDiscoveryRecord(data, size, &error);
    if (!record) {
        if (error.empty())
            std::abort();
        return 0;
    }
    const std::vector<std::uint8_t> again = EncodeDiscoveryRecord(*record);
    const auto back = DecodeDiscoveryRecord(again.data(), again.size());
    if (!back || !(*back == *record))
        std::abort();
    return 0;
}
