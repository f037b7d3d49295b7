#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The JPEG file with a comment (COM) segment after its start and application
// segments, where readers such as exiftool look for it. A comment longer
// than one segment holds is cut. Nullopt when the bytes are not a JPEG file
// or its segments run past the end.
std::optional<std::vector<std::uint8_t>> InsertJpegComment(const std::vector<std::uint8_t>& jpeg,
                                                           std::string_view comment);
