#pragma once

#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "platform/registry/SqliteRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// A private folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ombrel-reg-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline RegEdit MakeEdit(RegEdit::Kind kind, const RegKeyPath& key, const std::string& valueName = "",
                        std::vector<std::uint8_t> data = {})
{
    RegEdit edit;
    edit.kind = kind;
    edit.key = key;
    edit.valueName = valueName;
    edit.type = REG_SZ;
    edit.data = std::move(data);
    return edit;
}

inline long DeleteTree(RegistryBackend& store, const RegKeyPath& key)
{
    return store.Apply({MakeEdit(RegEdit::Kind::DeleteTree, key)});
}

// A fresh database file made the process-wide store for the test.
class TempRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_folder.Path().empty());
        m_dbPath = m_folder.File("registry.db");
        RegistryOpenResult opened = OpenRegistryAt(m_dbPath);
        ASSERT_TRUE(opened.backend) << opened.error;
        m_store = opened.backend;
        SetRegistryBackend(m_store);
    }
    void TearDown() override { SetRegistryBackend(nullptr); }

    TempFolder m_folder;
    std::string m_dbPath;
    std::shared_ptr<RegistryBackend> m_store;
};
