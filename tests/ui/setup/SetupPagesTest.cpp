// The Camera, Schedule, Sensor and Record Set pages offscreen, on a stand-in for the
// main window: clicks as an operator makes them, and what reaches the block.
#include "core/dvr/SettingsBlock.h"
#include "support/QtTestApp.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CNumericEdit.h"
#include "ui/controls/CtrlId.h"
#include "ui/setup/CMotionGridView.h"
#include "ui/setup/CSetupCamera.h"
#include "ui/setup/CSetupDVRSetup.h"
#include "ui/setup/CSetupRecset.h"
#include "ui/setup/CSetupSchedule.h"
#include "ui/setup/CSetupSensor.h"
#include "ui/setup/SetupSession.h"
#include "ui/viewer/ViewerText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Section writes go into `current` as the main window's would.
class BlockSession : public SetupSession {
public:
    explicit BlockSession(int model) : current(MakeDefaultSettingsBlock(model)) {}
    bool WriteSection(SetupSectionCopies& copies, std::uint8_t section) override
    {
        written.push_back(section);
        return WriteSettingsSection(current, copies, section, [](void*, std::uint8_t) { return true; });
    }
    std::uint8_t DvrTypeCode() const override { return ::DvrTypeCode(current); }
    void PreparePage() override {}
    void SetupClosed() override {}
    bool StartUpload(const QString&, UploadListener*, QString*) override { return false; }

    ZERD_INFO_BLK current;
    std::vector<int> written;
};

class SetupPagesTest : public ::testing::Test {
protected:
    void Open(int model, CSetupDVRSetup::Page page)
    {
        EnsureQApplication();
        window = std::make_unique<QWidget>();
        session = std::make_unique<BlockSession>(model);
        host = new CSetupDVRSetup(*session, window.get());
        window->resize(900, 700);
        window->show();
        host->Open(session->current);
        QTest::mouseClick(host->Tab(page), Qt::LeftButton);
        ASSERT_TRUE(host->IsPageActive(page));
        ClearShownMessages();
    }
    template <typename T = QPushButton>
    T* Ctrl(CSetupDVRSetup::Page page, int id)
    {
        T* control = FindCtrl<T>(host->PageAt(page), id);
        EXPECT_TRUE(control) << id;
        return control;
    }
    void Click(CSetupDVRSetup::Page page, int id) { QTest::mouseClick(Ctrl(page, id), Qt::LeftButton); }

    // Declared first: the window (and the host it owns) goes before the session.
    std::unique_ptr<BlockSession> session;
    std::unique_ptr<QWidget> window;
    CSetupDVRSetup* host = nullptr;
};

constexpr auto kSchedule = CSetupDVRSetup::kSchedule;
constexpr auto kSensor = CSetupDVRSetup::kSensor;
constexpr auto kRecordSet = CSetupDVRSetup::kRecordSet;
constexpr auto kCamera = CSetupDVRSetup::kCamera;

int Cell(int row, int hour)
{
    return CSetupSchedule::kFirstCell + row * 24 + hour;
}

} // namespace

TEST_F(SetupPagesTest, ScheduleCellsSitAtTheirPlacesAndClicksNeedAMode)
{
    Open(4, kSchedule);
    auto* page = static_cast<CSetupSchedule*>(host->PageAt(kSchedule));
    EXPECT_EQ(Ctrl(kSchedule, Cell(0, 0))->geometry(), QRect(100, 50, 20, 17));
    EXPECT_EQ(Ctrl(kSchedule, Cell(7, 23))->geometry(), QRect(100 + 21 * 23, 50 + 23 * 7, 20, 17));
    EXPECT_EQ(page->CheckedCamera(), 0);
    EXPECT_EQ(Ctrl(kSchedule, Cell(1, 3))->text(), "C"); // the default block is continuous

    // No mode: 6048, nothing set.
    Click(kSchedule, Cell(0, 4));
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].text, TextOf(LangText::Id(CSetupSchedule::kStrChooseMode)));
    EXPECT_FALSE(Ctrl(kSchedule, Cell(0, 4))->isChecked());
    EXPECT_EQ(Ctrl(kSchedule, Cell(2, 4))->text(), "C");

    // Dual, Everyday at hour 5, sent: 2 on all seven days of camera 1 only.
    Click(kSchedule, CSetupSchedule::kFirstMode + 2);
    Click(kSchedule, Cell(0, 5));
    EXPECT_EQ(Ctrl(kSchedule, Cell(6, 5))->text(), "D");
    Click(kSchedule, CSetupSchedule::kSend);
    EXPECT_EQ(session->written, std::vector<int>{kSectionSchedule});
    for (int d = 0; d < 7; ++d)
        for (int h = 0; h < 24; ++h)
            ASSERT_EQ(session->current.schedule.mode[0][d][h], h == 5 ? 2 : 0);
    EXPECT_EQ(session->current.schedule.mode[1][0][5], 0);
}

