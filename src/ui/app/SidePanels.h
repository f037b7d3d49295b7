#pragma once

#include "core/viewer/SidePanelSelector.h"

#include <QObject>
#include <QRect>

#include <array>

class CPictureDlg;
class QPushButton;
class QWidget;

// The right-hand column's side panels (information, PTZ, pictures), one on
// screen at a time, and the buttons that choose them: tabs 1224, 1239, 1240
// and the hidden 1007, 203, 202. The PTZ and picture panels take a fixed
// area; the information panel is the caller's, placed where it wants it.
class SidePanels : public QObject {
    Q_OBJECT
public:
    static constexpr QRect kArea{841, 169, 159, 175};

    SidePanels(QWidget* window, QWidget* information);

    // The panel's frame; its content is the owning part's.
    QWidget* Panel(SidePanel panel) const { return m_panels[Index(panel)]; }

    CPictureDlg* Pictures() const { return m_pictures; }

    const SidePanelSelector& Selector() const { return m_selector; }
    void Press(int id);
    void SetFullScreen(bool on);

private:
    static std::size_t Index(SidePanel panel) { return static_cast<std::size_t>(panel); }
    void show();

    SidePanelSelector m_selector;
    std::array<QWidget*, 3> m_panels{};
    std::array<QPushButton*, 3> m_tabs{};
    CPictureDlg* m_pictures = nullptr;
};
