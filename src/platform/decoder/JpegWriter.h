#pragma once

#include <string>

struct AVFrame;

// Writes a decoded picture at its own size as a baseline JPEG file. False,
// and no file left behind, when it cannot be encoded or written.
bool WriteJpegFile(const AVFrame* frame, const std::string& path);
