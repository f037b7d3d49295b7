#pragma once

#include <string>
#include <vector>

// The main window's skinned buttons: control id, skin element and the pixel
// rectangle the skin set-up moves each one to (1024 x 768 window).
struct ControlPlacement {
    int id;
    std::string element;
    int x;
    int y;
    int width;
    int height;
    bool operator==(const ControlPlacement&) const = default;
};

// In the order the set-up skins them: "m_btn_Config" first, the two title
// buttons last; channel buttons 5000+i and audio buttons 5100+i in 4 x 4 grids.
const std::vector<ControlPlacement>& MainWindowControlTable();

// The element of the main window itself.
inline const char* MainWindowBackgroundElement()
{
    return "m_bg_Liveview";
}
