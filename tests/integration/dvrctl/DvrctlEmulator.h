#pragma once

#include "support/processes/EmulatorProcess.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One recorder emulator process for the whole test program, started on first
// use; each test runs dvrctl against the recorders it needs.
enum Recorder : std::size_t {
    kSixteen,    // MODEL_C, sixteen cameras
    kEight,      // MODEL_B, eight cameras
    kLossy,      // loses every live picture on the way
    kRefusing,   // refuses live video and log downloads
    kRejecting,  // every log-in is a wrong password
    kTampering,  // damages and repeats some of its UDP datagrams
    kRecorderCount
};

// Null (with the reason in `error`) when the process could not start.
EmulatorProcess* DvrctlEmulator(std::string* error);
// The UDP port its recorders answer scans on.
std::uint16_t DvrctlDiscoveryPort();
// The connection options of dvrctl for one recorder.
std::vector<std::string> Connection(Recorder recorder, const std::string& account = "ADMIN",
                                    const std::string& password = "5829");
