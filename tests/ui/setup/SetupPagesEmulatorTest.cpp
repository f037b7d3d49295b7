// The Camera, Sensor, Record Set and Schedule pages against a live recorder:
// each page's Send changes exactly its own section of the recorder's stored
// block.
#include "core/dvr/SettingsBlock.h"
#include "support/QtTestApp.h"
#include "support/processes/EmulatorProcess.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CNumericEdit.h"
#include "ui/controls/CtrlId.h"
#include "ui/servers/CLoginDlg.h"
#include "ui/setup/CMotionGridView.h"
#include "ui/setup/CSetupCamera.h"
#include "ui/setup/CSetupDVRSetup.h"
#include "ui/setup/CSetupRecset.h"
#include "ui/setup/CSetupSchedule.h"
#include "ui/setup/CSetupSensor.h"
#include "ui/viewer/LiveViewer.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr int kWaitMs = 15000;

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Completed()
{
    for (const ShownMessage& message : ShownMessages())
        if (message.text == "completed")
            return true;
    return false;
}

} // namespace

TEST(SetupPagesEmulatorTest, EachPagesSendChangesOnlyItsSectionOfTheRecordersBlock)
{
    EnsureQApplication();
    ::setenv("OMBREL_NET_TIMEOUT_MS", "3000", 1);
    EmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({{"MODEL_D", {}}}, {"--discovery-port", "0"}));
    COrlixDlg dialog;
    dialog.show();
    ASSERT_TRUE(dialog.Connect("127.0.0.1", QString::number(emulator.Port(0)), "TCP", "ADMIN", "5829"));
    LiveViewer& viewer = dialog.Viewer();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return viewer.Sessions().Has(0) && viewer.Sessions().At(0).record.listed && viewer.CurrentLive(); },
        kWaitMs));
    QTest::mouseClick(FindCtrl<QPushButton>(&dialog, LiveViewer::kBtnLiveOff), Qt::LeftButton);
    QTimer::singleShot(0, [] {
        auto* login = qobject_cast<CLoginDlg*>(QApplication::activeModalWidget());
        ASSERT_TRUE(login);
        QTest::keyClicks(FindCtrl<QLineEdit>(login, CLoginDlg::kPasswordEdit), "5829");
        QTest::mouseClick(FindCtrl<QPushButton>(login, CLoginDlg::kOkButton), Qt::LeftButton);
    });
    QTest::mouseClick(FindCtrl<QPushButton>(&dialog, 222), Qt::LeftButton);
    CSetupDVRSetup* host = &viewer.Setup().Host();
    ASSERT_TRUE(host->isVisible());
    const std::string stored = emulator.DataDir() + "/rec0/settings.bin";

    // Shows the page, lets `edit` change its controls, sends, and checks that
    // only bytes of the section changed, and that `expect` holds.
    auto sendFrom = [&](CSetupDVRSetup::Page tab, std::uint8_t section, int sendId, const auto& edit,
                        const auto& expect) {
        SCOPED_TRACE(section);
        QTest::mouseClick(host->Tab(tab), Qt::LeftButton);
        QWidget* page = host->PageAt(tab);
        ASSERT_TRUE(page->isVisible());
        const std::vector<std::uint8_t> before = ReadBytes(stored);
        ASSERT_EQ(before.size(), kSettingsBlockSize);
        edit(page);
        ClearShownMessages();
        QTest::mouseClick(FindCtrl<QPushButton>(page, sendId), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor(Completed, kWaitMs));
        const std::vector<std::uint8_t> after = ReadBytes(stored);
        ASSERT_EQ(after.size(), kSettingsBlockSize);
        const SectionBounds span = *SectionSpan(section);
        int changed = 0;
        for (std::size_t i = 0; i < kSettingsBlockSize; ++i) {
            if (after[i] == before[i])
                continue;
            ++changed;
            ASSERT_TRUE(i >= span.offset && i < span.offset + span.size) << "byte " << i;
        }
        EXPECT_GT(changed, 0);
        ZERD_INFO_BLK block;
        std::memcpy(&block, after.data(), sizeof block);
        expect(block);
    };

    sendFrom(
        CSetupDVRSetup::kCamera, kSectionCamera, CSetupCamera::kSend,
        [](QWidget* page) {
            auto* camera = static_cast<CSetupCamera*>(page);
            QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupCamera::kFirstChannel + 2), Qt::LeftButton);
            QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupCamera::kClear), Qt::LeftButton);
            QTest::mouseClick(camera->Preview(), Qt::LeftButton, {}, QPoint(300, 230));
            FindCtrl<QLineEdit>(page, CSetupCamera::kName)->setText("Yard");
        },
        [](const ZERD_INFO_BLK& b) {
            EXPECT_EQ(b.camera.motionAreaRows4to7[2].get(), 1u << 31);
            EXPECT_EQ(b.camera.motionAreaRows0to3[2].get(), 0u);
            EXPECT_EQ(std::string(b.camera.cameraName[2]), "Yard");
        });
    sendFrom(
        CSetupDVRSetup::kSensor, kSectionSensor, CSetupSensor::kSend,
        [](QWidget* page) {
            QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupSensor::kFirstSensor + 1), Qt::LeftButton);
            for (int camera = 0; camera < 16; ++camera) {
                auto* button = FindCtrl<QPushButton>(page, CSetupSensor::kFirstCamera + camera);
                if (button->isChecked() != (camera == 6))
                    QTest::mouseClick(button, Qt::LeftButton);
            }
            FindCtrl<CNumericEdit>(page, CSetupSensor::kOutputDwell)->SetValue(600 % 512);
        },
        [](const ZERD_INFO_BLK& b) {
            EXPECT_EQ(b.sensor.cameraLinks[1].get(), 1u << 6);
            EXPECT_EQ((b.sensor.flags[1].get() >> 12) & 0x1FF, 88u);
        });
    sendFrom(
        CSetupDVRSetup::kRecordSet, kSectionRecordSet, CSetupRecset::kSend,
        [](QWidget* page) {
            FindCtrl<CNumericEdit>(page, CSetupRecset::kStrength[1])->SetValue(33);
        },
        [](const ZERD_INFO_BLK& b) { EXPECT_EQ(b.recordSet.watermarkStrength[1], 33); });
    sendFrom(
        CSetupDVRSetup::kSchedule, kSectionSchedule, CSetupSchedule::kSend,
        [](QWidget* page) {
            QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupSchedule::kFirstCamera + 1), Qt::LeftButton);
            QTest::mouseClick(FindCtrl<QPushButton>(page, CSetupSchedule::kFirstMode + 1), Qt::LeftButton);
            auto* everyday = FindCtrl<QPushButton>(page, CSetupSchedule::kFirstRowAll);
            QTest::mouseClick(everyday, Qt::LeftButton);
            if (!everyday->isChecked())
                QTest::mouseClick(everyday, Qt::LeftButton);
        },
        [](const ZERD_INFO_BLK& b) {
            for (int d = 0; d < 7; ++d)
                for (int h = 0; h < 24; ++h)
                    ASSERT_EQ(b.schedule.mode[1][d][h], 1);
        });

    QTest::mouseClick(FindCtrl<QPushButton>(host, CSetupDVRSetup::kExit), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewer.SetupMode(); }, kWaitMs));
}
