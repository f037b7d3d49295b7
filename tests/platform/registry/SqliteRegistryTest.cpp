#include "core/config/RegConfig.h"
#include "platform/registry/SqliteRegistry.h"

#include "TempRegistry.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool HasValue(RegistryBackend& store, const RegKeyPath& key, const std::string& name)
{
    RegValue value;
    return store.QueryValue(key, name, value) == regerr::Success;
}

TEST(SqliteRegistryOpen, NewDatabaseIsPrivateToTheUser)
{
    TempFolder folder;
    std::string path = folder.File("config/DVR/registry.db");
    mode_t old = umask(0);
    RegistryOpenResult opened = OpenRegistryAt(path);
    umask(old);
    ASSERT_TRUE(opened.backend) << opened.error;
    EXPECT_TRUE(opened.movedAsidePath.empty());
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ModeOf(folder.File("config/DVR")), 0700u);
    ASSERT_EQ(opened.backend->CreateKey({"Software", "DVR"}), regerr::Success);
    ASSERT_EQ(opened.backend->SetValue({"Software", "DVR"}, "Pass", REG_SZ, {'s', 0}), regerr::Success);
    EXPECT_EQ(ModeOf(path + "-wal"), 0600u);
}

TEST(SqliteRegistryOpen, ExistingDatabaseKeepsItsTreeAndLosesWideMode)
{
    TempFolder folder;
    std::string path = folder.File("registry.db");
    {
        RegistryOpenResult first = OpenRegistryAt(path);
        ASSERT_TRUE(first.backend) << first.error;
        ASSERT_EQ(first.backend->CreateKey({"Software", "DVR"}), regerr::Success);
        ASSERT_EQ(first.backend->SetValue({"Software", "DVR"}, "Language", REG_BINARY, {1, 0, 0, 0}), regerr::Success);
    }
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    RegistryOpenResult again = OpenRegistryAt(path);
    ASSERT_TRUE(again.backend) << again.error;
    EXPECT_TRUE(again.movedAsidePath.empty());
    EXPECT_TRUE(HasValue(*again.backend, {"software", "dvr"}, "LANGUAGE"));
    EXPECT_EQ(ModeOf(path), 0600u);
}

TEST(SqliteRegistryOpen, GarbageFileIsMovedAsideWithItsLogAndATreeStartsFresh)
{
    TempFolder folder;
    std::string path = folder.File("registry.db");
    std::string garbage(8192, 'G');
    WriteFile(path, garbage);
    WriteFile(path + "-wal", "old log");
    RegistryOpenResult opened = OpenRegistryAt(path);
    ASSERT_TRUE(opened.backend) << opened.error;
    ASSERT_FALSE(opened.movedAsidePath.empty());
    EXPECT_EQ(opened.movedAsidePath.rfind(path + ".damaged-", 0), 0u) << opened.movedAsidePath;
    EXPECT_EQ(ReadFile(opened.movedAsidePath), garbage);
    EXPECT_EQ(ReadFile(opened.movedAsidePath + "-wal"), "old log");
    std::vector<std::string> names;
    EXPECT_EQ(opened.backend->EnumSubKeys({}, names), regerr::Success);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(ModeOf(path), 0600u);

    // A second damaged file in the same second gets a name of its own.
    opened.backend.reset();
    WriteFile(path, garbage + "2");
    RegistryOpenResult second = OpenRegistryAt(path);
    ASSERT_TRUE(second.backend) << second.error;
    EXPECT_NE(second.movedAsidePath, opened.movedAsidePath);
    EXPECT_EQ(ReadFile(opened.movedAsidePath), garbage);
}

