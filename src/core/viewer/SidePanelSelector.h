#pragma once

#include <optional>

// The right-hand column shows one side panel at a time. Three tab buttons
// choose it and keep exactly one of them down; three hidden buttons switch
// the panels without touching the tabs.
enum class SidePanel { Information, Ptz, Pictures };

class SidePanelSelector {
public:
    static constexpr int kTabInformation = 1224;
    static constexpr int kTabPtz = 1239;
    static constexpr int kTabPictures = 1240;
    static constexpr int kShowInformation = 1007;
    static constexpr int kShowPtz = 203;
    static constexpr int kShowPictures = 202;

    // A press of button `id`; false (and no change) for any other id. A tab
    // pressed while it is already down stays down.
    bool Press(int id);

    SidePanel Tab() const { return m_tab; }
    bool TabDown(SidePanel panel) const { return m_tab == panel; }
    // The panel on screen; none while the video fills the screen.
    std::optional<SidePanel> Shown() const;

    // Full screen hides every side panel; leaving it shows the one whose tab
    // is down, whatever a hidden button showed before.
    void SetFullScreen(bool on);

private:
    SidePanel m_tab = SidePanel::Information;
    SidePanel m_shown = SidePanel::Information;
    bool m_fullScreen = false;
};
