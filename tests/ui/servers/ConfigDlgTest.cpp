#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "core/servers/ServerRecord.h"
#include "support/processes/EmulatorProcess.h"
#include "support/processes/FreePort.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"
#include "ui/servers/CConfigDlg.h"
#include "ui/controls/CIpAddressEdit.h"
#include "ui/servers/ConfigListTable.h"
#include "ui/viewer/ViewerText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

QString Text(int id)
{
    return TextOf(LangText::Id(id));
}

bool WasShown(const QString& text)
{
    for (const ShownMessage& shown : ShownMessages())
        if (shown.text == text)
            return true;
    return false;
}

// Every test runs the dialog over its own registry file, which the registry
// editor started by the dialog opens too, and its own folder standing for c:\.
class ConfigDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        fs::create_directory(m_dir / "c");
        auto store = OpenRegistryAt(m_dir / "registry.db");
        ASSERT_TRUE(store.backend) << store.error;
        SetRegistryBackend(store.backend);
        CRegConfig reg;
        reg.SetKey("Software\\DVR\\", true);
        reg.WriteInt("Language", 0);
        ClearShownMessages();
    }
    void TearDown() override
    {
        dialog.reset();
        SetRegistryBackend(nullptr);
    }

    CConfigDlg& Open()
    {
        dialog = std::make_unique<CConfigDlg>([this] { ++restarts; });
        dialog->show();
        return *dialog;
    }
    template <typename W>
    W* Ctrl(int id)
    {
        W* widget = FindCtrl<W>(dialog.get(), id);
        EXPECT_TRUE(widget) << "control " << id;
        return widget;
    }
    void Click(int id) { QTest::mouseClick(Ctrl<QPushButton>(id), Qt::LeftButton); }
    void DoubleClickRow(int listId, int row)
    {
        auto* list = Ctrl<ConfigListTable>(listId);
        QRect cell = list->visualItemRect(list->item(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void FillForm(const QString& name, const QString& ip, const QString& port, const QString& password)
    {
        Ctrl<QLineEdit>(CConfigDlg::kServerName)->setText(name);
        Ctrl<QLineEdit>(CConfigDlg::kIpAddress)->setText(ip);
        Ctrl<QLineEdit>(CConfigDlg::kPort)->setText(port);
        Ctrl<QLineEdit>(CConfigDlg::kPassword)->setText(password);
    }
    std::optional<ServerRecord> Stored(const std::string& name)
    {
        CRegConfig reg;
        return ServerDirectory(reg).Find(name);
    }
    QStringList ServerListNames()
    {
        QStringList names;
        auto* list = Ctrl<ConfigListTable>(CConfigDlg::kServerList);
        for (int row = 0; row < list->rowCount(); ++row)
            names << list->Text(row, 0);
        return names;
    }

    TempDir m_dir;
    ScopedEnv m_registry {"DVR_REGISTRY", m_dir / "registry.db"};
    ScopedEnv m_driveC {"DVR_DRIVE_C", m_dir / "c"};
    std::unique_ptr<CConfigDlg> dialog;
    int restarts = 0;
};

TEST_F(ConfigDlgTest, StartsWithDefaultsAndTheStoredServers)
{
    CRegConfig reg;
    ServerDirectory(reg).Write({"Yard", "10.1.1.1", 7050, "ADMIN", "pw", "Warehouse-8", "UDP", "10.0.0.1"});
    reg.SetKey("Software\\DVR\\DVR_TYPE", true);
    reg.WriteString("MDLB", "Warehouse-8");
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Configuration");
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kAccountList)->currentText(), "GUEST0");
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kProtocol)->currentText(), "TCP");
    EXPECT_FALSE(Ctrl<QComboBox>(CConfigDlg::kProtocol)->isEnabled());
    auto* types = Ctrl<QComboBox>(CConfigDlg::kDvrType);
    ASSERT_EQ(types->count(), 6);
    EXPECT_EQ(types->itemText(1), "Warehouse-8");  // the table's text, not the code MDLB
    EXPECT_EQ(types->currentIndex(), 0);
    EXPECT_FALSE(Ctrl<QCheckBox>(CConfigDlg::kOtherDns)->isChecked());
    EXPECT_FALSE(Ctrl<CIpAddressEdit>(CConfigDlg::kDdnsServer)->isEnabled());
    EXPECT_EQ(dialog->DdnsServerText(), "203.0.113.10");
    EXPECT_EQ(ServerListNames(), QStringList{"Yard"});
    auto* list = Ctrl<ConfigListTable>(CConfigDlg::kServerList);
    EXPECT_EQ(list->Text(0, 3), "7050");
    EXPECT_EQ(list->Text(0, 4), "UDP");
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kLanguage)->currentText(), "English");

    // Loading the record back: its DDNS text fills the address control.
    DoubleClickRow(CConfigDlg::kServerList, 0);
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kServerName)->text(), "Yard");
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kIpAddress)->text(), "10.1.1.1");
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kPort)->text(), "7050");
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kAccountList)->currentText(), "ADMIN");
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kPassword)->text(), "pw");
    EXPECT_EQ(types->currentText(), "Warehouse-8");
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kProtocol)->currentText(), "UDP");
    EXPECT_EQ(Ctrl<CIpAddressEdit>(CConfigDlg::kDdnsServer)->Address(), (DottedQuad{10, 0, 0, 1}));
}

