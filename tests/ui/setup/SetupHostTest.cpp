// The setup host and its pages offscreen, on a stand-in for the main window.
#include "core/dvr/FixedText.h"
#include "core/dvr/SettingsBlock.h"
#include "support/QtTestApp.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CNumericEdit.h"
#include "ui/controls/CtrlId.h"
#include "ui/setup/CSetupDVRSetup.h"
#include "ui/setup/CSetupEtc.h"
#include "ui/setup/CSetupNetwork.h"
#include "ui/setup/CSetupPage.h"
#include "ui/setup/CSetupSystem.h"
#include "ui/setup/SetupSession.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// What the pages asked of the main window.
class RecordingSession : public SetupSession {
public:
    bool WriteSection(SetupSectionCopies& copies, std::uint8_t section) override
    {
        written.push_back(section);
        return WriteSettingsSection(current, copies, section, [](void*, std::uint8_t) { return true; });
    }
    std::uint8_t DvrTypeCode() const override { return ::DvrTypeCode(current); }
    void PreparePage() override { ++prepared; }
    void SetupClosed() override { ++closed; }
    bool StartUpload(const QString&, UploadListener*, QString* reason) override
    {
        *reason = "Cannot open x !";
        return false;
    }

    ZERD_INFO_BLK current = MakeDefaultSettingsBlock(6);
    std::vector<int> written;
    int prepared = 0;
    int closed = 0;
};

template <typename T = QWidget>
T* Ctrl(QWidget* root, int id)
{
    T* control = FindCtrl<T>(root, id);
    EXPECT_TRUE(control) << id;
    return control;
}

} // namespace

TEST(SetupHostTest, TabsShowOnePageAtATimeAndExitClearsTheCopies)
{
    EnsureQApplication();
    QWidget window;
    RecordingSession session;
    CSetupDVRSetup host(session, &window);
    for (int page = 0; page < CSetupDVRSetup::kPageCount; ++page) {
        auto* tab = Ctrl<QPushButton>(&host, 1100 + page);
        EXPECT_EQ(host.PageAt(static_cast<CSetupDVRSetup::Page>(page))->pos(), QPoint(10, 60));
        EXPECT_FALSE(tab->accessibleName().isEmpty());
    }
    EXPECT_EQ(Ctrl<QPushButton>(&host, 1106)->text(), "File Upload");
    EXPECT_EQ(Ctrl<QPushButton>(&host, 224)->text(), "Exit");

    window.show();
    host.Open(session.current);
    EXPECT_TRUE(host.IsPageActive(CSetupDVRSetup::kSystem));
    EXPECT_EQ(session.prepared, 1);

    // The shown page's tab clicked again: it stays shown and checked.
    QTest::mouseClick(host.Tab(CSetupDVRSetup::kSystem), Qt::LeftButton);
    EXPECT_TRUE(host.Tab(CSetupDVRSetup::kSystem)->isChecked());
    EXPECT_TRUE(host.PageAt(CSetupDVRSetup::kSystem)->isVisible());
    EXPECT_EQ(session.prepared, 1);

    QTest::mouseClick(host.Tab(CSetupDVRSetup::kSchedule), Qt::LeftButton);
    EXPECT_TRUE(host.PageAt(CSetupDVRSetup::kSchedule)->isVisible());
    EXPECT_FALSE(host.PageAt(CSetupDVRSetup::kSystem)->isVisible());
    EXPECT_FALSE(host.Tab(CSetupDVRSetup::kSystem)->isChecked());
    EXPECT_TRUE(host.Tab(CSetupDVRSetup::kSchedule)->isChecked());

    // Enter and Escape close nothing.
    QTest::keyClick(host.PageAt(CSetupDVRSetup::kSchedule), Qt::Key_Escape);
    QTest::keyClick(&host, Qt::Key_Return);
    EXPECT_TRUE(host.isVisible());

    QTest::mouseClick(Ctrl<QPushButton>(&host, 224), Qt::LeftButton);
    EXPECT_FALSE(host.isVisible());
    EXPECT_EQ(session.closed, 1);
    const ZERD_INFO_BLK zero{};
    EXPECT_EQ(std::memcmp(&host.Copies().working, &zero, sizeof zero), 0);
    EXPECT_EQ(std::memcmp(&host.Copies().baseline, &zero, sizeof zero), 0);
}

