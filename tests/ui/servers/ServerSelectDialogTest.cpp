// The registered server list against a scripted main window and the real
// registry store; DDNS names resolve through a real ddns-emulator process.
#include "core/config/RegConfig.h"
#include "core/servers/ServerRecord.h"
#include "core/servers/ServerSelectHost.h"
#include "support/processes/DdnsEmulatorProcess.h"
#include "support/processes/FreePort.h"
#include "platform/registry/TempRegistry.h"
#include "support/QtTestApp.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"
#include "ui/servers/CServerSelect.h"
#include "ui/viewer/ViewerText.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

// Records what the dialog asks of the main window, in order.
class ScriptedHost : public ServerSelectHost {
public:
    bool liveRunning = false;
    std::vector<std::string> openNames;
    int liveChannels = 0;
    int firstType = 0;
    bool connectSucceeds = true;
    std::vector<std::string> calls;

    bool IsLiveRunning() const override { return liveRunning; }
    std::vector<std::string> OpenServerNames() const override { return openNames; }
    int LiveChannelsInUse() const override { return liveChannels; }
    int FirstSlotDvrType() const override { return firstType; }
    void SetCurrentServerName(const std::string& name) override { calls.push_back("name " + name); }
    void SetCredentials(const std::string& account, const std::string& password) override
    {
        calls.push_back("credentials " + account + "/" + password);
    }
    bool Connect(const std::string& address, const std::string& port, const std::string& protocol,
                 const std::string& account, const std::string& password, const ServerDescriptor& server) override
    {
        calls.push_back("connect " + address + " " + port + " " + protocol + " " + account + "/" + password + " as "
                        + server.name + "@" + server.address);
        return connectSucceeds;
    }
    void SetCurrentServerType(const std::string& dvrType, const ServerDescriptor& server) override
    {
        calls.push_back("type " + dvrType + " " + server.name + "@" + server.address);
    }
};

class ServerSelectTest : public TempRegistryTest {
protected:
    void SetUp() override
    {
        TempRegistryTest::SetUp();
        EnsureQApplication();
        ClearShownMessages();
    }

    void add(const std::string& name, const std::string& ip, const std::string& dvrType = "MODEL_C",
             const std::string& ddns = "127.0.0.1")
    {
        CRegConfig reg;
        ASSERT_TRUE(ServerDirectory(reg).Write(ServerRecord{name, ip, 7050, "ADMIN", "1111", dvrType, "TCP", ddns}));
    }

    static QTableWidget* list(CServerSelect& dialog) { return FindCtrl<QTableWidget>(&dialog, 213); }

    // Double-clicks the row whose first column is name.
    static void doubleClick(CServerSelect& dialog, const QString& name)
    {
        QTableWidget* table = list(dialog);
        const auto found = table->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        const QRect cell = table->visualItemRect(found.front());
        // The view takes a double-click only on the item its press went to.
        QTest::mousePress(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }

    static bool shown(const QString& text, const QString& caption, QMessageBox::Icon icon)
    {
        for (const ShownMessage& message : ShownMessages())
            if (message.text == text && message.caption == caption && message.icon == icon)
                return true;
        return false;
    }

    ScriptedHost m_host;
};

} // namespace

TEST_F(ServerSelectTest, ColumnsAreWideEnoughForWhatTheyHoldAndTheDialogShowsThemAll)
{
    {
        CRegConfig reg;
        ASSERT_TRUE(ServerDirectory(reg).Write(ServerRecord{"Warehouse loading bay north", "192.168.100.200", 39001,
                                                            "ADMIN", "1111", "MODEL_C", "TCP", "127.0.0.1"}));
    }
    CServerSelect dialog(m_host);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTableWidget* table = list(dialog);
    ASSERT_NE(table, nullptr);
    const QFontMetrics metrics(table->font());
    for (int c = 0; c < table->columnCount(); ++c) {
        const QString text = table->item(0, c)->text();
        // Cells keep a few pixels of margin on each side; less elides the text.
        EXPECT_GE(table->columnWidth(c), metrics.horizontalAdvance(text) + 8) << text.toStdString();
        EXPECT_GE(table->columnWidth(c), table->horizontalHeader()->sectionSizeHint(c));
    }
    EXPECT_GE(table->columnWidth(3), 40) << "a column is never narrower than its own width";
    EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width()) << "every column in view";
}

