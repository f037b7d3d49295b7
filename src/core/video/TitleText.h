#pragma once

#include <string>
#include <string_view>

// The two title lines drawn on a live pane. Each is kept in a 50-byte field,
// so a line holds at most 49 characters.
constexpr std::size_t kTitleFieldBytes = 50;
constexpr std::size_t kTitleMaxChars = kTitleFieldBytes - 1;

// Line 1: the server's name.
std::string TitleLine1(std::string_view serverName);
// Line 2: "%d-%s", the camera number counted from 1 and the camera's title.
std::string TitleLine2(int cameraIndex, std::string_view cameraTitle);

// Labels of a picture that carries two cameras side by side, made from line 2:
// the left half always reads as the odd camera (1 or 3), the right half as the
// even one (2 or 4), whichever of the pair was requested.
std::string LeftCameraLabel(std::string_view line2);
std::string RightCameraLabel(std::string_view line2);