TEST(SetupHostTest, SystemPageIdRulePreValueDefaultAndSend)
{
    EnsureQApplication();
    QWidget window;
    RecordingSession session;
    session.current.system.recorderId = 7;
    CSetupDVRSetup host(session, &window);
    window.show();
    host.Open(session.current);
    QWidget* page = host.PageAt(CSetupDVRSetup::kSystem);

    auto* id = Ctrl<QLineEdit>(page, CSetupSystem::kId);
    EXPECT_EQ(id->text(), "7");
    EXPECT_EQ(Ctrl<QLineEdit>(page, CSetupSystem::kDvrType)->text(), "MODEL_F");
    EXPECT_FALSE(Ctrl<QComboBox>(page, CSetupSystem::kVideoStandard)->isEnabled());
    id->clear();
    QTest::keyClicks(id, "300");
    EXPECT_EQ(id->text(), "0");
    auto* admin = Ctrl<QLineEdit>(page, CSetupSystem::kAdminPassword);
    admin->clear();
    QTest::keyClicks(admin, "123456789");
    EXPECT_EQ(admin->text(), "12345678");

    // Pre-Value brings the baseline back.
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupSystem::kPreValue), Qt::LeftButton);
    EXPECT_EQ(id->text(), "7");
    EXPECT_EQ(admin->text(), "5829");

    // Default sets the controls only.
    Ctrl<QComboBox>(page, CSetupSystem::kMouseSensor)->setCurrentIndex(2);
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupSystem::kDefault), Qt::LeftButton);
    EXPECT_EQ(id->text(), "0");
    EXPECT_EQ(Ctrl<QComboBox>(page, CSetupSystem::kMouseSensor)->currentIndex(), 1);
    EXPECT_EQ(host.Copies().working.system.recorderId, 7);

    id->setText("42");
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupSystem::kSend), Qt::LeftButton);
    EXPECT_EQ(session.written, std::vector<int>{0});
    EXPECT_EQ(session.current.system.recorderId, 42);
    EXPECT_EQ(host.Copies().baseline.system.recorderId, 42);

    // A value the recorder holds but no list offers is named, and nothing goes.
    ClearShownMessages();
    host.Copies().working.system.mouseSensor = 0;
    static_cast<CSetupSystem*>(page)->Fill();
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupSystem::kSend), Qt::LeftButton);
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].text, "system.mouseSensor: 0 is outside 1..3");
    EXPECT_EQ(session.written, std::vector<int>{0});
}

