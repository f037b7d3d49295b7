#pragma once

#include <string>

#include "core/dvr/ZerdInfoBlock.h"

// The whole block as one JSON object: every field by name, texts as strings,
// numbers as numbers, per-channel and per-sensor values grouped in arrays of
// objects, reserved bytes as arrays of numbers.
std::string SettingsBlockToJson(const ZERD_INFO_BLK& block);