TEST(SqliteRegistryOpen, ForeignAndBrokenDatabasesAreMovedAside)
{
    TempFolder folder;
    std::string foreign = folder.File("foreign.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('keep me')", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    RegistryOpenResult opened = OpenRegistryAt(foreign);
    ASSERT_TRUE(opened.backend) << opened.error;
    EXPECT_FALSE(opened.movedAsidePath.empty());
    EXPECT_NE(ReadFile(opened.movedAsidePath).find("keep me"), std::string::npos);

    // Our own database with a page overwritten in the middle.
    std::string broken = folder.File("broken.db");
    {
        RegistryOpenResult made = OpenRegistryAt(broken);
        ASSERT_TRUE(made.backend);
        for (int i = 0; i < 200; ++i) {
            RegKeyPath key = {"Software", "DVR", "ServerInfo", "server " + std::to_string(i)};
            ASSERT_EQ(made.backend->CreateKey(key), regerr::Success);
            ASSERT_EQ(made.backend->SetValue(key, "IP", REG_SZ, std::vector<std::uint8_t>(200, 'i')), regerr::Success);
        }
        ASSERT_EQ(made.backend->Flush(), regerr::Success);
    }
    std::string bytes = ReadFile(broken);
    ASSERT_GT(bytes.size(), 3 * 4096u);
    for (std::size_t i = 2 * 4096; i < 3 * 4096; ++i)
        bytes[i] = char(0xA5);
    WriteFile(broken, bytes);
    RegistryOpenResult reopened = OpenRegistryAt(broken);
    ASSERT_TRUE(reopened.backend) << reopened.error;
    EXPECT_FALSE(reopened.movedAsidePath.empty());
    EXPECT_FALSE(HasValue(*reopened.backend, {"Software", "DVR", "ServerInfo", "server 1"}, "IP"));
}

TEST(SqliteRegistryOpen, NoStoreWhenNothingCanBeCreated)
{
    TempFolder folder;
    WriteFile(folder.File("plainfile"), "x");
    RegistryOpenResult opened = OpenRegistryAt(folder.File("plainfile/registry.db"));
    EXPECT_FALSE(opened.backend);
    EXPECT_FALSE(opened.error.empty());
    EXPECT_TRUE(opened.movedAsidePath.empty());
}

TEST(SqliteRegistryOpen, UserPathFollowsTheEnvironment)
{
    const char* saved = std::getenv("DVR_REGISTRY");
    std::string savedValue = saved ? saved : "";
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    std::string savedXdgValue = savedXdg ? savedXdg : "";

    setenv("DVR_REGISTRY", "/somewhere/reg.db", 1);
    EXPECT_EQ(UserRegistryPath(), "/somewhere/reg.db");
    unsetenv("DVR_REGISTRY");
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(UserRegistryPath(), "/xdg/DVR/registry.db");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(UserRegistryPath(), std::string(std::getenv("HOME")) + "/.config/DVR/registry.db");

    if (saved)
        setenv("DVR_REGISTRY", savedValue.c_str(), 1);
    if (savedXdg)
        setenv("XDG_CONFIG_HOME", savedXdgValue.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

using SqliteRegistryTest = TempRegistryTest;

TEST_F(SqliteRegistryTest, BatchIsAppliedWhollyOrNotAtAll)
{
    ASSERT_EQ(m_store->CreateKey({"Keep"}), regerr::Success);
    ASSERT_EQ(m_store->SetValue({"Keep"}, "v", REG_SZ, {'o', 'l', 'd', 0}), regerr::Success);

    std::vector<RegEdit> edits = {
        MakeEdit(RegEdit::Kind::SetValue, {"Keep"}, "v", {'n', 'e', 'w', 0}),
        MakeEdit(RegEdit::Kind::CreateKey, {"Made", "Here"}),
        MakeEdit(RegEdit::Kind::DeleteTree, {"Never", "There"}),
        MakeEdit(RegEdit::Kind::SetValue, {"Missing"}, "x"), // into a key nobody made: fails the batch
    };
    EXPECT_EQ(m_store->Apply(edits), regerr::FileNotFound);
    RegValue value;
    ASSERT_EQ(m_store->QueryValue({"Keep"}, "v", value), regerr::Success);
    EXPECT_EQ(value.data, (std::vector<std::uint8_t>{'o', 'l', 'd', 0}));
    EXPECT_EQ(m_store->OpenKey({"Made"}), regerr::FileNotFound);

    edits.pop_back();
    EXPECT_EQ(m_store->Apply(edits), regerr::Success);
    ASSERT_EQ(m_store->QueryValue({"KEEP"}, "V", value), regerr::Success);
    EXPECT_EQ(value.name, "v");
    EXPECT_EQ(value.data, (std::vector<std::uint8_t>{'n', 'e', 'w', 0}));
    EXPECT_EQ(m_store->OpenKey({"made", "HERE"}), regerr::Success);
}

TEST_F(SqliteRegistryTest, TreeDeletionTakesEverythingBelowAndOnlyThat)
{
    for (const RegKeyPath& key : {RegKeyPath{"A", "B", "C"}, RegKeyPath{"A", "B2"}, RegKeyPath{"AB"}})
        ASSERT_EQ(m_store->CreateKey(key), regerr::Success);
    ASSERT_EQ(m_store->SetValue({"A", "B", "C"}, "deep", REG_BINARY, {1}), regerr::Success);
    EXPECT_EQ(m_store->DeleteKey({"A", "B"}), regerr::AccessDenied);
    EXPECT_EQ(m_store->DeleteKey({}), regerr::AccessDenied);
    ASSERT_EQ(DeleteTree(*m_store, {"a", "b"}), regerr::Success);
    EXPECT_EQ(m_store->OpenKey({"A", "B"}), regerr::FileNotFound);
    EXPECT_EQ(m_store->OpenKey({"A", "B2"}), regerr::Success);
    EXPECT_EQ(m_store->OpenKey({"AB"}), regerr::Success);
    // A key made again under the old name does not inherit old values.
    ASSERT_EQ(m_store->CreateKey({"A", "B", "C"}), regerr::Success);
    EXPECT_FALSE(HasValue(*m_store, {"A", "B", "C"}, "deep"));
}

TEST_F(SqliteRegistryTest, ValuesListInCreationOrderAndDeleteByAnyCase)
{
    ASSERT_EQ(m_store->CreateKey({"K"}), regerr::Success);
    for (const char* name : {"Zeta", "alpha", "", "Mid"})
        ASSERT_EQ(m_store->SetValue({"K"}, name, REG_BINARY, {}), regerr::Success);
    ASSERT_EQ(m_store->SetValue({"K"}, "ZETA", REG_DWORD, {9, 0, 0, 0}), regerr::Success);
    std::vector<RegValue> values;
    ASSERT_EQ(m_store->EnumValues({"K"}, values), regerr::Success);
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0].name, "Zeta");
    EXPECT_EQ(values[0].type, REG_DWORD);
    EXPECT_EQ(values[1].name, "alpha");
    EXPECT_EQ(values[2].name, "");
    EXPECT_EQ(m_store->DeleteValue({"K"}, "MID"), regerr::Success);
    EXPECT_EQ(m_store->DeleteValue({"K"}, "MID"), regerr::FileNotFound);
    EXPECT_EQ(m_store->SetValue({"Nope"}, "x", REG_SZ, {0}), regerr::FileNotFound);
}

} // namespace
