#include "core/setup/RecordSetPageRules.h"

#include <algorithm>

namespace {

std::uint8_t Byte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

RecordSetPageFields FillRecordSetPage(const DvrRecordSetSection& s)
{
    RecordSetPageFields f;
    for (int g = 0; g < 2; ++g) {
        f.resolutionPosition[g] = s.resolution[g] < 4 ? s.resolution[g] : -1;
        f.watermarkPosition[g] = s.watermark[g] < 2 ? s.watermark[g] : -1;
        f.watermarkStrength[g] = s.watermarkStrength[g];
        f.watermarkKey[g] = s.watermarkKey[g];
        f.hiddenValue[g] = s.hiddenValue[g].get();
        f.audioRecord[g] = s.audioRecord[g] & 0x0F;
    }
    f.videoRecordChoice = s.videoRecordChoice & 0x0F;
    return f;
}

void StoreRecordSetPage(const RecordSetPageFields& f, DvrRecordSetSection& s)
{
    for (int g = 0; g < 2; ++g) {
        // Nothing chosen in a list keeps what is stored.
        if (f.resolutionPosition[g] >= 0)
            s.resolution[g] = Byte(f.resolutionPosition[g]);
        if (f.watermarkPosition[g] >= 0)
            s.watermark[g] = Byte(f.watermarkPosition[g]);
        s.watermarkStrength[g] = Byte(f.watermarkStrength[g]);
        s.watermarkKey[g] = Byte(f.watermarkKey[g]);
        s.hiddenValue[g].set(static_cast<std::uint16_t>(std::clamp(f.hiddenValue[g], 0, 65535)));
        // Bits of cameras without a button stay as the recorder has them.
        s.audioRecord[g] = static_cast<std::uint8_t>((s.audioRecord[g] & 0xF0) | (f.audioRecord[g] & 0x0F));
    }
    s.videoRecordChoice = f.videoRecordChoice;
}

void SetRecordSetDefaults(RecordSetPageFields& f)
{
    f.resolutionPosition = {0, 0};
    f.watermarkPosition = {0, 0};
    f.watermarkStrength = {0, 0};
    f.watermarkKey = {0, 0};
    f.hiddenValue = {10, 10};
    f.audioRecord = {0x0F, 0x0F};
    f.videoRecordChoice = 1;
}

std::uint8_t VideoRecordChoice(int button, bool nowChecked)
{
    if (button < 1 || button > 4 || !nowChecked)
        return 0;
    return static_cast<std::uint8_t>(1u << (button - 1));
}

int PairedGroupAResolution(int position)
{
    switch (position) {
    case 1: return 0;
    case 2: return 3;
    default: return position;
    }
}

bool VideoRecordUsable(int groupAResolutionPosition)
{
    return groupAResolutionPosition >= 2;
}

bool IsPairedModel(std::uint8_t dvrTypeCode)
{
    return dvrTypeCode == 1 || dvrTypeCode == 5;
}

RecordSetLimits RecordSetModelLimits(std::uint8_t dvrTypeCode)
{
    using Video = RecordSetLimits::Video;
    RecordSetLimits l;
    switch (dvrTypeCode) {
    case 1:
        l = {false, false, Video::ByResolution, "GROUP A CAMERA 1~4", "GROUP B CAMERA NONE"};
        break;
    case 2:
        l = {true, true, Video::Unchanged, "GROUP A CAMERA 1~4", "GROUP B CAMERA 5~8"};
        break;
    case 3:
    case 5:
        l = {true, true, Video::Disabled, "GROUP A CAMERA 1~8", "GROUP B CAMERA 9~16"};
        break;
    case 6:
        l = {false, true, Video::Disabled, "GROUP A CAMERA 1~4", "GROUP B CAMERA NONE"};
        break;
    default:
        break;
    }
    return l;
}
