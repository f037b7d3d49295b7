#pragma once
// What a recorder accepts in a section write: the right size, and coded
// fields inside their lists (a recorder cannot run with language 9 or a
// schedule cell 7).

#include "core/net/WireFormat.h"

#include <cstddef>
#include <cstdint>

namespace emulator {

wire::WriteReason CheckSectionWrite(uint8_t section, const uint8_t* data, size_t length);

}  // namespace emulator
