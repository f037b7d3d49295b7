#pragma once

#include <string>

// Starts another program and does not wait for it. The command line's first
// word names the program: looked for in the install folder first, then on
// PATH. The new process runs in workingFolder. False (with a reason) when the
// program could not be started.
bool LaunchDetached(const std::string& commandLine, const std::string& workingFolder, std::string* error);
