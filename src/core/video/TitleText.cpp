#include "core/video/TitleText.h"

#include <algorithm>

namespace {

std::string CutToField(std::string text)
{
    if (text.size() > kTitleMaxChars)
        text.resize(kTitleMaxChars);
    return text;
}

std::string ReplaceAll(std::string_view text, char from, char to)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), from, to);
    return out;
}

} // namespace

std::string TitleLine1(std::string_view serverName)
{
    return CutToField(std::string(serverName));
}

std::string TitleLine2(int cameraIndex, std::string_view cameraTitle)
{
    return CutToField(std::to_string(cameraIndex + 1) + "-" + std::string(cameraTitle));
}

std::string LeftCameraLabel(std::string_view line2)
{
    if (line2.starts_with('2'))
        return ReplaceAll(line2, '2', '1');
    if (line2.starts_with('4'))
        return ReplaceAll(line2, '4', '3');
    return std::string(line2);
}

std::string RightCameraLabel(std::string_view line2)
{
    if (line2.starts_with('1'))
        return ReplaceAll(line2, '1', '2');
    if (line2.starts_with('3'))
        return ReplaceAll(line2, '3', '4');
    return std::string(line2);
}
