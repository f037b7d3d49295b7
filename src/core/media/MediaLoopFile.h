#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/media/MediaLoop.h"

// The on-disk form of one encoded media loop, so a camera is encoded once and
// read back on later starts. A file is outside bytes: reading checks every
// size, the checksum, the key it was made for and that each unit is one whole
// PES packet, and refuses the file on any doubt (the caller then re-encodes).
//
// Layout, integers little-endian:
//   "OMBRLOOP", u32 format version, u16 key length, key bytes,
//   u32 duration ms, u32 unit count,
//   per unit: u32 time ms, u8 flags (bit 0 keyframe), u32 size, PES bytes,
//   u64 FNV-1a checksum of everything before it.

namespace media {

constexpr uint32_t kMediaLoopFileVersion = 1;
constexpr size_t kMaxMediaLoopUnitSize = 1000000;  // below the viewer's 1,024,000-byte reassembly buffer

std::vector<uint8_t> EncodeMediaLoopFile(const MediaLoop& loop, const std::string& key);

bool DecodeMediaLoopFile(const uint8_t* data, size_t size, const std::string& expectedKey, MediaLoop* out,
                         std::string* error);

uint64_t Fnv1a64(const uint8_t* data, size_t size);

}  // namespace media
