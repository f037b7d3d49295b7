#include "ui/app/MainWindowControls.h"

#include "ui/controls/CtrlId.h"

#include <QPushButton>

namespace {

struct CommandButton {
    int id;
    const char* element;
    const char* caption;
};

constexpr CommandButton kButtons[] = {
    {MainWindowControls::kClose, "m_btn_T_Close", "x"},
    {MainWindowControls::kMinimize, "m_btn_T_Minimize", "_"},
    {MainWindowControls::kConfig, "m_btn_Config", "Config"},
    {MainWindowControls::kRemotePlayback, "m_btn_Remote", "Remote"},
    {MainWindowControls::kLocalPlayback, "m_btn_Local", "Local"},
    {MainWindowControls::kServerSelect, "m_btn_Server", "Server"},
    {MainWindowControls::kRemoteSetup, "m_btn_Dvr_Setup", "Setup"},
    {MainWindowControls::kCapture, "m_btn_Capture", "Capture"},
};

} // namespace

MainWindowControls::MainWindowControls(QWidget* window)
    : QObject(window)
    , m_window(window)
{
    for (const CommandButton& b : kButtons) {
        auto* button = new QPushButton(b.caption, window);
        SetCtrlId(button, b.id);
        button->setObjectName(b.element);
        button->setAutoDefault(false);
    }
    // Remote setup needs a listed session; capture a live one.
    Button(kRemoteSetup)->setEnabled(false);
    Button(kCapture)->setEnabled(false);
}

QPushButton* MainWindowControls::Button(int id) const
{
    return FindCtrl<QPushButton>(m_window, id);
}
