#pragma once

#include "core/ptz/PtzEntryPoints.h"

#include <optional>

// The PTZ panel's buttons: what a press or release of each sends.

namespace ptz {

inline constexpr int kControllerId = 8000;
inline constexpr int kHomeButton = 4021;
inline constexpr int kHomeBreakCount = 3;  // the centre button stops three times in a row
inline constexpr int kControllerSpeed = 5;
// The panel's own tooltip: every key it listens to.
inline constexpr const char* kKeysTip =
    "Keys while this panel is shown: arrows pan and tilt, + and - zoom, 1-9 go to a preset, "
    "Ctrl+1-9 store one";

// The actions a held button reports (message 0x600's lParam).
enum class ButtonAction { LeftDown = 0, LeftUp = 1, RightDown = 2, RightUp = 3 };

struct PtzButton {
    int id;
    int left, top, right, bottom;  // client rectangle in the panel
    const char* element;           // skin element
    std::optional<Command> held;   // sent on left button down; none for the centre button
    const char* tip;               // tooltip, with the key that does the same
};

inline constexpr PtzButton kPtzButtons[] = {
    {4019, 60, 5, 99, 34, "m_btn_ptz_Top", Command::TiltUp, "Tilt up while held (key Up)"},
    {4017, 18, 36, 57, 65, "m_btn_ptz_Left", Command::PanLeft, "Pan left while held (key Left)"},
    {kHomeButton, 60, 36, 99, 65, "m_btn_ptz_Home", std::nullopt,
     "Stop the camera (keys: 1-9 go to a preset, Ctrl+1-9 store the position as one)"},
    {4018, 102, 36, 141, 65, "m_btn_ptz_Right", Command::PanRight, "Pan right while held (key Right)"},
    {4020, 60, 67, 99, 96, "m_btn_ptz_Bottom", Command::TiltDown, "Tilt down while held (key Down)"},
    {4013, 12, 101, 51, 122, "m_btn_Focus_plus", Command::FocusFar, "Focus far while held"},
    {4014, 108, 101, 147, 122, "m_btn_Focus_minus", Command::FocusNear, "Focus near while held"},
    {4011, 12, 123, 51, 144, "m_btn_ptz_Zoomin", Command::ZoomOut, "Zoom out while held (key -)"},
    {4012, 108, 123, 147, 144, "m_btn_ptz_Zoomout", Command::ZoomIn, "Zoom in while held (key +)"},
    {4015, 12, 146, 51, 167, "m_btn_Iris_plus", Command::IrisOpen, "Open the iris while held"},
    {4016, 108, 146, 147, 167, "m_btn_Iris_minus", Command::IrisClose, "Close the iris while held"},
};

// The command a held button's report sends: its own on left button down,
// BreakPTZ on any other report. None for ids outside the held buttons.
std::optional<Command> CommandForButton(int id, ButtonAction action);

}  // namespace ptz
