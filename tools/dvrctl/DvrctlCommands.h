#pragma once

#include <string>

#include "DvrctlOptions.h"

// Runs the command of the options; returns the exit code, with one line on
// stderr for a failure.
int RunDvrctlCommand(const DvrctlOptions& options);

// Writes "dvrctl: reason" on stderr and returns code.
int Fail(int code, const std::string& reason);

// The commands that decode play no sound: the decoder's audio output goes to
// SDL's silent driver unless the caller chose one, so a machine without a
// sound device prints nothing about it.
void UseSilentAudio();
