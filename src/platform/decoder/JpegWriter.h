#pragma once

#include <string>

struct AVFrame;

// Writes a decoded picture at its own size as a baseline JPEG file. False,
// and no file left behind, when it cannot be encoded or written.
bool WriteJpegFile(const AVFrame* frame, const std::string& path);

// Adds a comment segment to a JPEG file written before (a local path),
// replacing the file in one rename so a failure leaves it as it was.
bool AddJpegComment(const std::string& path, const std::string& comment);
