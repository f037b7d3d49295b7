#pragma once

#include <functional>

struct AVFrame;

// Receives decoded (or filtered) pictures; the frame is only valid during the call.
using FrameSink = std::function<void(const AVFrame*)>;
