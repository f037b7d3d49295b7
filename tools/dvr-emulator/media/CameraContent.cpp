#include "CameraContent.h"

namespace emulator::media {

const char* CameraContentName(CameraContent content)
{
    return content == CameraContent::Hard ? "hard" : "plain";
}

std::optional<CameraContent> ParseCameraContent(const std::string& text)
{
    if (text == "plain")
        return CameraContent::Plain;
    if (text == "hard")
        return CameraContent::Hard;
    return std::nullopt;
}

}  // namespace emulator::media
