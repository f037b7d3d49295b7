#include "ChildProcess.h"
#include "TempRegistry.h"

#include "core/config/RegConfig.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

const std::string kTool = std::string(OMBREL_BIN_DIR) + "/dvr-regedit";

class RegeditToolTest : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& args)
    {
        std::vector<std::string> argv = {kTool};
        argv.insert(argv.end(), args.begin(), args.end());
        int code = RunProgram(argv, {"DVR_REGISTRY=" + m_db, "DVR_DRIVE_C=" + m_folder.Path()}, m_folder.File("output"));
        std::ifstream in(m_folder.File("output"));
        m_output.assign(std::istreambuf_iterator<char>(in), {});
        return code;
    }
    std::shared_ptr<RegistryBackend> Open()
    {
        RegistryOpenResult opened = OpenRegistryAt(m_db);
        EXPECT_TRUE(opened.backend) << opened.error;
        return opened.backend;
    }

    TempFolder m_folder;
    std::string m_db = m_folder.File("registry.db");
    std::string m_output;
};

TEST_F(RegeditToolTest, ExportsAndImportsThroughTheUserRegistry)
{
    {
        auto store = Open();
        ASSERT_TRUE(store);
        ASSERT_EQ(store->CreateKey({"Software", "DVR", "ServerInfo", "Shop"}), regerr::Success);
        ASSERT_EQ(store->SetValue({"Software", "DVR", "ServerInfo", "Shop"}, "Pass", REG_SZ, {'p', 'w', 0}),
                  regerr::Success);
    }
    // The file name the configuration dialog uses, trailing blank included.
    std::string file = m_folder.File("DVR_20070102_030405.reg ");
    ASSERT_EQ(Run({"/e", file, "HKEY_CURRENT_USER\\Software\\DVR"}), 0) << m_output;
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ASSERT_EQ(DeleteTree(*Open(), {"Software", "DVR"}), regerr::Success);
    ASSERT_EQ(Run({"/s", "/u", file}), 0) << m_output;
    EXPECT_EQ(m_output, "");
    auto store = Open();
    RegValue value;
    ASSERT_EQ(store->QueryValue({"Software", "DVR", "ServerInfo", "Shop"}, "Pass", value), regerr::Success);
    EXPECT_EQ(value.data, (std::vector<std::uint8_t>{'p', 'w', 0}));
}

TEST_F(RegeditToolTest, WindowsFileNamesMapOntoDriveC)
{
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run({"/e", "c:\\DVR_20070102_030405.reg", "HKEY_CURRENT_USER"}), 0) << m_output;
    struct stat info {};
    EXPECT_EQ(stat(m_folder.File("DVR_20070102_030405.reg").c_str(), &info), 0);
    EXPECT_EQ(Run({"/u", "C:\\DVR_20070102_030405.reg"}), 0) << m_output;
}

TEST_F(RegeditToolTest, FailuresExitNonZeroWithOneLine)
{
    std::string bad = m_folder.File("bad.reg");
    std::ofstream(bad) << "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex:zz\n";
    EXPECT_EQ(Run({"/u", bad}), 1);
    EXPECT_NE(m_output.find("line 3: bad byte"), std::string::npos) << m_output;
    EXPECT_EQ(std::count(m_output.begin(), m_output.end(), '\n'), 1);
    EXPECT_NE(Open()->OpenKey({"A"}), regerr::Success);

    EXPECT_EQ(Run({"/u", m_folder.File("missing.reg")}), 1);
    EXPECT_EQ(Run({"/e", m_folder.File("out.reg"), "HKEY_CURRENT_USER\\No\\Such"}), 1);
    EXPECT_NE(m_output.find("key not found"), std::string::npos) << m_output;
    struct stat info {};
    EXPECT_NE(stat(m_folder.File("out.reg").c_str(), &info), 0);
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"/x", "file"}), 2);
    EXPECT_EQ(Run({"/e", "/u", "file"}), 2);
}

} // namespace
