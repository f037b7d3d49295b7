// Port and protocol texts come from server records that any tool may have
// written: they must parse to a port or to 0, never misbehave.
#include "core/viewer/ConnectRequest.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::uint16_t port = ParsePortText(text);
    if (port != 0 && text.find_first_not_of(" \t0123456789") != std::string::npos)
        __builtin_trap(); // only digits and blanks may give a port
    (void)IsTcpProtocol(text);
    return 0;
}