TEST_F(ConfigDlgTest, AddModifyDeleteWriteTheRegistryAndRefreshTheList)
{
    Open();
    FillForm("Shop", "192.168.0.10", "7050", "");
    Click(CConfigDlg::kAddButton);
    EXPECT_TRUE(WasShown(Text(6009)));
    EXPECT_EQ(dialog->focusWidget(), Ctrl<QLineEdit>(CConfigDlg::kPassword));
    EXPECT_FALSE(Stored("Shop"));

    // Another DDNS server is typed into the address control.
    QTest::mouseClick(Ctrl<QCheckBox>(CConfigDlg::kOtherDns), Qt::LeftButton);
    auto* ddns = Ctrl<CIpAddressEdit>(CConfigDlg::kDdnsServer);
    EXPECT_TRUE(ddns->isEnabled());
    EXPECT_EQ(ddns->Address(), (DottedQuad{0, 0, 0, 0}));
    ddns->SetAddress({10, 0, 0, 1});
    FillForm("Shop", "192.168.0.10", "7050", "secret");
    Ctrl<QComboBox>(CConfigDlg::kAccountList)->setCurrentIndex(0);
    Click(CConfigDlg::kAddButton);
    EXPECT_TRUE(WasShown(Text(6003)));
    EXPECT_EQ(Stored("Shop"),
              (ServerRecord{"Shop", "192.168.0.10", 7050, "ADMIN", "secret", "MODEL_A", "TCP", "10.0.0.1"}));
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kAccountText)->text(), "ADMIN");
    EXPECT_EQ(dialog->DdnsServerText(), "10.0.0.1");
    EXPECT_EQ(ServerListNames(), QStringList{"Shop"});

    ClearShownMessages();
    Click(CConfigDlg::kAddButton);
    EXPECT_TRUE(WasShown(Text(6002)));

    Ctrl<QLineEdit>(CConfigDlg::kPort)->setText("8000");
    Click(CConfigDlg::kModifyButton);
    EXPECT_TRUE(WasShown(Text(6005)));
    EXPECT_EQ(Stored("Shop")->port, 8000u);
    EXPECT_EQ(Ctrl<ConfigListTable>(CConfigDlg::kServerList)->Text(0, 3), "8000");

    ClearShownMessages();
    FillForm("Gone", "192.168.0.12", "7050", "secret");
    Click(CConfigDlg::kModifyButton);
    Click(CConfigDlg::kDeleteButton);
    EXPECT_EQ(ShownMessages().size(), 2u);
    EXPECT_EQ(ShownMessages()[0].text, Text(6004));
    EXPECT_EQ(ShownMessages()[1].text, Text(6004));
    EXPECT_FALSE(Stored("Gone"));

    FillForm("Shop", "192.168.0.10", "7050", "x");
    Click(CConfigDlg::kDeleteButton);
    EXPECT_TRUE(WasShown(Text(6006)));
    EXPECT_FALSE(Stored("Shop"));
    EXPECT_TRUE(ServerListNames().isEmpty());
}

