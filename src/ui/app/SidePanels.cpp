#include "ui/app/SidePanels.h"

#include "ui/controls/CtrlId.h"
#include "ui/ptz/CPTZController.h"
#include "ui/video/CPictureDlg.h"

#include <QPushButton>
#include <QWidget>

SidePanels::SidePanels(QWidget* window, QWidget* information)
    : QObject(window)
{
    m_panels[Index(SidePanel::Information)] = information;
    m_panels[Index(SidePanel::Ptz)] = new CPTZController(window);
    m_pictures = new CPictureDlg(window);
    m_pictures->setGeometry(kArea);
    m_pictures->hide();
    m_panels[Index(SidePanel::Pictures)] = m_pictures;

    struct Tab {
        int id;
        const char* element;
        const char* caption;
    };
    const Tab tabs[] = {{SidePanelSelector::kTabInformation, "m_btn_Dvr_Info", "Info"},
                        {SidePanelSelector::kTabPtz, "m_btn_PTZ", "PTZ"},
                        {SidePanelSelector::kTabPictures, "m_btn_Open", "Pictures"}};
    for (std::size_t i = 0; i < 3; ++i) {
        auto* tab = new QPushButton(tabs[i].caption, window);
        SetCtrlId(tab, tabs[i].id);
        tab->setObjectName(tabs[i].element);
        tab->setCheckable(true);
        tab->setAutoDefault(false);
        const int id = tabs[i].id;
        connect(tab, &QPushButton::clicked, this, [this, id] { Press(id); });
        m_tabs[i] = tab;
    }
    for (int id : {SidePanelSelector::kShowInformation, SidePanelSelector::kShowPtz, SidePanelSelector::kShowPictures}) {
        auto* hidden = new QPushButton(window);
        SetCtrlId(hidden, id);
        hidden->hide();
        connect(hidden, &QPushButton::clicked, this, [this, id] { Press(id); });
    }
    show();
}

void SidePanels::Press(int id)
{
    m_selector.Press(id);
    show();
}

void SidePanels::SetFullScreen(bool on)
{
    m_selector.SetFullScreen(on);
    show();
}

void SidePanels::show()
{
    const auto shown = m_selector.Shown();
    for (SidePanel panel : {SidePanel::Information, SidePanel::Ptz, SidePanel::Pictures})
        Panel(panel)->setVisible(shown == panel);
    // A click flips a check button; the selector decides what stays down.
    for (std::size_t i = 0; i < 3; ++i)
        m_tabs[i]->setChecked(m_selector.TabDown(static_cast<SidePanel>(i)));
}
