#include "core/video/SnapshotNaming.h"

namespace {

std::string TimeText(const char* pattern, const std::tm& local)
{
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, pattern, &local);
    return std::string(text, length);
}

} // namespace

std::string CaptureFileName(int channel, const std::tm& local)
{
    return "Live_" + std::to_string(channel + 1) + "CH_" + TimeText("%Y_%m%d_%H%M%S", local) + ".jpg";
}

std::string SnapshotComment(const SnapshotSource& source, const std::tm& local)
{
    std::string comment = "Recorder: " + source.recorderName;
    if (!source.recorderAddress.empty())
        comment += " (" + source.recorderAddress + ")";
    comment += "; Camera: ";
    comment += source.cameraNumber > 0 ? std::to_string(source.cameraNumber) : std::string("unknown");
    if (!source.cameraName.empty())
        comment += " " + source.cameraName;
    return comment + "; Captured: " + TimeText("%Y-%m-%d %H:%M:%S", local);
}
