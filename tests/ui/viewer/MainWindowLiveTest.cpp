// Capture (233) and the user-view panel in the whole main window against a live recorder.
#include "ViewerEmulator.h"
#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "core/servers/ServerRecord.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/SidePanels.h"
#include "ui/controls/CtrlId.h"
#include "ui/video/CImagePreviewStatic.h"
#include "ui/video/CPictureDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/CUserViewDlg.h"
#include "ui/video/LiveCapture.h"
#include "ui/viewer/LiveViewer.h"
#include "support/CivilTime.h"

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

namespace {

constexpr int kWaitMs = 15000;

// The text of the file's comment segments.
std::string JpegComments(const QByteArray& jpeg)
{
    std::string comments;
    for (qsizetype at = 2; at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF;) {
        const uchar marker = uchar(jpeg[at + 1]);
        const int length = uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]);
        if (marker == 0xFE)
            comments += jpeg.mid(at + 4, length - 2).toStdString();
        if (marker == 0xDA)  // image data follows
            break;
        at += 2 + length;
    }
    return comments;
}

class MainWindowLiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        std::string error;
        emulator = ViewerEmulator(&error);
        ASSERT_TRUE(emulator) << error;
        store = OpenRegistryAt(dir / "registry.db");
        ASSERT_TRUE(store.backend) << store.error;
        SetRegistryBackend(store.backend);
        CRegConfig reg;
        ServerRecord porch{"Porch", "127.0.0.1", emulator->Port(kFourA), "ADMIN", "5829", "MODEL_F", "TCP", ""};
        ASSERT_TRUE(ServerDirectory(reg).Write(porch));
    }
    void TearDown() override { SetRegistryBackend(nullptr); }

    // Connects to the four-channel recorder and waits for its live video.
    void GoLive(COrlixDlg& dialog)
    {
        ASSERT_TRUE(dialog.Connect("127.0.0.1", QString::number(emulator->Port(kFourA)), "TCP", "ADMIN", "5829"));
        LiveViewer& viewer = dialog.Viewer();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return viewer.AnyListedSessionLive() && FindCtrl<QPushButton>(&dialog, 233)->isEnabled(); },
            kWaitMs));
    }

    EmulatorProcess* emulator = nullptr;
    TempDir dir;
    ScopedEnv driveC{"DVR_DRIVE_C", dir.path()};
    RegistryOpenResult store;
};

} // namespace

TEST_F(MainWindowLiveTest, CaptureWritesTheSelectedPaneAndAFailureIsReported)
{
    COrlixDlg dialog;
    dialog.show();
    auto* capture = FindCtrl<QPushButton>(&dialog, 233);
    EXPECT_FALSE(capture->isEnabled());
    GoLive(dialog);
    LiveViewer& viewer = dialog.Viewer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.Decoder().GetVideoWidth(1) > 0; }, kWaitMs));

    auto* video = dialog.findChild<CRenderWnd*>();
    ASSERT_TRUE(video);
    const PaneRect pane = video->PaneOf(1);
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2));
    ASSERT_EQ(viewer.SelectedChannel(), 1);

    dialog.Capture().SetClock([] { return LocalTimeAt(2007, 3, 5, 9, 4, 7); });
    QTest::mouseClick(capture, Qt::LeftButton);
    const std::string path = dir / "DVR/Live/Capture/Live_2CH_2007_0305_090407.jpg";
    ASSERT_TRUE(std::filesystem::exists(path)) << dialog.StatusLines().join(" | ").toStdString();
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QImage image = QImage::fromData(bytes, "JPG");
    EXPECT_EQ(image.size(), QSize(704, 576));
    const std::string comment = JpegComments(bytes);
    EXPECT_EQ(comment.rfind("Recorder: Porch (127.0.0.1); Camera: 2 ", 0), 0u) << comment;
    EXPECT_NE(comment.find("; Captured: 2007-03-05 09:04:07"), std::string::npos) << comment;
    EXPECT_TRUE(dialog.StatusLines().contains("2 Channel Capture"));
    EXPECT_EQ(dialog.Panels().Selector().Shown(), SidePanel::Pictures);
    CPictureDlg* pictures = dialog.Panels().Pictures();
    EXPECT_TRUE(pictures->isVisible());
    EXPECT_EQ(pictures->Path(), QString::fromStdString(path));
    EXPECT_EQ(pictures->Preview()->PictureSize(), QSize(704, 576));

    // The capture folder cannot be made: said so, and the preview stays.
    std::filesystem::rename(dir / "DVR/Live/Capture", dir / "DVR/Live/moved");
    { QFile blocker(QString::fromStdString(dir / "DVR/Live/Capture")); ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); }
    dialog.Capture().SetClock([] { return LocalTimeAt(2007, 3, 5, 9, 4, 8); });
    QTest::mouseClick(capture, Qt::LeftButton);
    const QString last = dialog.StatusLines().last();
    EXPECT_TRUE(last.startsWith("2 Channel Capture failed: the capture folder ")) << last.toStdString();
    EXPECT_FALSE(dialog.StatusLines().count("2 Channel Capture") > 1);
    EXPECT_EQ(pictures->Path(), QString::fromStdString(path));
    EXPECT_TRUE(pictures->Preview()->HasPicture());
    EXPECT_EQ(dialog.Capture().LastPath(), QString::fromStdString(path));

    QTest::mouseClick(FindCtrl<QPushButton>(&dialog, LiveViewer::kBtnLiveOff), Qt::LeftButton);
    EXPECT_FALSE(capture->isEnabled());
}

TEST_F(MainWindowLiveTest, FixedLayoutGreysApplyAndLiveStopClearsTheUserView)
{
    COrlixDlg dialog;
    dialog.show();
    GoLive(dialog);
    CUserViewDlg* view = dialog.Viewer().UserView();
    ASSERT_TRUE(view && view->isVisible());
    QPushButton* apply = view->Button(CUserViewDlg::kApply);
    EXPECT_TRUE(apply->isEnabled());  // live start cleared the editor

    QTest::mouseClick(FindCtrl<QPushButton>(&dialog, kBtnLayoutQuad), Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled());

    QTest::mouseClick(FindCtrl<QPushButton>(&dialog, LiveViewer::kBtnLiveOff), Qt::LeftButton);
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_FALSE(FindCtrl<QPushButton>(&dialog, kBtnLayoutQuad)->isChecked());
    QTest::mousePress(view, Qt::LeftButton, {}, view->CellCentre({0, 0}));
    QTest::mouseMove(view, view->CellCentre({1, 1}));
    QTest::mouseRelease(view, Qt::LeftButton, {}, view->CellCentre({1, 1}));
    EXPECT_EQ(view->Grid().Panes().size(), 1u);
}
