#include "core/viewer/SidePanelSelector.h"

bool SidePanelSelector::Press(int id)
{
    switch (id) {
    case kTabInformation: m_tab = m_shown = SidePanel::Information; return true;
    case kTabPtz: m_tab = m_shown = SidePanel::Ptz; return true;
    case kTabPictures: m_tab = m_shown = SidePanel::Pictures; return true;
    case kShowInformation: m_shown = SidePanel::Information; return true;
    case kShowPtz: m_shown = SidePanel::Ptz; return true;
    case kShowPictures: m_shown = SidePanel::Pictures; return true;
    default: return false;
    }
}

std::optional<SidePanel> SidePanelSelector::Shown() const
{
    if (m_fullScreen)
        return std::nullopt;
    return m_shown;
}

void SidePanelSelector::SetFullScreen(bool on)
{
    m_fullScreen = on;
    if (!on)
        m_shown = m_tab;
}