TEST_F(SetupPagesTest, ScheduleCamerasKeepTheirWeeksAndCopy)
{
    Open(4, kSchedule);
    Click(kSchedule, CSetupSchedule::kFirstMode + 1); // Motion
    Click(kSchedule, CSetupSchedule::kFirstCamera + 1);
    Click(kSchedule, Cell(3, 10)); // C -> unchecked
    Click(kSchedule, Cell(3, 10)); // -> M
    Click(kSchedule, Cell(3, 11)); // C -> unchecked: stored as 4
    Click(kSchedule, CSetupSchedule::kFirstCamera + 3);
    EXPECT_EQ(Ctrl(kSchedule, Cell(3, 10))->text(), "C");
    Click(kSchedule, CSetupSchedule::kFirstCamera + 1);
    EXPECT_EQ(Ctrl(kSchedule, Cell(3, 10))->text(), "M");
    EXPECT_TRUE(Ctrl(kSchedule, Cell(3, 10))->isChecked());
    EXPECT_EQ(Ctrl(kSchedule, Cell(3, 11))->text(), "X"); // stored as 4, shown as none

    // Copy camera 2 to 1..4, then send: 1, 3 and 4 get camera 2's week.
    Ctrl<CNumericEdit>(kSchedule, CSetupSchedule::kCopyFrom)->SetValue(1);
    Ctrl<CNumericEdit>(kSchedule, CSetupSchedule::kCopyTo)->SetValue(4);
    Click(kSchedule, CSetupSchedule::kCopy);
    Click(kSchedule, CSetupSchedule::kSend);
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(session->current.schedule.mode[c][2][10], c < 4 ? 1 : 0) << c;
        EXPECT_EQ(session->current.schedule.mode[c][2][11], c < 4 ? 4 : 0) << c;
    }
    // Default empties the working copy only; Pre-Value brings back what was sent.
    Click(kSchedule, CSetupSchedule::kDefault);
    EXPECT_EQ(host->Copies().working.schedule.mode[2][2][10], 0);
    Click(kSchedule, CSetupSchedule::kFirstCamera + 2);
    Click(kSchedule, CSetupSchedule::kPreValue);
    EXPECT_EQ(Ctrl(kSchedule, Cell(3, 10))->text(), "M");
    EXPECT_EQ(session->current.schedule.mode[2][2][10], 1);
}

