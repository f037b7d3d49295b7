#include "core/video/OverlayState.h"
#include "platform/decoder/LiveDecoder.h"
#include "support/QtTestApp.h"
#include "ui/controls/CtrlId.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/VideoWindowState.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct RecordingListener : VideoWindowListener {
    struct Selection {
        int channel, server, camera, width, height;
    };
    std::vector<Selection> selections;
    std::vector<std::vector<int>> setupClicks;
    int layoutsApplied = 0;
    int alarmStops = 0;
    std::vector<bool> fullScreen;

    void PaneSelected(int channel, int server, int camera, int width, int height) override
    {
        selections.push_back({channel, server, camera, width, height});
    }
    void CameraSetupClick(unsigned message, int x, int y) override
    {
        setupClicks.push_back({static_cast<int>(message), x, y});
    }
    void StopAlarmDisplay() override { ++alarmStops; }
    void LayoutApplied() override { ++layoutsApplied; }
    void FullScreenChanged(bool on) override { fullScreen.push_back(on); }
};

class VideoWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        ASSERT_TRUE(decoder.Initialise(0, 1, 720, 576, false));
        video = new CRenderWnd(&decoder, &overlay, &state, &host);
        panel = new CChannelPosDlg(video, &state, &host);
        video->SetListener(&listener);
        panel->SetListener(&listener);
        host.resize(1024, 768);
        video->setGeometry(CRenderWnd::kWindowedGeometry);
        panel->setGeometry(830, 440, 220, 90);
    }

    void Connect(std::uint16_t occupied)
    {
        state.connected = true;
        state.sessionEstablished = true;
        state.occupiedPanes = occupied;
        state.currentOwnedPanes = occupied;
    }

    QPushButton* Button(int id) { return panel->Button(id); }

    // A left-button band drawn over the video window.
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(video, Qt::LeftButton, {}, from);
        QTest::mouseMove(video, to);
        QTest::mouseRelease(video, Qt::LeftButton, {}, to);
    }

    QApplication& app = EnsureQApplication(); // before any widget member
    CLiveDecoder decoder;
    OverlayState overlay;
    VideoWindowState state;
    RecordingListener listener;
    QDialog host;
    CRenderWnd* video = nullptr;
    CChannelPosDlg* panel = nullptr;
};

TEST_F(VideoWindowTest, LayoutButtonsDoNothingButUncheckWhileNotConnected)
{
    QTest::mouseClick(Button(kBtnLayoutQuad), Qt::LeftButton);
    EXPECT_FALSE(Button(kBtnLayoutQuad)->isChecked());
    EXPECT_FALSE(panel->Applied());
    EXPECT_EQ(panel->Mode(), LayoutMode::None);
    EXPECT_TRUE(video->PaneOf(0).IsHidden());
    QTest::mouseClick(Button(kBtnFullScreen), Qt::LeftButton);
    EXPECT_FALSE(Button(kBtnFullScreen)->isChecked());
    EXPECT_FALSE(state.fullScreen);
}

TEST_F(VideoWindowTest, LayoutButtonStartsAtTheSelectedChannelAndChecksOnlyItself)
{
    Connect(0xFFFF);
    state.selectedChannel = 14;
    QTest::mouseClick(Button(kBtnLayoutNine), Qt::LeftButton);
    QTest::mouseClick(Button(kBtnLayoutQuad), Qt::LeftButton);
    EXPECT_EQ(panel->Mode(), LayoutMode::Quad);
    EXPECT_TRUE(panel->Applied());
    EXPECT_EQ(listener.layoutsApplied, 2);
    for (int id : {4001, 4003, 4004, 4005})
        EXPECT_FALSE(Button(id)->isChecked()) << id;
    EXPECT_TRUE(Button(4002)->isChecked());
    EXPECT_EQ(video->PaneOf(14), (PaneRect{0, 0, 400, 300}));
    EXPECT_EQ(video->PaneOf(15), (PaneRect{400, 0, 800, 300}));
    EXPECT_EQ(video->PaneOf(0), (PaneRect{0, 300, 400, 600}));
    EXPECT_EQ(video->PaneOf(1), (PaneRect{400, 300, 800, 600}));
    EXPECT_TRUE(video->PaneOf(2).IsHidden());
    EXPECT_EQ(video->Pane(1).rect, video->PaneOf(1));
    {
        std::lock_guard guard(overlay.lock);
        EXPECT_EQ(overlay.paneRect[15], (PaneRect{400, 0, 800, 300}));
    }
    // Clicking the checked button again unchecks it and leaves the panes.
    QTest::mouseClick(Button(kBtnLayoutQuad), Qt::LeftButton);
    EXPECT_FALSE(panel->Applied());
    EXPECT_EQ(video->PaneOf(14), (PaneRect{0, 0, 400, 300}));
}