TEST_F(ServerSelectTest, ListsEveryRecordAndOnlyADoubleClickConnects)
{
    add("Yard", "192.168.0.10");
    {
        CRegConfig reg;
        ASSERT_TRUE(reg.SetKey("Software\\DVR\\ServerInfo\\attic", true));  // a key with no values
    }
    CServerSelect dialog(m_host);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Registered Server List");
    QTableWidget* table = list(dialog);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(dialog.ServerCount(), 2);
    const QStringList rows[] = {{"attic", "", "", "0", ""}, {"Yard", "192.168.0.10", "MODEL_C", "7050", "TCP"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(table->item(r, c)->text(), rows[r][c]);

    table->selectRow(1);
    QTest::keyClick(table, Qt::Key_Return);
    QTest::keyClick(&dialog, Qt::Key_Enter);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(m_host.calls.empty());

    doubleClick(dialog, "Yard");
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{
                                "name Yard", "credentials ADMIN/1111",
                                "connect 192.168.0.10 7050 TCP ADMIN/1111 as Yard@192.168.0.10",
                                "type MODEL_C Yard@192.168.0.10"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // A failed connect still closes the list but names no slot.
    m_host.calls.clear();
    m_host.connectSucceeds = false;
    CServerSelect failing(m_host);
    failing.show();
    doubleClick(failing, "Yard");
    EXPECT_EQ(failing.result(), QDialog::Accepted);
    EXPECT_EQ(m_host.calls.size(), 3u);

    CServerSelect cancelled(m_host);
    cancelled.show();
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST_F(ServerSelectTest, RefusedPicksKeepTheDialogOpenAndConnectNothing)
{
    add("Quad", "10.0.0.4", "MODEL_A");
    add("Gone", "10.0.0.5");
    CServerSelect dialog(m_host);
    dialog.show();

    m_host.liveRunning = true;
    doubleClick(dialog, "Quad");
    EXPECT_TRUE(shown(TextOf(LangText::Id(6043)), "DVR", QMessageBox::Information));
    EXPECT_TRUE(m_host.calls.empty());

    m_host.liveRunning = false;
    m_host.openNames = {"Big"};
    m_host.firstType = 3;
    doubleClick(dialog, "Quad");
    EXPECT_TRUE(shown(TextOf(LangText::Id(6044)), "DVR", QMessageBox::Information));
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"name Quad", "credentials ADMIN/1111"}));

    // Deleted by someone else while the list was up.
    {
        CRegConfig reg;
        ASSERT_TRUE(reg.DeleteKey("Software\\DVR\\ServerInfo\\Gone"));
    }
    m_host.calls.clear();
    doubleClick(dialog, "Gone");
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"name Gone"}));
    EXPECT_TRUE(dialog.isVisible());

    // Already open: closes, connects nothing.
    m_host.calls.clear();
    m_host.openNames = {"Quad"};
    doubleClick(dialog, "Quad");
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"name Quad"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ServerSelectTest, DdnsNamesResolveThroughTheRecordsDdnsServerAndFailuresKeepTheListOpen)
{
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start({"--name", "cam1=127.0.0.1:9000"})) << server.Error();
    DdnsEmulatorProcess silent;
    ASSERT_TRUE(silent.Start({"--reply", "silent"})) << silent.Error();
    add("Remote", "cam1");
    add("Unknown", "nobody");

    auto pickWith = [this](std::uint16_t ddnsPort, const char* name) {
        m_host.calls.clear();
        ClearShownMessages();
        auto dialog = std::make_unique<CServerSelect>(m_host);
        dialog->SetDdnsServerPort(ddnsPort);
        dialog->show();
        doubleClick(*dialog, name);
        return dialog;
    };

    EXPECT_TRUE(pickWith(server.Port(), "Unknown")->isVisible());
    EXPECT_TRUE(shown("Invalid DDNS!", QString(), QMessageBox::NoIcon));

    EXPECT_TRUE(pickWith(FreeTcpPort(), "Remote")->isVisible());
    EXPECT_TRUE(shown("DDNS Connection Failed!", QString(), QMessageBox::NoIcon));
    EXPECT_EQ(m_host.calls.size(), 2u) << "nothing connected";

    // A silent server costs the lookup's 3 s wait (bounded here as a hang
    // guard) and tells the user nothing.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(pickWith(silent.Port(), "Remote")->isVisible());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
    EXPECT_TRUE(ShownMessages().empty());
    EXPECT_EQ(m_host.calls.size(), 2u);

    // The record's port is kept; the DDNS server's port is not used.
    EXPECT_EQ(pickWith(server.Port(), "Remote")->result(), QDialog::Accepted);
    EXPECT_TRUE(ShownMessages().empty());
    ASSERT_EQ(m_host.calls.size(), 4u);
    EXPECT_EQ(m_host.calls[2], "connect 127.0.0.1 7050 TCP ADMIN/1111 as Remote@127.0.0.1");
    EXPECT_EQ(m_host.calls[3], "type MODEL_C Remote@127.0.0.1");
}
