#pragma once

#include <chrono>
#include <functional>
#include <string>

// What the benchmarks that drive the real main window share.

namespace benchsupport {

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
