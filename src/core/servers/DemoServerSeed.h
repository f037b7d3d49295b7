#pragma once

#include "core/servers/ServerRecord.h"

class CRegConfig;

// The record of the recorder emulator the demo starts on loopback.
ServerRecord EmulatorServerRecord();

// Adds the emulator's record when no server is registered yet, so a first
// run has one server to pick; an existing directory is never touched. True
// when the record was added.
bool SeedEmulatorServer(CRegConfig& reg);
