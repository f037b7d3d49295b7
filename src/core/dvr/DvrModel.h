#pragma once

#include <cstdint>
#include <span>

// The recorder models of the family, keyed by the DVR type code of the
// settings block (system section, byte 33).

struct DvrModelInfo {
    std::uint8_t typeCode;   // 1..6
    const char* name;        // "MODEL_A".. : the default model name
    const char* shortCode;   // "MDLA".. : the registry value naming the model
    int channels;            // camera channels
    int sensors;             // alarm sensor inputs
    int outputs;             // alarm outputs
    int audioChannels;       // audio inputs, cameras 1..audioChannels
    bool paired;             // MODEL_A and MODEL_E: two cameras share a picture at low resolution
};

constexpr std::uint8_t kDvrTypeFirst = 1;
constexpr std::uint8_t kDvrTypeLast = 6;

std::span<const DvrModelInfo> DvrModels();
// Null for a code outside 1..6.
const DvrModelInfo* FindDvrModel(int typeCode);
