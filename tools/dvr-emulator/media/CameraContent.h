#pragma once

#include <optional>
#include <string>

namespace emulator::media {

// What a camera's loop shows. Plain: the drawn street, cheap to decode.
// Hard: the street made busy, noisy and moving and coded as cameras code it
// (main profile, CABAC, deblocking), so a decoder pays about what it pays for
// a real camera at the same bit rate.
enum class CameraContent { Plain, Hard };

// "plain" / "hard".
const char* CameraContentName(CameraContent content);
// Nullopt for anything but "plain" or "hard".
std::optional<CameraContent> ParseCameraContent(const std::string& text);

}  // namespace emulator::media