TEST_F(ConfigDlgTest, SaveThenRestoreBringsTheServersBack)
{
    CRegConfig reg;
    ServerDirectory(reg).Write({"Yard", "10.1.1.1", 7050, "ADMIN", "pw", "MODEL_B", "TCP", "203.0.113.10"});
    Open();
    Click(CConfigDlg::kSaveButton);
    ASSERT_FALSE(ShownMessages().empty());
    EXPECT_EQ(ShownMessages().front().text, Text(6014));
    EXPECT_EQ(ShownMessages().front().icon, QMessageBox::Question);
    std::string backup;
    for (const auto& entry : fs::directory_iterator(m_dir / "c"))
        backup = entry.path().string();
    ASSERT_TRUE(QString::fromStdString(fs::path(backup).filename().string())
                    .contains(QRegularExpression("^DVR_\\d{8}_\\d{6}\\.reg$")))
        << backup;
    EXPECT_EQ(ShownMessages().back().text, QString::fromStdString(backup) + " is Created");

    FillForm("Yard", "10.1.1.1", "7050", "pw");
    Click(CConfigDlg::kDeleteButton);
    ASSERT_FALSE(Stored("Yard"));
    ServerDirectory(reg).Write({"Later", "10.2.2.2", 7051, "GUEST1", "pw", "MODEL_C", "TCP", ""});

    int asked = 0;
    dialog->SetRestorePathProvider([&] {
        ++asked;
        return QString::fromStdString(backup);
    });
    ClearShownMessages();
    Click(CConfigDlg::kRestoreButton);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(ShownMessages().empty());
    EXPECT_EQ(Stored("Yard"), (ServerRecord{"Yard", "10.1.1.1", 7050, "ADMIN", "pw", "MODEL_B", "TCP", "203.0.113.10"}));
    // An import adds to the branch; what was made since stays.
    EXPECT_EQ(ServerListNames(), (QStringList{"Later", "Yard"}));

    // A broken file is refused as a whole and said so; a cancelled choice does nothing.
    std::ofstream(m_dir / "broken.reg") << "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software\\DVR\\X]\n\"a\"=hex:zz\n";
    dialog->SetRestorePathProvider([&] { return QString::fromStdString(m_dir / "broken.reg"); });
    Click(CConfigDlg::kRestoreButton);
    EXPECT_TRUE(WasShown(Text(CConfigDlg::kStrBackupRestoreFailed)));
    EXPECT_FALSE(reg.KeyExists("Software\\DVR\\X"));
    ClearShownMessages();
    dialog->SetRestorePathProvider([] { return QString(); });
    Click(CConfigDlg::kRestoreButton);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(ConfigDlgTest, SaveThatCannotWriteItsFileSaysSo)
{
    // The folder standing for c:\ is missing, so the backup file cannot be made.
    ScopedEnv missing("DVR_DRIVE_C", m_dir / "no-such-folder");
    Open();
    Click(CConfigDlg::kSaveButton);
    EXPECT_EQ(ShownMessages().back().text, Text(CConfigDlg::kStrBackupCreateFailed));
}

TEST_F(ConfigDlgTest, LanguageApplyNeedsALanguageAndTheKeyThenStoresTheIndexAndAsksForARestart)
{
    CRegConfig reg;
    reg.SetKey("Software\\DVR\\", false);
    reg.WriteInt("Language", 7);
    Open();
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kLanguage)->currentText(), "");
    Click(CConfigDlg::kLanguageApplyButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(reg.ReadInt("Language", -1), 7);

    Ctrl<QComboBox>(CConfigDlg::kLanguage)->setCurrentIndex(1);
    reg.DeleteKey("Software\\DVR\\");
    Click(CConfigDlg::kLanguageApplyButton);
    EXPECT_TRUE(WasShown("Registry Key is not found"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(restarts, 0);

    ASSERT_TRUE(reg.SetKey("Software\\DVR\\", true));
    Ctrl<QComboBox>(CConfigDlg::kLanguage)->setCurrentIndex(2);
    Click(CConfigDlg::kLanguageApplyButton);
    reg.SetKey("Software\\DVR\\", false);
    EXPECT_EQ(reg.ReadInt("Language", -1), 2);
    EXPECT_EQ(reg.GetDataType("Language"), REG_BINARY);
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ConfigDlgTest, EnterAndEscapeDoNotCloseOnlyExitDoes)
{
    Open();
    FillForm("Shop", "192.168.0.10", "7050", "secret");
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(Ctrl<QLineEdit>(CConfigDlg::kServerName), static_cast<Qt::Key>(key));
        QTest::keyClick(dialog.get(), static_cast<Qt::Key>(key));
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(ShownMessages().empty());
    EXPECT_FALSE(Stored("Shop"));
    Click(CConfigDlg::kExitButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->DdnsServerText(), "203.0.113.10");
}

// Three recorders of one emulator process answer the scan on loopback.
class ConfigDlgScanTest : public ConfigDlgTest {
protected:
    static void SetUpTestSuite()
    {
        s_discoveryPort = FreeUdpPort();
        s_emulator = std::make_unique<EmulatorProcess>();
        ASSERT_TRUE(s_emulator->Start({{"MODEL_A", {}}, {"MODEL_C", {}}, {"MODEL_F", {}}},
                                      {"--discovery-port", std::to_string(s_discoveryPort)}))
            << s_emulator->Error();
    }
    static void TearDownTestSuite() { s_emulator.reset(); }

    ConfigListTable* ScanList() { return Ctrl<ConfigListTable>(CConfigDlg::kScanList); }

    static std::unique_ptr<EmulatorProcess> s_emulator;
    static std::uint16_t s_discoveryPort;
};
std::unique_ptr<EmulatorProcess> ConfigDlgScanTest::s_emulator;
std::uint16_t ConfigDlgScanTest::s_discoveryPort = 0;

TEST_F(ConfigDlgScanTest, ScanListsEveryRecorderAndAPickedOneCanBeAdded)
{
    ASSERT_TRUE(s_emulator);
    ScopedEnv targets("DVR_SCAN_TARGETS", "127.0.0.1:" + std::to_string(s_discoveryPort));
    Open();
    Click(CConfigDlg::kScanButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ScanList()->rowCount() == 3; }, 5000)) << ScanList()->rowCount();
    std::map<QString, QString> typeByPort;
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(ScanList()->Text(row, 0).contains(QRegularExpression("^([0-9A-F]{2} ){5}[0-9A-F]{2}$")))
            << ScanList()->Text(row, 0).toStdString();
        EXPECT_EQ(ScanList()->Text(row, 1), "127.0.0.1");
        typeByPort[ScanList()->Text(row, 3)] = ScanList()->Text(row, 2);
    }
    EXPECT_EQ(typeByPort, (std::map<QString, QString>{{QString::number(s_emulator->Port(0)), "MODEL_A"},
                                                      {QString::number(s_emulator->Port(1)), "MODEL_C"},
                                                      {QString::number(s_emulator->Port(2)), "MODEL_F"}}));
    ASSERT_TRUE(QTest::qWaitFor([] { return WasShown(" Found 3 DVR!"); }, CConfigDlg::kScanWaitMs + 3000));

    int row = 0;
    while (ScanList()->Text(row, 2) != "MODEL_F")
        ++row;
    Ctrl<QLineEdit>(CConfigDlg::kServerName)->setText("typed before the pick");
    DoubleClickRow(CConfigDlg::kScanList, row);
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kServerName)->text(), "");
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kIpAddress)->text(), "127.0.0.1");
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kPort)->text(), QString::number(s_emulator->Port(2)));
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kAccountList)->currentText(), "GUEST0");
    EXPECT_EQ(Ctrl<QLineEdit>(CConfigDlg::kPassword)->text(), "5829");
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kDvrType)->currentText(), "MODEL_F");
    EXPECT_EQ(Ctrl<QComboBox>(CConfigDlg::kProtocol)->currentText(), "TCP");

    Ctrl<QLineEdit>(CConfigDlg::kServerName)->setText("Gate");
    Click(CConfigDlg::kAddButton);
    EXPECT_EQ(Stored("Gate"), (ServerRecord{"Gate", "127.0.0.1", s_emulator->Port(2), "GUEST0", "5829", "MODEL_F",
                                            "TCP", "203.0.113.10"}));

    // A second scan starts from an empty list.
    Click(CConfigDlg::kScanButton);
    EXPECT_EQ(ScanList()->rowCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ScanList()->rowCount() == 3; }, 5000));
}

TEST_F(ConfigDlgScanTest, ScanWithoutAnswersSaysNoRecorderWasFound)
{
    ScopedEnv targets("DVR_SCAN_TARGETS", "127.0.0.1:" + std::to_string(FreeUdpPort()));
    Open();
    Click(CConfigDlg::kScanButton);
    ASSERT_TRUE(QTest::qWaitFor([] { return WasShown(Text(6000)); }, CConfigDlg::kScanWaitMs + 3000));
    EXPECT_EQ(ScanList()->rowCount(), 0);
    EXPECT_EQ(ShownMessages().size(), 1u);
}

} // namespace