TEST_F(VideoWindowTest, FullScreenUsesTheScreenAndARightClickLeavesIt)
{
    Connect(0xFFFF);
    state.screenWidth = 1024;
    state.screenHeight = 768;
    panel->ApplyLiveStartLayout();
    EXPECT_TRUE(Button(kBtnLayoutSixteen)->isChecked());
    QTest::mouseClick(Button(kBtnFullScreen), Qt::LeftButton);
    EXPECT_TRUE(state.fullScreen);
    EXPECT_EQ(video->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(video->PaneOf(5), (PaneRect{256, 192, 512, 384}));

    QTest::mouseClick(video, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_FALSE(state.fullScreen);
    EXPECT_FALSE(Button(kBtnFullScreen)->isChecked());
    EXPECT_EQ(video->geometry(), CRenderWnd::kWindowedGeometry);
    EXPECT_EQ(video->PaneOf(5), (PaneRect{200, 150, 400, 300}));
    EXPECT_TRUE(Button(kBtnLayoutSixteen)->isChecked());
    EXPECT_EQ(listener.fullScreen, (std::vector<bool>{true, false}));
}

TEST_F(VideoWindowTest, PairedRecorderGetsItsOwnLayoutAndOnlyFullScreenStaysEnabled)
{
    Connect(0x0003);
    state.pairedRecorder = true;
    panel->ApplyLiveStartLayout();
    for (int id = 4001; id <= 4005; ++id)
        EXPECT_FALSE(Button(id)->isEnabled()) << id;
    EXPECT_TRUE(Button(kBtnFullScreen)->isEnabled());
    EXPECT_EQ(video->PaneOf(0), (PaneRect{0, 0, 800, 300}));
    EXPECT_EQ(video->PaneOf(1), (PaneRect{0, 300, 800, 600}));

    state.pairedRecorder = false;
    panel->ApplyLiveStartLayout();
    EXPECT_TRUE(Button(kBtnLayoutSingle)->isEnabled());
}

TEST_F(VideoWindowTest, ClickSelectsTheLivePaneUnderThePointerOrStopsAnAlarmDisplay)
{
    Connect(0x0003);
    panel->ApplyLiveStartLayout();
    video->Pane(1).Assign(2, 1, 6);
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(250, 20));
    EXPECT_EQ(state.selectedChannel, 1);
    EXPECT_EQ(video->SelectedPane(), 1);
    ASSERT_EQ(listener.selections.size(), 1u);
    EXPECT_EQ(listener.selections[0].channel, 1);
    EXPECT_EQ(listener.selections[0].server, 2);
    EXPECT_EQ(listener.selections[0].camera, 6);
    EXPECT_EQ(listener.selections[0].width, 720);  // nothing decoded yet: the assumed size
    {
        std::lock_guard guard(overlay.lock);
        EXPECT_EQ(overlay.selectedChannel, 1);
    }
    // Pane 5 shows nothing live: the click selects nothing.
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(250, 170));
    EXPECT_EQ(state.selectedChannel, 1);
    EXPECT_EQ(listener.selections.size(), 1u);

    // During an alarm display a click stops it.
    state.alarmDisplayActive = true;
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(listener.alarmStops, 1);
    EXPECT_FALSE(state.alarmDisplayActive);
}

TEST_F(VideoWindowTest, LiveStartRecordsWhichCameraEachPaneShows)
{
    Connect(0x0006);
    panel->ApplyLiveStartLayout();
    video->RecordLivePanes(3, PairPanesWithCameras(0x0006, 0x0030), 0x0006);
    EXPECT_EQ(video->Pane(1).ShownCamera(), 4);
    EXPECT_EQ(video->Pane(2).ShownCamera(), 5);
    EXPECT_EQ(video->Pane(2).OwningServer(), 3);
    EXPECT_TRUE(video->BlankingRunning());
    {
        std::lock_guard guard(overlay.lock);
        EXPECT_EQ(overlay.liveMask, 0x0006);
    }
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(450, 20));
    ASSERT_EQ(listener.selections.size(), 1u);
    EXPECT_EQ(listener.selections[0].camera, 5);
    EXPECT_EQ(listener.selections[0].server, 3);
}

TEST_F(VideoWindowTest, BandOverAPaneZoomsAndTheNextClickRestoresTheWholePicture)
{
    Connect(0x0001);
    panel->ApplyLiveStartLayout();  // pane 0 is (0,0,200,150)
    QTest::mousePress(video, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(video, QPoint(60, 50));
    {
        std::lock_guard guard(overlay.lock);
        EXPECT_TRUE(overlay.dragging);
        EXPECT_EQ(overlay.dragRect, (PaneRect{10, 10, 60, 50}));
    }
    QTest::mouseMove(video, QPoint(110, 85));
    QTest::mouseRelease(video, Qt::LeftButton, {}, QPoint(110, 85));
    EXPECT_TRUE(video->Zoomed());
    // 720 / 200 = 3.6 and 576 / 150 = 3.84, truncated.
    EXPECT_EQ(video->Viewport(), (PaneRect{36, 38, 396, 326}));
    {
        std::lock_guard guard(overlay.lock);
        EXPECT_FALSE(overlay.dragging);
    }
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_FALSE(video->Zoomed());
    EXPECT_EQ(video->Viewport(), (PaneRect{0, 0, 720, 576}));
}

TEST_F(VideoWindowTest, ClickOnAnotherPaneOrARightClickEndsAZoom)
{
    Connect(0x0003);
    panel->ApplyLiveStartLayout();
    Drag(QPoint(10, 10), QPoint(100, 100));
    ASSERT_EQ(video->ZoomedPane(), 0);
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(250, 20));
    EXPECT_EQ(video->SelectedPane(), 1);
    EXPECT_EQ(video->ZoomedPane(), -1);
    EXPECT_EQ(video->Viewport(), (PaneRect{0, 0, 720, 576}));

    Drag(QPoint(210, 10), QPoint(300, 100));
    ASSERT_TRUE(video->Zoomed());
    QTest::mouseClick(video, Qt::RightButton, {}, QPoint(250, 50));
    EXPECT_FALSE(video->Zoomed());
}

