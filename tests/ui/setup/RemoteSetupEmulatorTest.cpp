// Remote setup of a live recorder through the whole main window: the
// password dialog, section writes that reach the recorder's stored block,
// and uploads that arrive whole.
#include "core/dvr/SettingsBlock.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "support/processes/EmulatorProcess.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"
#include "ui/servers/CLoginDlg.h"
#include "ui/setup/CSetupCamera.h"
#include "ui/setup/CSetupDVRSetup.h"
#include "ui/setup/CSetupEtc.h"
#include "ui/setup/CSetupSystem.h"
#include "ui/video/CRenderWnd.h"
#include "ui/viewer/LiveViewer.h"
#include "ui/viewer/ViewerText.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

constexpr int kWaitMs = 15000;

enum Recorder : std::size_t { kPlain, kNoWrites, kCount };

EmulatorProcess* Emulator()
{
    static std::unique_ptr<EmulatorProcess> emulator;
    if (!emulator) {
        ::setenv("OMBREL_NET_TIMEOUT_MS", "3000", 1);
        auto started = std::make_unique<EmulatorProcess>();
        std::vector<EmulatorProcess::Recorder> recorders(kCount, {"MODEL_F", {}});
        recorders[kNoWrites].extraOptions = {"--refuse-op", "write", "--refuse-op", "upload"};
        if (!started->Start(recorders, {"--discovery-port", "0"}))
            return nullptr;
        emulator = std::move(started);
    }
    return emulator.get();
}

std::string RecorderDir(EmulatorProcess* emulator, Recorder recorder)
{
    return emulator->DataDir() + "/rec" + std::to_string(recorder);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool HasMessage(const QString& text)
{
    for (const ShownMessage& message : ShownMessages())
        if (message.text == text)
            return true;
    return false;
}

QString Text(int id)
{
    return TextOf(LangText::Id(id));
}

// The main window connected to one recorder with its live video stopped,
// and the setup opened through the password dialog.
class RemoteSetupEmulatorTest : public ::testing::Test {
protected:
    void Open(Recorder recorder)
    {
        EnsureQApplication();
        emulator = Emulator();
        ASSERT_TRUE(emulator);
        dialog = std::make_unique<COrlixDlg>();
        dialog->show();
        ASSERT_TRUE(dialog->Connect("127.0.0.1", QString::number(emulator->Port(recorder)), "TCP", "ADMIN", "5829"));
        LiveViewer& viewer = dialog->Viewer();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return viewer.Sessions().Has(0) && viewer.Sessions().At(0).record.listed && viewer.CurrentLive(); },
            kWaitMs));
        QTest::mouseClick(FindCtrl<QPushButton>(dialog.get(), LiveViewer::kBtnLiveOff), Qt::LeftButton);

        // The real password dialog, typed into as an operator would.
        QTimer::singleShot(0, [] {
            auto* login = qobject_cast<CLoginDlg*>(QApplication::activeModalWidget());
            ASSERT_TRUE(login);
            QTest::keyClicks(FindCtrl<QLineEdit>(login, CLoginDlg::kPasswordEdit), "5829");
            QTest::mouseClick(FindCtrl<QPushButton>(login, CLoginDlg::kOkButton), Qt::LeftButton);
        });
        ClearShownMessages();
        QTest::mouseClick(FindCtrl<QPushButton>(dialog.get(), 222), Qt::LeftButton);
        host = &viewer.Setup().Host();
        ASSERT_TRUE(host->isVisible());
        ASSERT_TRUE(viewer.SetupMode());
    }

    EmulatorProcess* emulator = nullptr;
    std::unique_ptr<COrlixDlg> dialog;
    CSetupDVRSetup* host = nullptr;
};

} // namespace

