#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/dvr/ZerdInfoBlock.h"

// What the Record Set page shows; index 0 is group A, 1 group B.
struct RecordSetPageFields {
    std::array<int, 2> resolutionPosition{};
    std::array<int, 2> watermarkPosition{};  // "Disable", "Enable"
    std::array<int, 2> watermarkStrength{};
    std::array<int, 2> watermarkKey{};
    std::array<int, 2> hiddenValue{};
    std::array<std::uint8_t, 2> audioRecord{}; // bit k: audio button k + 1 of the group
    std::uint8_t videoRecordChoice = 0;        // bit k - 1: video record button k
    bool operator==(const RecordSetPageFields&) const = default;
};

RecordSetPageFields FillRecordSetPage(const DvrRecordSetSection& section);
void StoreRecordSetPage(const RecordSetPageFields& fields, DvrRecordSetSection& section);
// "Default": resolutions 0, watermarks off, strengths and keys 0, hidden
// values 10, every audio button on, video record "1".
void SetRecordSetDefaults(RecordSetPageFields& fields);

// Video record button k (1..4) clicked, `nowChecked` its state after: the
// choice byte it leaves (only that button, or none).
std::uint8_t VideoRecordChoice(int button, bool nowChecked);

// Group A's resolution chosen on a paired recorder (MODEL_A, MODEL_E): the
// position the list settles on (1 becomes 0, 2 becomes 3).
int PairedGroupAResolution(int position);
// Whether the video record buttons may be used at that group A resolution.
bool VideoRecordUsable(int groupAResolutionPosition);

// What opening the page on a model enables and the group titles.
struct RecordSetLimits {
    bool groupB = true;
    bool audio34 = true;       // audio buttons "3" and "4"
    enum class Video { Unchanged, Disabled, ByResolution } video = Video::Unchanged;
    std::string titleA = "Group A Camera 1~8";
    std::string titleB = "Group B Camera 9~16";
};
RecordSetLimits RecordSetModelLimits(std::uint8_t dvrTypeCode);
bool IsPairedModel(std::uint8_t dvrTypeCode);
