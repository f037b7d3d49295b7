#include "core/viewer/MainWindowControlTable.h"

namespace {

constexpr int kGridStepX = 35;
constexpr int kGridStepY = 30;
constexpr int kGridTop = 643;
constexpr int kVideoGridLeft = 474;
constexpr int kAudioGridLeft = 671;

void AddGrid(std::vector<ControlPlacement>& table, int firstId, const char* prefix, int left)
{
    for (int i = 0; i < 16; ++i)
        table.push_back({firstId + i, prefix + std::to_string(i + 1), left + kGridStepX * (i % 4),
                         kGridTop + kGridStepY * (i / 4), 33, 29});
}

std::vector<ControlPlacement> BuildTable()
{
    std::vector<ControlPlacement> table{
        {1002, "m_btn_Config", 834, 82, 56, 61},      {201, "m_btn_Remote", 893, 82, 56, 61},
        {1003, "m_btn_Local", 952, 82, 56, 61},       {1224, "m_btn_Dvr_Info", 834, 355, 56, 61},
        {1239, "m_btn_PTZ", 893, 355, 56, 61},        {1240, "m_btn_Open", 952, 355, 56, 61},
        {1008, "m_btn_Server", 8, 643, 56, 61},       {205, "m_btn_Disconnect", 67, 643, 56, 61},
        {209, "m_btn_Live_On", 126, 643, 56, 61},     {222, "m_btn_Dvr_Setup", 8, 705, 56, 61},
        {233, "m_btn_Capture", 67, 705, 56, 61},      {231, "m_btn_Live_Off", 126, 705, 56, 61},
        {1201, "m_btn_Volume", 629, 645, 28, 29},
    };
    AddGrid(table, 5000, "m_btn_Video_", kVideoGridLeft);
    AddGrid(table, 5100, "m_btn_Audio_", kAudioGridLeft);
    table.push_back({1221, "m_btn_T_Minimize", 979, 10, 14, 14});
    table.push_back({1000, "m_btn_T_Close", 1000, 10, 14, 14});
    return table;
}

} // namespace

const std::vector<ControlPlacement>& MainWindowControlTable()
{
    static const std::vector<ControlPlacement> table = BuildTable();
    return table;
}
