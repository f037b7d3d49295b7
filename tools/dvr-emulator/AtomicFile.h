#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace emulator {

// Replaces path with bytes so that a crash leaves either the old or the new
// file, never a mix: write a temporary file beside it, fsync, rename over,
// fsync the folder. False with *error on failure (the old file stays).
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

// Writes all length bytes to fd, resuming after interruptions; false on an
// error (some bytes may have been written).
bool WriteAll(int fd, const uint8_t* data, size_t length);

// The whole file; false with *error when it cannot be read.
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>* bytes, std::string* error);

// Creates the folder and its parents; false with *error on failure.
bool MakeFolders(const std::string& path, std::string* error);

}  // namespace emulator
