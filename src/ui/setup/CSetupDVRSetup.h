#pragma once

#include "core/setup/SetupSectionCopies.h"

#include <QWidget>

#include <array>

class CSetupPage;
class QPushButton;
class SetupSession;

// The setup window: seven tab buttons over the area where the pages show,
// one page at a time, and "Exit". It covers the video pane while open. The
// pages share the copies of the settings block the host keeps.
class CSetupDVRSetup : public QWidget {
    Q_OBJECT
public:
    // Pages by tab, in tab order.
    enum Page { kSystem, kCamera, kSensor, kNetwork, kRecordSet, kSchedule, kFileUpload, kPageCount };
    static constexpr int kFirstTab = 1100;  // 1100..1106 in page order
    static constexpr int kExit = 224;
    static constexpr QPoint kPageOrigin{10, 60};
    static constexpr QSize kSize{800, 600};
    static constexpr QSize kPageSize{780, 530};

    CSetupDVRSetup(SetupSession& session, QWidget* parent);

    // Opens the setup on the current recorder's block: every page's copies
    // from it, the System page shown.
    void Open(const ZERD_INFO_BLK& current);
    // New masks came while the setup is open: the pages edit this block now.
    void Redistribute(const ZERD_INFO_BLK& current);
    // "Exit": the host and every page hide, the copies are zeroed and the
    // main window hears that the setup closed.
    void Exit();
    // Tab button of `page` clicked.
    void ShowPage(Page page);

    bool IsPageActive(Page page) const { return m_active[page]; }
    CSetupPage* PageAt(Page page) const { return m_pages[page]; }
    QPushButton* Tab(Page page) const { return m_tabs[page]; }
    SetupSectionCopies& Copies() { return m_copies; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createPages();

    SetupSession& m_session;
    SetupSectionCopies m_copies;
    std::array<CSetupPage*, kPageCount> m_pages{};
    std::array<QPushButton*, kPageCount> m_tabs{};
    std::array<bool, kPageCount> m_active{};
};
