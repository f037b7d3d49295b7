#include "core/video/OverlayState.h"
#include "platform/decoder/LiveDecoder.h"
#include "support/QtTestApp.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/CUserViewDlg.h"
#include "ui/video/VideoWindowState.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

PaneRect Cell(int channel)
{
    const int c = channel % 4, r = channel / 4;
    return {200 * c, 150 * r, 200 * c + 200, 150 * r + 150};
}

class UserViewDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(decoder.Initialise(0, 1, 720, 576, false));
        host.resize(1024, 768);
        video = new CRenderWnd(&decoder, &overlay, &state, &host);
        layout = new CChannelPosDlg(video, &state, &host);
        view = new CUserViewDlg(video, layout, &state, &overlay, &host);
        video->setGeometry(CRenderWnd::kWindowedGeometry);
        layout->setGeometry(818, 425, 198, 82);
        view->move(809, 507);
        state.connected = state.sessionEstablished = true;
        state.occupiedPanes = 0xFFFF;
        host.show();
        view->Clear();  // as live start does
    }

    // A drag over the grid from one cell to another through the cells between.
    void Drag(GridCell from, std::initializer_list<GridCell> through, GridCell to)
    {
        QTest::mousePress(view, Qt::LeftButton, {}, view->CellCentre(from));
        for (GridCell cell : through)
            QTest::mouseMove(view, view->CellCentre(cell));
        QTest::mouseMove(view, view->CellCentre(to));
        QTest::mouseRelease(view, Qt::LeftButton, {}, view->CellCentre(to));
    }

    QApplication& app = EnsureQApplication();
    CLiveDecoder decoder;
    OverlayState overlay;
    VideoWindowState state;
    QWidget host;
    CRenderWnd* video = nullptr;
    CChannelPosDlg* layout = nullptr;
    CUserViewDlg* view = nullptr;
};

TEST_F(UserViewDlgTest, PanelKeepsItsPlacesAndNames)
{
    EXPECT_EQ(view->size(), QSize(215, 221));
    EXPECT_EQ(view->Button(CUserViewDlg::kClear)->geometry(), QRect(27, 152, 56, 61));
    EXPECT_EQ(view->Button(CUserViewDlg::kApply)->geometry(), QRect(142, 152, 56, 61));
    QPushButton* log = view->Button(CUserViewDlg::kLogViewer);
    EXPECT_EQ(log->geometry(), QRect(86, 152, 56, 61));
    EXPECT_EQ(log->objectName(), "m_btn_logviewer");
    EXPECT_TRUE(log->isVisible());
    QSignalSpy asked(view, &CUserViewDlg::logViewerRequested);
    QTest::mouseClick(log, Qt::LeftButton);
    EXPECT_EQ(asked.count(), 1);
    for (const char* name : {"m_staticleft_Userview", "m_statictop_Userview", "m_staticright_Userview",
                             "m_staticbottom_Userview", "m_btn_Cancel", "m_btn_Update"})
        EXPECT_TRUE(view->findChild<QWidget*>(name)) << name;
}

TEST_F(UserViewDlgTest, DragFromCell31ToCell20PutsChannel7InTheTopRightQuarter)
{
    Drag({3, 1}, {{2, 1}}, {2, 0});
    ASSERT_EQ(view->Grid().Panes().size(), 1u);
    QTest::mouseClick(view->Button(CUserViewDlg::kApply), Qt::LeftButton);
    EXPECT_TRUE(view->Applied());
    EXPECT_EQ(video->PaneOf(7), (PaneRect{400, 0, 800, 300}));
    for (int hidden : {2, 3, 6})
        EXPECT_TRUE(video->PaneOf(hidden).IsHidden()) << hidden;
    for (int channel : {0, 1, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15})
        EXPECT_EQ(video->PaneOf(channel), Cell(channel)) << channel;
    // Every place that keeps a pane follows, the overlay included.
    EXPECT_EQ(video->Pane(7).rect, (PaneRect{400, 0, 800, 300}));
    {
        std::lock_guard guard(overlay.lock);
        EXPECT_EQ(overlay.paneRect[7], (PaneRect{400, 0, 800, 300}));
        EXPECT_EQ(overlay.paneRect[0], Cell(0));
        EXPECT_EQ(overlay.selectedChannel, 7);
    }
    EXPECT_EQ(state.selectedChannel, 7);
    EXPECT_EQ(view->PlacedMask(), 1u << 7);
    for (int id : {kBtnFullScreen, kBtnLayoutSingle, kBtnLayoutQuad, kBtnLayoutNine, kBtnLayoutEight,
                   kBtnLayoutSixteen})
        EXPECT_FALSE(layout->Button(id)->isEnabled() || layout->Button(id)->isChecked()) << id;

    // Applied: the grid takes no more drawing until cleared.
    Drag({0, 2}, {}, {1, 3});
    EXPECT_EQ(view->Grid().Panes().size(), 1u);
    QTest::mouseClick(view->Button(CUserViewDlg::kClear), Qt::LeftButton);
    EXPECT_FALSE(view->Applied());
    EXPECT_TRUE(view->Grid().Panes().empty());
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(video->PaneOf(channel), Cell(channel)) << channel;
    EXPECT_TRUE(layout->Button(kBtnLayoutQuad)->isEnabled());
    EXPECT_EQ(view->PlacedMask(), 0u);
}

TEST_F(UserViewDlgTest, TwoBlocksThatMakeNoViewLeaveBothEmpty)
{
    Drag({0, 0}, {}, {1, 1});
    Drag({3, 3}, {}, {2, 2});
    // Leaving the grid mid-drag drops the band, not the panes.
    QTest::mousePress(view, Qt::LeftButton, {}, view->CellCentre({2, 0}));
    QTest::mouseMove(view, view->CellCentre({3, 1}));
    QTest::mouseMove(view, QPoint(5, 5));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(view->Grid().Panes().size(), 2u);
    view->Apply();
    for (int channel = 0; channel < 16; ++channel) {
        const bool drawn = ((51u | 52224u) >> channel) & 1u;
        EXPECT_EQ(video->PaneOf(channel).IsHidden(), drawn) << channel;
    }
    EXPECT_EQ(view->PlacedMask(), 0u);
}

TEST_F(UserViewDlgTest, FixedLayoutLocksTheEditor)
{
    QTest::mouseClick(layout->Button(kBtnLayoutQuad), Qt::LeftButton);
    ASSERT_TRUE(layout->Applied());
    Drag({0, 0}, {}, {1, 1});
    EXPECT_TRUE(view->Grid().Panes().empty());
    const PaneRect quadPane = video->PaneOf(0);
    view->Apply();
    EXPECT_FALSE(view->Applied());
    EXPECT_EQ(video->PaneOf(0), quadPane);
    // Clear hands the window back to the editor.
    view->Clear();
    EXPECT_FALSE(layout->Applied());
    EXPECT_FALSE(layout->Button(kBtnLayoutQuad)->isChecked());
    Drag({0, 0}, {}, {1, 1});
    EXPECT_EQ(view->Grid().Panes().size(), 1u);
}

} // namespace
