#pragma once

#include <cstddef>
#include <cstdint>

// Texts of the coded values of the settings block, indexed by the stored value.

inline constexpr const char* kRecorderLanguageNames[] = {"ENGLISH", "CHINESE", "JAPANESE", "KOREAN"};

inline constexpr const char* kQualityNames[] = {
    "Low(CBR)", "Middle(CBR)", "High(CBR)", "Super High(CBR)",
    "Low(VBR)", "Middle(VBR)", "High(VBR)", "Super High(VBR)"};

inline constexpr const char* kPtzProtocolNames[] = {
    "None", "PTZ_PELCOD", "PTZ_PELCO", "PTZ_PANASONIC", "PTZ_LPT-A100L(485)", "PTZ_DOME1",
    "PTZ_DOME2", "PTZ_ScanDome2", "PTZ_WPT-101_485", "PTZ_SJ-2819RX", "PTZ_SK-2162D", "PTZ_DSC230",
    "PTZ_GROOM-10(SK-D106)", "PTZ_CA-Z1723", "PTZ_CANON_VCC4", "PTZ_SCC-C4201", "PTZ_CRR1600T",
    "PTZ_SRX-100B(485)", "PTZ_VVK-3000", "PTZ_ORX-1000"};

inline constexpr const char* kResolutionNames[] = {
    "NTSC:352*240 | PAL:352*288", "NTSC:720*240 | PAL:720*288",
    "NTSC:352*480 | PAL:352*576", "NTSC:720*480 | PAL:720*576"};

inline constexpr const char* kEventMailNames[] = {
    "ALL", "POWER", "SENSOR", "RECORD", "CAMERA", "LAN", "BACKUP", "SETUP", "TIME"};

// Schedule value 0..4 as the letter shown in its cell.
inline constexpr char kScheduleLetters[] = {'C', 'M', 'D', 'S', 'X'};

// Null when the index lies outside the list.
template <std::size_t N>
constexpr const char* CodedName(const char* const (&names)[N], unsigned index)
{
    return index < N ? names[index] : nullptr;
}
