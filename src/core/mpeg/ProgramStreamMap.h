#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace mpeg {

// The map we write declares 32 elementary streams in exactly this many bytes.
constexpr size_t kStreamMapEntries = 32;
constexpr size_t kStreamMapSize = 276;

// Descriptors of our own (user-private tags). The map-level one gives the unit
// of the per-stream maximum picture size, which is stored in whole units so
// that 32 streams fit the fixed size.
constexpr uint8_t kSizeUnitDescriptorTag = 0xF0;       // 2 bytes: pixels per unit, big-endian
constexpr uint8_t kMaxPictureSizeDescriptorTag = 0xF1; // 2 bytes: width, height in units
constexpr int kPictureSizeUnit = 16;

struct StreamMapEntry {
    uint8_t streamType = 0;
    uint8_t streamId = 0;
    int maxWidth = 0;   // 0 when the map does not say
    int maxHeight = 0;
};

struct ProgramStreamMap {
    uint8_t version = 0;
    bool currentNext = true;
    std::vector<StreamMapEntry> entries;
    size_t size = 0;  // bytes of the whole map unit
};

// Writes the 276-byte map of 32 streams. Sizes are rounded up to whole units
// and limited to 255 units; negative sizes count as 0.
void WriteProgramStreamMap(uint8_t* out276, const uint8_t* streamTypes32, const int* maxWidths32,
                           const int* maxHeights32, const uint8_t* streamIds32);

// Reads any program stream map at data (ours or a foreign one). Nothing when
// it is not one, its lengths disagree or run past size, or its CRC is wrong.
std::optional<ProgramStreamMap> ParseProgramStreamMap(const uint8_t* data, size_t size);

} // namespace mpeg