TEST_F(VideoWindowTest, SmallBandOrLeavingThePaneDoesNotZoom)
{
    Connect(0x0003);
    panel->ApplyLiveStartLayout();
    Drag(QPoint(10, 10), QPoint(15, 80));  // 5 wide
    EXPECT_FALSE(video->Zoomed());
    EXPECT_EQ(video->Viewport(), (PaneRect{0, 0, 720, 576}));

    QTest::mousePress(video, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(video, QPoint(100, 100));
    QTest::mouseMove(video, QPoint(250, 100));  // into pane 1: the band is dropped
    {
        std::lock_guard guard(overlay.lock);
        EXPECT_FALSE(overlay.dragging);
    }
    QTest::mouseRelease(video, Qt::LeftButton, {}, QPoint(250, 100));
    EXPECT_FALSE(video->Zoomed());
}

TEST_F(VideoWindowTest, SetupModeSendsClicksToTheCameraPage)
{
    Connect(0x0001);
    state.setupMode = true;
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(40, 30));
    state.pairedRecorder = true;
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(41, 31));
    EXPECT_EQ(listener.setupClicks, (std::vector<std::vector<int>>{{2457, 40, 30}, {2468, 41, 31}}));
    EXPECT_TRUE(listener.selections.empty());
}

TEST_F(VideoWindowTest, DoubleClickTogglesTitlesOnlyWhenConnected)
{
    QTest::mouseDClick(video, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(video->TitlesShown());
    Connect(0x0001);
    QTest::mouseDClick(video, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(video->TitlesShown());
    QTest::mouseDClick(video, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(video->TitlesShown());
}

TEST_F(VideoWindowTest, EnterAndEscapeDoNotCloseTheDialog)
{
    host.show();
    video->setFocus();
    QTest::keyClick(video, Qt::Key_Escape);
    QTest::keyClick(video, Qt::Key_Return);
    QTest::keyClick(panel, Qt::Key_Escape);
    EXPECT_TRUE(host.isVisible());
    host.hide();
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST_F(VideoWindowTest, NewPicturesMessageFromAnyThreadRepaintsTheWindow)
{
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    PaintCounter counter;
    video->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;
    const HWND handle = video->Handle();
    std::thread([handle] { EXPECT_TRUE(PostWindowMessage(handle, kMsgVideoFramesReady, 0, 0)); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
    video->removeEventFilter(&counter);
    host.hide();
    delete video;
    video = nullptr;
    EXPECT_FALSE(PostWindowMessage(handle, kMsgVideoFramesReady, 0, 0));
}

TEST_F(VideoWindowTest, NewPicturesSoonAfterAPaintAreStillPaintedOnceTheIntervalEnds)
{
    // Repaints are spaced a display refresh apart: a message inside that
    // interval waits for it, and must not be lost.
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    PaintCounter counter;
    video->installEventFilter(&counter);
    QCoreApplication::processEvents();
    const HWND handle = video->Handle();
    for (int round = 0; round < 5; ++round) {
        counter.paints = 0;
        ASSERT_TRUE(PostWindowMessage(handle, kMsgVideoFramesReady, 0, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000)) << "round " << round;
    }
    video->removeEventFilter(&counter);
}

TEST_F(VideoWindowTest, BlankingEndsAfterHalfASecond)
{
    Connect(0x0001);
    video->StartBlanking();
    {
        std::lock_guard guard(overlay.lock);
        EXPECT_FALSE(overlay.blankingDone);
    }
    EXPECT_TRUE(video->BlankingRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !video->BlankingRunning(); }, 3000));
    std::lock_guard guard(overlay.lock);
    EXPECT_TRUE(overlay.blankingDone);
}

TEST_F(VideoWindowTest, RestoreAfterSetupReturnsToTheMainWindowWithSixteenPanes)
{
    Connect(0x0001);
    QWidget setupPage;
    state.setupMode = true;
    video->setParent(&setupPage);
    video->setGeometry(290, 10, 320, 240);
    video->RestoreAfterSetup(&host, true);
    EXPECT_FALSE(state.setupMode);
    EXPECT_EQ(video->parentWidget(), &host);
    EXPECT_EQ(video->geometry(), CRenderWnd::kWindowedGeometry);
    EXPECT_EQ(video->PaneOf(15), (PaneRect{600, 450, 800, 600}));
}

} // namespace