TEST_F(SetupPagesTest, ScheduleDragPaintsAWeekAndModelLimitsTheCameras)
{
    Open(1, kSchedule);
    auto* page = static_cast<CSetupSchedule*>(host->PageAt(kSchedule));
    EXPECT_TRUE(page->ModelLimitFlag());
    EXPECT_TRUE(Ctrl(kSchedule, CSetupSchedule::kFirstCamera + 3)->isEnabled());
    EXPECT_FALSE(Ctrl(kSchedule, CSetupSchedule::kFirstCamera + 4)->isEnabled());

    Click(kSchedule, CSetupSchedule::kFirstMode + 3); // Sensor
    QPushButton* from = Ctrl(kSchedule, Cell(2, 8));
    QPushButton* to = Ctrl(kSchedule, Cell(2, 12));
    QTest::mousePress(from, Qt::LeftButton, {}, QPoint(5, 5));
    for (int hour = 8; hour <= 12; ++hour) {
        const QPoint over = from->mapFromParent(Ctrl(kSchedule, Cell(2, hour))->geometry().center());
        QMouseEvent move(QEvent::MouseMove, over, from->mapToGlobal(over), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(from, &move);
    }
    QTest::mouseRelease(from, Qt::LeftButton, {}, from->mapFromParent(to->geometry().center()));
    QTest::qWait(0);
    for (int hour = 7; hour <= 13; ++hour)
        EXPECT_EQ(page->Grid().Cell(2, hour).letter, hour >= 8 && hour <= 12 ? 'S' : 'C') << hour;
    EXPECT_EQ(from->text(), "S");
    EXPECT_TRUE(from->isChecked());

    // A plain click still toggles one cell.
    Click(kSchedule, Cell(2, 8));
    EXPECT_EQ(page->Grid().Cell(2, 8), ScheduleCell{});

    // Leaving the setup gives the cameras back.
    QTest::mouseClick(FindCtrl<QPushButton>(host, CSetupDVRSetup::kExit), Qt::LeftButton);
    EXPECT_TRUE(Ctrl(kSchedule, CSetupSchedule::kFirstCamera + 15)->isEnabled());
    EXPECT_FALSE(page->ModelLimitFlag());
}

TEST_F(SetupPagesTest, SensorStoresEachSensorAndSendsOnlyItsSection)
{
    Open(4, kSensor);
    auto* page = static_cast<CSetupSensor*>(host->PageAt(kSensor));
    EXPECT_EQ(page->CheckedSensor(), 0);
    Click(kSensor, CSetupSensor::kFirstSensor + 2);
    Click(kSensor, CSetupSensor::kFirstCamera + 15);
    Click(kSensor, CSetupSensor::kFirstOutput + 1);
    Ctrl<CNumericEdit>(kSensor, CSetupSensor::kStartHour)->SetValue(10);
    Ctrl<CNumericEdit>(kSensor, CSetupSensor::kEndHour)->SetValue(8);
    Ctrl<CNumericEdit>(kSensor, CSetupSensor::kRecordDwell)->SetValue(300);
    Ctrl<QComboBox>(kSensor, CSetupSensor::kType)->setCurrentIndex(1);
    // Switching sensors stores the one left.
    Click(kSensor, CSetupSensor::kFirstSensor + 4);
    EXPECT_FALSE(Ctrl(kSensor, CSetupSensor::kFirstCamera + 15)->isChecked());
    Click(kSensor, CSetupSensor::kFirstSensor + 2);
    EXPECT_TRUE(Ctrl(kSensor, CSetupSensor::kFirstCamera + 15)->isChecked());
    EXPECT_EQ(Ctrl<CNumericEdit>(kSensor, CSetupSensor::kEndHour)->Value(), 24);

    const ZERD_INFO_BLK before = session->current;
    Click(kSensor, CSetupSensor::kSend);
    EXPECT_EQ(session->written, std::vector<int>{kSectionSensor});
    const DvrSensorSection& s = session->current.sensor;
    EXPECT_EQ(s.cameraLinks[2].get(), 0x8000);
    EXPECT_EQ(s.outputLinks[2], 0x02);
    EXPECT_EQ(s.startHour[2], 10);
    EXPECT_EQ(s.endHour[2], 24);
    EXPECT_EQ((s.flags[2].get() >> 21) & 0x1FF, 300u);
    EXPECT_EQ(s.flags[2].get() >> 31, 1u);
    ZERD_INFO_BLK others = session->current;
    others.sensor = before.sensor;
    EXPECT_EQ(std::memcmp(&others, &before, sizeof others), 0);
}

TEST_F(SetupPagesTest, SensorHoursOutOfRangeAndModelLimits)
{
    Open(1, kSensor);
    EXPECT_FALSE(Ctrl(kSensor, CSetupSensor::kFirstSensor + 4)->isEnabled());
    EXPECT_TRUE(Ctrl(kSensor, CSetupSensor::kFirstSensor + 3)->isEnabled());
    EXPECT_FALSE(Ctrl(kSensor, CSetupSensor::kFirstCamera + 4)->isEnabled());
    EXPECT_FALSE(Ctrl(kSensor, CSetupSensor::kFirstOutput + 2)->isEnabled());
    EXPECT_TRUE(Ctrl(kSensor, CSetupSensor::kFirstOutput + 1)->isEnabled());

    auto* start = Ctrl<CNumericEdit>(kSensor, CSetupSensor::kStartHour);
    start->SetValue(6);
    emit start->valueOutOfRange(30);
    auto* end = Ctrl<CNumericEdit>(kSensor, CSetupSensor::kEndHour);
    emit end->valueOutOfRange(99);
    ASSERT_EQ(ShownMessages().size(), 2u);
    EXPECT_EQ(ShownMessages()[0].text, TextOf(LangText::Id(6049)));
    EXPECT_EQ(ShownMessages()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(ShownMessages()[1].text, TextOf(LangText::Id(6051)));
    EXPECT_EQ(start->Value(), 6);

    QTest::mouseClick(FindCtrl<QPushButton>(host, CSetupDVRSetup::kExit), Qt::LeftButton);
    EXPECT_TRUE(Ctrl(kSensor, CSetupSensor::kFirstSensor + 7)->isEnabled());
    EXPECT_TRUE(Ctrl(kSensor, CSetupSensor::kFirstCamera + 15)->isEnabled());
    EXPECT_TRUE(Ctrl(kSensor, CSetupSensor::kFirstOutput + 7)->isEnabled());
}

TEST_F(SetupPagesTest, RecordSetSendsItsControlsAndFollowsTheModel)
{
    Open(4, kRecordSet);
    Click(kRecordSet, CSetupRecset::kDefault);
    Click(kRecordSet, CSetupRecset::kFirstVideo + 2);
    EXPECT_FALSE(Ctrl(kRecordSet, CSetupRecset::kFirstVideo)->isChecked());
    Click(kRecordSet, CSetupRecset::kFirstAudio[1] + 3);
    Ctrl<QComboBox>(kRecordSet, CSetupRecset::kResolution[1])->setCurrentIndex(2);
    Ctrl<CNumericEdit>(kRecordSet, CSetupRecset::kKey[0])->SetValue(77);
    const ZERD_INFO_BLK before = session->current;
    Click(kRecordSet, CSetupRecset::kSend);
    const DvrRecordSetSection& r = session->current.recordSet;
    EXPECT_EQ(r.videoRecordChoice, 4);
    EXPECT_EQ(r.audioRecord[0], 0x0F);
    EXPECT_EQ(r.audioRecord[1] & 0x0F, 0x07);
    EXPECT_EQ(r.resolution[1], 2);
    EXPECT_EQ(r.watermarkKey[0], 77);
    EXPECT_EQ(r.hiddenValue[0].get(), 10);
    ZERD_INFO_BLK others = session->current;
    others.recordSet = before.recordSet;
    EXPECT_EQ(std::memcmp(&others, &before, sizeof others), 0);

    // MODEL_A: group A resolution 1 becomes 0 and 2 becomes 3, and the video
    // buttons follow.
    window.reset();
    Open(1, kRecordSet);
    EXPECT_FALSE(Ctrl<QComboBox>(kRecordSet, CSetupRecset::kResolution[1])->isEnabled());
    EXPECT_FALSE(Ctrl(kRecordSet, CSetupRecset::kFirstAudio[0] + 2)->isEnabled());
    auto* resolution = Ctrl<QComboBox>(kRecordSet, CSetupRecset::kResolution[0]);
    resolution->setCurrentIndex(2);
    emit resolution->activated(2);
    EXPECT_EQ(resolution->currentIndex(), 3);
    EXPECT_TRUE(Ctrl(kRecordSet, CSetupRecset::kFirstVideo)->isEnabled());
    resolution->setCurrentIndex(1);
    emit resolution->activated(1);
    EXPECT_EQ(resolution->currentIndex(), 0);
    EXPECT_FALSE(Ctrl(kRecordSet, CSetupRecset::kFirstVideo)->isEnabled());
}

TEST_F(SetupPagesTest, CameraChannelsAreStoredWhenLeftAndSendWritesSectionOne)
{
    Open(4, kCamera);
    auto* page = static_cast<CSetupCamera*>(host->PageAt(kCamera));
    EXPECT_EQ(page->SelectedChannel(), 0);
    EXPECT_EQ(page->Preview()->geometry(), QRect(290, 10, 320, 240));
    EXPECT_EQ(Ctrl<QLineEdit>(kCamera, CSetupCamera::kName)->text(), "CAM1");

    Click(kCamera, CSetupCamera::kFirstChannel + 3);
    Ctrl<QLineEdit>(kCamera, CSetupCamera::kName)->setText("Gate");
    auto* hue = Ctrl<QSlider>(kCamera, CSetupCamera::kPairIds[CSetupCamera::kHue].slider);
    hue->setValue(200);
    // Moving a slider writes its edit; a typed number moves the slider.
    EXPECT_EQ(Ctrl<CNumericEdit>(kCamera, CSetupCamera::kPairIds[CSetupCamera::kHue].edit)->Value(), 200);
    Ctrl<CNumericEdit>(kCamera, CSetupCamera::kPairIds[CSetupCamera::kBrightness].edit)->SetValue(17);
    Ctrl<QComboBox>(kCamera, CSetupCamera::kPtzProtocol)->setCurrentIndex(2);
    // A click in the preview marks the cell under it: row 2, column 5.
    Click(kCamera, CSetupCamera::kClear);
    QTest::mouseClick(page->Preview(), Qt::LeftButton, {}, QPoint(5 * 40 + 3, 2 * 30 + 3));
    QTest::mouseClick(page->Preview(), Qt::LeftButton, {}, QPoint(7, 7));
    QTest::mouseClick(page->Preview(), Qt::LeftButton, {}, QPoint(8, 8)); // same cell again: unmarked

    Click(kCamera, CSetupCamera::kFirstChannel + 5);
    EXPECT_EQ(Ctrl<QLineEdit>(kCamera, CSetupCamera::kName)->text(), "CAM6");
    const DvrCameraSection& w = host->Copies().working.camera;
    EXPECT_EQ(std::string(w.cameraName[3]), "Gate");
    EXPECT_EQ(w.hue[3], 200);
    EXPECT_EQ(w.brightness[3], 17);

    const ZERD_INFO_BLK before = session->current;
    Click(kCamera, CSetupCamera::kSend);
    EXPECT_EQ(session->written, std::vector<int>{kSectionCamera});
    const DvrCameraSection& c = session->current.camera;
    EXPECT_EQ(c.motionAreaRows0to3[3].get(), 1u << (2 * 8 + 5));
    EXPECT_EQ(c.ptzPresentMask.get(), 1u << 3);
    EXPECT_EQ(c.ptzProtocol[3], 2);
    ZERD_INFO_BLK others = session->current;
    others.camera = before.camera;
    EXPECT_EQ(std::memcmp(&others, &before, sizeof others), 0);

    // All marks the shown channel only; Default keeps the grid and names.
    Click(kCamera, CSetupCamera::kMarkAll);
    Click(kCamera, CSetupCamera::kDefault);
    EXPECT_EQ(Ctrl<QSlider>(kCamera, CSetupCamera::kPairIds[CSetupCamera::kContrast].slider)->value(), 128);
    Click(kCamera, CSetupCamera::kSend);
    EXPECT_EQ(session->current.camera.motionAreaRows4to7[5].get(), 0xFFFFFFFFu);
    EXPECT_EQ(session->current.camera.motionAreaRows4to7[4].get(), before.camera.motionAreaRows4to7[4].get());
    EXPECT_EQ(session->current.camera.motionAreaRows0to3[3].get(), 1u << (2 * 8 + 5));
    EXPECT_EQ(session->current.camera.recordingQuality[9], 1);
}

TEST_F(SetupPagesTest, CameraOnModelAPairsRatesAndShowsTwoGrids)
{
    Open(1, kCamera);
    auto* page = static_cast<CSetupCamera*>(host->PageAt(kCamera));
    // Group A resolution 0 in the default block: two cameras per picture.
    EXPECT_TRUE(page->TwoGrids());
    EXPECT_TRUE(Ctrl(kCamera, CSetupCamera::kFirstChannel + 3)->isEnabled());
    EXPECT_FALSE(Ctrl(kCamera, CSetupCamera::kFirstChannel + 4)->isEnabled());

    Click(kCamera, CSetupCamera::kFirstChannel + 1);
    Ctrl<QSlider>(kCamera, CSetupCamera::kPairIds[CSetupCamera::kFrameRate].slider)->setValue(7);
    // The right half of the picture is camera 2's grid (channel 1); Clear
    // empties both.
    Click(kCamera, CSetupCamera::kClear);
    QTest::mouseClick(page->Preview(), Qt::LeftButton, {}, QPoint(165, 5));
    QTest::mouseClick(page->Preview(), Qt::LeftButton, {}, QPoint(5, 5));
    Click(kCamera, CSetupCamera::kSend);
    const DvrCameraSection& c = session->current.camera;
    EXPECT_EQ(c.frameRate[0], 7);
    EXPECT_EQ(c.frameRate[1], 7);
    EXPECT_EQ(c.frameRate[2], 30);
    EXPECT_EQ(c.motionAreaRows0to3[0].get(), 1u);
    EXPECT_EQ(c.motionAreaRows0to3[1].get(), 1u);

    QTest::mouseClick(FindCtrl<QPushButton>(host, CSetupDVRSetup::kExit), Qt::LeftButton);
    EXPECT_TRUE(Ctrl(kCamera, CSetupCamera::kFirstChannel + 15)->isEnabled());
}
