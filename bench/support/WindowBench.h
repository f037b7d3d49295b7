#pragma once

#include "media/CameraContent.h"

#include <chrono>
#include <functional>
#include <string>

// What the benchmarks that drive the real main window share.

namespace benchsupport {

// The command line of a window benchmark:
//   [--content plain|hard] [--seconds N] [--rounds R] [--bitrate BITS[k|M]]
// N seconds measured (1..3600) in each of R rounds (1..20); the camera
// content and bit rate asked of the emulator.
struct WindowBenchOptions {
    int seconds = 10;
    int rounds = 3;
    long bitRate = 1500000;  // as in bench_live_path
    emulator::media::CameraContent content = emulator::media::CameraContent::Plain;
};
// Exits with the usage on a bad command line.
WindowBenchOptions ParseWindowBenchOptions(int argc, char** argv);

// A fresh work folder under /tmp named after the benchmark, holding the
// window's drive C: and registry (DVR_DRIVE_C, DVR_REGISTRY), so a run never
// touches the user's; the offscreen platform unless QT_QPA_PLATFORM says
// otherwise. Call before the application object is made. Empty on failure.
std::string PrepareWindowWorkFolder(const char* benchName);

// Runs the window's event loop for a while.
void RunEvents(std::chrono::milliseconds duration);
// Runs it until done() holds, at most timeout; returns done().
bool RunEventsUntil(const std::function<bool()>& done, std::chrono::seconds timeout);

} // namespace benchsupport
