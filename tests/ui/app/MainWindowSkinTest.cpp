// The main window's skin set-up, control table and side-panel selector.
#include "core/config/RegistryBackend.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/app/SidePanels.h"
#include "ui/controls/CtrlId.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MainWindowSkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        auto store = OpenRegistryAt(m_dir / "registry.db");
        ASSERT_TRUE(store.backend) << store.error;
        SetRegistryBackend(store.backend);
        ClearShownMessages();
    }
    void TearDown() override { SetRegistryBackend(nullptr); }

    static QPushButton* Button(const QWidget& window, int id) { return FindCtrl<QPushButton>(&window, id); }

    TempDir m_dir;
    ScopedEnv m_driveC{"DVR_DRIVE_C", m_dir.path()};
};

} // namespace

TEST_F(MainWindowSkinTest, UnknownLanguageGetsTheEnglishSkinOnEveryElementAndTheTablePlaces)
{
    MainWindowOptions options;
    options.languageIndex = 5;
    COrlixDlg dialog(nullptr, options);
    ASSERT_TRUE(dialog.Skin().Loaded()) << dialog.Skin().Warning().toStdString();
    EXPECT_TRUE(dialog.Skin().LoadedFile().endsWith("/Live_eng.skn"));
    EXPECT_EQ(dialog.objectName(), "m_bg_Liveview");
    EXPECT_TRUE(dialog.styleSheet().contains("background.svg"));

    QPushButton* setup = Button(dialog, 222);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->objectName(), "m_btn_Dvr_Setup");
    EXPECT_EQ(setup->geometry(), QRect(8, 705, 56, 61));
    EXPECT_TRUE(setup->styleSheet().contains("setup.svg"));
    EXPECT_EQ(Button(dialog, 5115)->geometry(), QRect(776, 733, 33, 29));
    EXPECT_EQ(Button(dialog, 1000)->geometry(), QRect(1000, 10, 14, 14));
    // Windows of other parts are skinned by the names they carry.
    QPushButton* full = Button(dialog, 4006);
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(full->styleSheet().contains("fullscreen.svg"));
    EXPECT_TRUE(dialog.Panels().Panel(SidePanel::Ptz)->styleSheet().contains("panel.svg"));

    options.languageIndex = 1;
    COrlixDlg chinese(nullptr, options);
    EXPECT_TRUE(chinese.Skin().LoadedFile().endsWith("/Live_china.skn"));
}

TEST_F(MainWindowSkinTest, MissingSkinLeavesAPlainUsableWindowAndSaysSo)
{
    TempDir noSkins;
    MainWindowOptions options;
    options.skinSearchPath = {QString::fromStdString(noSkins.path())};
    COrlixDlg dialog(nullptr, options);
    EXPECT_FALSE(dialog.Skin().Loaded());
    const QStringList lines = dialog.StatusLines();
    EXPECT_TRUE(lines.contains(dialog.Skin().Warning()));
    EXPECT_TRUE(dialog.Skin().Warning().contains("Live_eng.skn"));
    // Buttons keep a readable look of their own and still move to their places.
    EXPECT_TRUE(dialog.styleSheet().contains("QPushButton"));
    EXPECT_EQ(Button(dialog, 209)->geometry(), QRect(126, 643, 56, 61));
    EXPECT_FALSE(Button(dialog, 1224)->text().isEmpty());
}

TEST_F(MainWindowSkinTest, SidePanelTabsShowOnePanelAndHiddenButtonsLeaveTheTabsAlone)
{
    COrlixDlg dialog;
    dialog.show();
    const SidePanels& panels = dialog.Panels();
    const auto visible = [&](SidePanel panel) { return panels.Panel(panel)->isVisible(); };
    EXPECT_TRUE(Button(dialog, 1224)->isChecked());
    EXPECT_TRUE(visible(SidePanel::Information));

    for (int press = 0; press < 2; ++press) {
        QTest::mouseClick(Button(dialog, 1239), Qt::LeftButton);
        EXPECT_TRUE(Button(dialog, 1239)->isChecked()) << "press " << press;
        EXPECT_FALSE(Button(dialog, 1224)->isChecked());
        EXPECT_TRUE(visible(SidePanel::Ptz));
        EXPECT_FALSE(visible(SidePanel::Information));
        EXPECT_FALSE(visible(SidePanel::Pictures));
    }
    Button(dialog, 202)->click();
    EXPECT_TRUE(visible(SidePanel::Pictures));
    EXPECT_FALSE(visible(SidePanel::Ptz));
    EXPECT_TRUE(Button(dialog, 1239)->isChecked());
    EXPECT_FALSE(Button(dialog, 1240)->isChecked());

    QTest::mouseClick(Button(dialog, 1224), Qt::LeftButton);
    EXPECT_TRUE(visible(SidePanel::Information));
    EXPECT_FALSE(Button(dialog, 1239)->isChecked());
}

TEST_F(MainWindowSkinTest, DialogButtonsOpenWhatTheyAreGivenAndGoGreyWithout)
{
    COrlixDlg dialog;
    dialog.show();
    EXPECT_TRUE(Button(dialog, 1008)->isEnabled());
    EXPECT_TRUE(Button(dialog, 1002)->isEnabled());
    EXPECT_FALSE(Button(dialog, 233)->isEnabled());
    // Remote setup needs a listed administrator session first.
    EXPECT_FALSE(Button(dialog, 222)->isEnabled());

    int servers = 0;
    int config = 0;
    dialog.SetServerSelection([&] { ++servers; });
    dialog.SetConfigurationDialog([&] { ++config; });
    QTest::mouseClick(Button(dialog, 1008), Qt::LeftButton);
    QTest::mouseClick(Button(dialog, 1002), Qt::LeftButton);
    EXPECT_EQ(servers, 1);
    EXPECT_EQ(config, 1);

    dialog.SetServerSelection({});
    EXPECT_FALSE(Button(dialog, 1008)->isEnabled());
    QTest::mouseClick(Button(dialog, 1008), Qt::LeftButton);
    EXPECT_EQ(servers, 1);
}