TEST(SetupHostTest, NetworkPageAllButtonDefaultAndSend)
{
    EnsureQApplication();
    QWidget window;
    RecordingSession session;
    session.current.network.eventMailMask.set(0x0004);
    CSetupDVRSetup host(session, &window);
    window.show();
    host.Open(session.current);
    QTest::mouseClick(host.Tab(CSetupDVRSetup::kNetwork), Qt::LeftButton);
    QWidget* page = host.PageAt(CSetupDVRSetup::kNetwork);
    ASSERT_TRUE(page->isVisible());

    EXPECT_TRUE(Ctrl<QPushButton>(page, 1143)->isChecked());  // SENSOR
    EXPECT_FALSE(Ctrl<QPushButton>(page, 1142)->isChecked());
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupNetwork::kAllEvents), Qt::LeftButton);
    for (int id = 1141; id <= 1149; ++id)
        EXPECT_TRUE(Ctrl<QPushButton>(page, id)->isChecked()) << id;
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupNetwork::kAllEvents), Qt::LeftButton);
    for (int id = 1141; id <= 1149; ++id)
        EXPECT_FALSE(Ctrl<QPushButton>(page, id)->isChecked()) << id;

    EXPECT_EQ(Ctrl<QLineEdit>(page, CSetupNetwork::kDvrName)->maxLength(), 50);
    EXPECT_EQ(Ctrl<QLineEdit>(page, CSetupNetwork::kMailServerId)->maxLength(), 16);
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupNetwork::kDefault), Qt::LeftButton);
    EXPECT_EQ(Ctrl<CNumericEdit>(page, CSetupNetwork::kPort)->Value(), 7050);
    EXPECT_EQ(Ctrl<QLineEdit>(page, CSetupNetwork::kMailServerId)->text(), "ADMIN");
    Ctrl<QPushButton>(page, 1149)->setChecked(true);  // TIME
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupNetwork::kSend), Qt::LeftButton);
    EXPECT_EQ(session.written, std::vector<int>{3});
    EXPECT_EQ(session.current.network.eventMailMask.get(), 0x0100);
    EXPECT_EQ(session.current.network.port.get(), 7050);
    EXPECT_EQ(ReadFixedText(session.current.network.mailServerId), "ADMIN");
}

TEST(SetupHostTest, NumericEditSaysWhenATypedNumberIsOutsideItsRange)
{
    EnsureQApplication();
    CNumericEdit edit;
    edit.SetRange(0, 100);
    edit.SetStep(5);
    edit.SetValue(40);
    QSignalSpy changed(&edit, &QSpinBox::valueChanged);
    QSignalSpy outside(&edit, &CNumericEdit::valueOutOfRange);
    edit.show();
    edit.stepUp();
    EXPECT_EQ(edit.Value(), 45);
    EXPECT_EQ(changed.count(), 1);

    edit.selectAll();
    QTest::keyClicks(&edit, "250");
    QTest::keyClick(&edit, Qt::Key_Return);
    ASSERT_EQ(outside.count(), 1);
    EXPECT_EQ(outside.at(0).at(0).toInt(), 250);
    EXPECT_EQ(edit.Value(), 45);
}

TEST(SetupHostTest, UploadPageKeepsTheFullPathAndReportsAFileThatCannotBeOpened)
{
    EnsureQApplication();
    QWidget window;
    RecordingSession session;
    CSetupDVRSetup host(session, &window);
    window.show();
    host.Open(session.current);
    QTest::mouseClick(host.Tab(CSetupDVRSetup::kFileUpload), Qt::LeftButton);
    auto* page = static_cast<CSetupEtc*>(host.PageAt(CSetupDVRSetup::kFileUpload));
    EXPECT_EQ(page->geometry(), QRect(10, 60, 510, 143));
    EXPECT_EQ(Ctrl<QPushButton>(page, CSetupEtc::kBrowse)->geometry(), QRect(22, 35, 60, 25));
    EXPECT_EQ(Ctrl<QWidget>(page, CSetupEtc::kProgress)->geometry(), QRect(85, 65, 400, 23));

    page->SetFileChooser([](QWidget*) { return QString("/no/such/folder/firmware.bin"); });
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupEtc::kBrowse), Qt::LeftButton);
    EXPECT_EQ(Ctrl<QLineEdit>(page, CSetupEtc::kPath)->text(), "/no/such/folder/firmware.bin");
    EXPECT_EQ(page->ChosenSize(), 0);
    ClearShownMessages();
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupEtc::kUpload), Qt::LeftButton);
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].text, "Cannot open x !");

    // An empty path does nothing.
    ClearShownMessages();
    Ctrl<QLineEdit>(page, CSetupEtc::kPath)->clear();
    QTest::mouseClick(Ctrl<QPushButton>(page, CSetupEtc::kUpload), Qt::LeftButton);
    EXPECT_TRUE(ShownMessages().empty());
}