TEST_F(RemoteSetupEmulatorTest, SystemSendChangesExactlySectionZeroOfTheRecordersBlock)
{
    Open(kPlain);
    const std::string stored = RecorderDir(emulator, kPlain) + "/settings.bin";
    const std::vector<std::uint8_t> before = ReadBytes(stored);
    ASSERT_EQ(before.size(), kSettingsBlockSize);

    QWidget* page = host->PageAt(CSetupDVRSetup::kSystem);
    ASSERT_TRUE(page->isVisible());
    // Showing a page turned the layout buttons off.
    EXPECT_FALSE(FindCtrl<QPushButton>(dialog.get(), 4001)->isEnabled());
    EXPECT_FALSE(FindCtrl<QPushButton>(dialog.get(), 5000)->isEnabled());
    EXPECT_FALSE(FindCtrl<QPushButton>(dialog.get(), 5100)->isEnabled());
    auto* id = FindCtrl<QLineEdit>(page, CSetupSystem::kId);
    const std::uint8_t newId = static_cast<std::uint8_t>(before[1] == 42 ? 43 : 42);
    id->setText(QString::number(newId));
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupSystem::kSend), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([] { return HasMessage("completed"); }, kWaitMs));
    EXPECT_EQ(ShownMessages().back().icon, QMessageBox::Information);

    const std::vector<std::uint8_t> after = ReadBytes(stored);
    ASSERT_EQ(after.size(), kSettingsBlockSize);
    for (std::size_t i = 0; i < kSettingsBlockSize; ++i)
        ASSERT_EQ(after[i], i == 1 ? newId : before[i]) << "byte " << i;

    // Pre-Value shows what was sent; Default changes the controls only.
    id->setText("9");
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupSystem::kPreValue), Qt::LeftButton);
    EXPECT_EQ(id->text(), QString::number(newId));
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupSystem::kDefault), Qt::LeftButton);
    EXPECT_EQ(id->text(), "0");
    EXPECT_EQ(host->Copies().working.system.recorderId, newId);

    // Exit gives the window back: live video runs again.
    QTest::mouseClick(FindCtrl<QPushButton>(host, CSetupDVRSetup::kExit), Qt::LeftButton);
    EXPECT_FALSE(host->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Viewer().SetupMode(); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->Viewer().CurrentLive(); }, kWaitMs));
    EXPECT_TRUE(FindCtrl<QPushButton>(dialog.get(), 4001)->isEnabled());
    EXPECT_TRUE(FindCtrl<QPushButton>(dialog.get(), 5000)->isChecked());
    EXPECT_TRUE(FindCtrl<QPushButton>(dialog.get(), 233)->isEnabled());
}

TEST_F(RemoteSetupEmulatorTest, TheCameraPageBorrowsTheVideoWindowAsItsMarkablePreviewAndGivesItBack)
{
    Open(kPlain);
    auto* video = dialog->findChild<CRenderWnd*>();
    ASSERT_TRUE(video);
    QWidget* mainWindow = video->parentWidget();
    QTest::mouseClick(host->Tab(CSetupDVRSetup::kCamera), Qt::LeftButton);
    auto* page = static_cast<CSetupCamera*>(host->PageAt(CSetupDVRSetup::kCamera));
    ASSERT_EQ(page->Preview(), video);
    EXPECT_EQ(video->parentWidget(), page);
    EXPECT_EQ(video->geometry(), QRect(290, 10, 320, 240));
    EXPECT_TRUE(video->isVisible());

    // Live video starts a moment later; the selected channel keeps the whole preview.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Viewer().CurrentLive(); }, kWaitMs));
    EXPECT_EQ(video->PaneOf(0), (PaneRect{0, 0, 320, 240}));
    for (int channel = 1; channel < 16; ++channel)
        EXPECT_EQ(video->PaneOf(channel).Width(), 0) << channel;
    EXPECT_FALSE(FindCtrl<QPushButton>(dialog.get(), 4005)->isEnabled());

    // Cells are 40 x 30: a click marks row 2, column 5; a second click in a cell unmarks it.
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupCamera::kClear), Qt::LeftButton);
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(5 * 40 + 3, 2 * 30 + 3));
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(7 * 40 + 39, 6 * 30 + 29));
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(2, 2));
    // Leaving the channel stores its grid.
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupCamera::kFirstChannel + 1), Qt::LeftButton);
    EXPECT_EQ(video->PaneOf(1), (PaneRect{0, 0, 320, 240}));
    EXPECT_EQ(host->Copies().working.camera.motionAreaRows0to3[0].get(), 1u << (2 * 8 + 5));
    EXPECT_EQ(host->Copies().working.camera.motionAreaRows4to7[0].get(), 1u << ((6 - 4) * 8 + 7));
    // The grid is drawn over the picture in the video window itself: the
    // recorder's default marks every cell (red), Clear leaves the green lines.
    EXPECT_EQ(video->grab().toImage().pixelColor(40, 15), QColor(Qt::red));
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupCamera::kClear), Qt::LeftButton);
    EXPECT_EQ(video->grab().toImage().pixelColor(40, 15), QColor(Qt::green));

    // Leaving setup gives the window back to the main window with sixteen panes.
    QTest::mouseClick(FindCtrl<QPushButton>(host, CSetupDVRSetup::kExit), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Viewer().SetupMode(); }, kWaitMs));
    EXPECT_EQ(video->parentWidget(), mainWindow);
    EXPECT_EQ(video->geometry(), CRenderWnd::kWindowedGeometry);
    EXPECT_TRUE(video->isVisible());
    const int first = dialog->Viewer().SelectedChannel();
    for (int k = 0; k < 16; ++k) {
        const int x = (k % 4) * 200;
        const int y = (k / 4) * 150;
        EXPECT_EQ(video->PaneOf((first + k) % 16), (PaneRect{x, y, x + 200, y + 150})) << k;
    }
    EXPECT_TRUE(FindCtrl<QPushButton>(dialog.get(), 4005)->isChecked());
}

