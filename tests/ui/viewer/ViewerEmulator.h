#pragma once

#include "support/processes/EmulatorProcess.h"

#include <cstddef>

// One recorder emulator process for the whole test program, started on first
// use; each test connects to the recorders it needs.
enum Recorder : std::size_t {
    kFourA,         // MODEL_F, four channels
    kFourB,
    kFourC,         // closes a session left unpolled for two seconds
    kSixteen,       // MODEL_C
    kPaired,        // MODEL_E: channels 1+2 and 3+4 in pairs, audio on channel 1 only
    kEight,         // MODEL_B
    kRejecting,     // every log-in is a wrong password
    kOneSession,    // serves one session at a time
    kOtherVersion,  // speaks another protocol version
    kSilent,        // stops answering polls at once
    kAlarming,      // raises a sensor alarm every second, sensors in turn
    kRecorderCount
};

// Null (with the reason in `error`) when the process could not start.
EmulatorProcess* ViewerEmulator(std::string* error);