TEST_F(RemoteSetupEmulatorTest, UploadsOfSeveralSizesArriveWholeAndARefusedOneSays6047)
{
    Open(kPlain);
    QTest::mouseClick(host->Tab(CSetupDVRSetup::kFileUpload), Qt::LeftButton);
    auto* page = static_cast<CSetupEtc*>(host->PageAt(CSetupDVRSetup::kFileUpload));
    TempDir files;
    for (std::size_t size : {std::size_t{0}, std::size_t{511}, std::size_t{512}, std::size_t{513},
                             std::size_t{512 * 300}}) {
        const std::string name = "upload-" + std::to_string(size) + ".bin";
        std::vector<char> content(size);
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>((i * 7 + size) & 0xFF);
        std::ofstream(files / name, std::ios::binary).write(content.data(), static_cast<std::streamsize>(size));
        page->SetFileChooser([&](QWidget*) { return QString::fromStdString(files / name); });
        ClearShownMessages();
        QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupEtc::kBrowse), Qt::LeftButton);
        EXPECT_EQ(page->ChosenSize(), static_cast<qint64>(size));
        QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupEtc::kUpload), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([] { return !ShownMessages().empty(); }, kWaitMs)) << size;
        EXPECT_EQ(ShownMessages()[0].text, Text(CSetupEtc::kStrUploaded)) << size;
        EXPECT_TRUE(FindCtrl<QLineEdit>(page, CSetupEtc::kPath)->text().isEmpty());
        const std::vector<std::uint8_t> arrived = ReadBytes(RecorderDir(emulator, kPlain) + "/uploads/" + name);
        EXPECT_EQ(arrived, std::vector<std::uint8_t>(content.begin(), content.end())) << size;
    }

    // The recorder refuses a name starting with a dot.
    std::ofstream(files / ".hidden.bin") << "x";
    page->SetFileChooser([&](QWidget*) { return QString::fromStdString(files / ".hidden.bin"); });
    ClearShownMessages();
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupEtc::kBrowse), Qt::LeftButton);
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupEtc::kUpload), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([] { return !ShownMessages().empty(); }, kWaitMs));
    EXPECT_EQ(ShownMessages()[0].text, Text(CSetupEtc::kStrUploadFailed));
    EXPECT_FALSE(FindCtrl<QLineEdit>(page, CSetupEtc::kPath)->text().isEmpty());
    // The session is polled again and stays up.
    QTest::qWait(1500);
    EXPECT_TRUE(dialog->Viewer().Sessions().Has(0));
}

TEST_F(RemoteSetupEmulatorTest, ARefusedWriteAndARefusedUploadChangeNothingOnTheRecorder)
{
    Open(kNoWrites);
    const std::string stored = RecorderDir(emulator, kNoWrites) + "/settings.bin";
    const std::vector<std::uint8_t> before = ReadBytes(stored);
    QWidget* page = host->PageAt(CSetupDVRSetup::kSystem);
    FindCtrl<QLineEdit>(page, CSetupSystem::kId)->setText("77");
    QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupSystem::kSend), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([] { return HasMessage(Text(6025)); }, kWaitMs));
    EXPECT_FALSE(HasMessage("completed"));
    EXPECT_EQ(ReadBytes(stored), before);

    QTest::mouseClick(host->Tab(CSetupDVRSetup::kFileUpload), Qt::LeftButton);
    auto* upload = static_cast<CSetupEtc*>(host->PageAt(CSetupDVRSetup::kFileUpload));
    TempDir files;
    std::ofstream(files / "fw.bin") << "firmware";
    upload->SetFileChooser([&](QWidget*) { return QString::fromStdString(files / "fw.bin"); });
    ClearShownMessages();
    QTest::mouseClick(FindCtrl<QPushButton>(upload, CSetupEtc::kBrowse), Qt::LeftButton);
    QTest::mouseClick(FindCtrl<QPushButton>(upload, CSetupEtc::kUpload), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([] { return HasMessage(Text(CSetupEtc::kStrUploadFailed)); }, kWaitMs));
    EXPECT_FALSE(std::filesystem::exists(RecorderDir(emulator, kNoWrites) + "/uploads/fw.bin"));
}
