#pragma once

#include "core/config/RegistryBackend.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>

struct sqlite3;

// The registry store in one SQLite database (schema in docs/registry.md).
// Every change runs in its own write transaction (BEGIN IMMEDIATE), so
// programs sharing the file never lose each other's updates.
class SqliteRegistry final : public RegistryBackend {
public:
    // Takes over a connection whose schema has been created or checked.
    explicit SqliteRegistry(sqlite3* db);
    ~SqliteRegistry() override;
    SqliteRegistry(const SqliteRegistry&) = delete;
    SqliteRegistry& operator=(const SqliteRegistry&) = delete;

    long CreateKey(const RegKeyPath& key) override;
    long OpenKey(const RegKeyPath& key) override;
    long StoredSpelling(const RegKeyPath& key, RegKeyPath& stored) override;
    long DeleteKey(const RegKeyPath& key) override;
    long QueryValue(const RegKeyPath& key, const std::string& name, RegValue& value) override;
    long SetValue(const RegKeyPath& key, const std::string& name, std::uint32_t type,
                  const std::vector<std::uint8_t>& data) override;
    long DeleteValue(const RegKeyPath& key, const std::string& name) override;
    long EnumSubKeys(const RegKeyPath& key, std::vector<std::string>& names) override;
    long EnumValues(const RegKeyPath& key, std::vector<RegValue>& values) override;
    long Flush() override;
    long Apply(const std::vector<RegEdit>& edits) override;

private:
    // Runs body in one transaction (a write transaction when write is set),
    // committing on Success and rolling back otherwise.
    long Transact(bool write, const std::function<long()>& body);
    // Walks the path from the root; spelling, when given, receives the names
    // as stored.
    long FindKey(const RegKeyPath& key, std::int64_t& id, RegKeyPath* spelling = nullptr);
    long MakeKey(const RegKeyPath& key, std::int64_t& id);
    long RemoveTree(const RegKeyPath& key);
    long RemoveValue(const RegKeyPath& key, const std::string& name);
    long StoreValue(const RegKeyPath& key, const std::string& name, std::uint32_t type,
                    const std::vector<std::uint8_t>& data);
    long ApplyOne(const RegEdit& edit);

    std::mutex m_lock; // guards m_db: one connection, one transaction at a time
    sqlite3* m_db;
};

struct RegistryOpenResult {
    std::shared_ptr<RegistryBackend> backend;   // null when no store could be made
    std::string movedAsidePath;                 // where a damaged database was moved, if one was
    std::string error;                          // why backend is null
};

// The current user's store: $DVR_REGISTRY, else $XDG_CONFIG_HOME/DVR/registry.db,
// else ~/.config/DVR/registry.db.
std::string UserRegistryPath();
RegistryOpenResult OpenUserRegistry();
// Opens or creates the database at path (file mode 0600, a missing parent
// folder is made 0700). A damaged one is moved aside and a fresh one started.
RegistryOpenResult OpenRegistryAt(const std::string& path);
// A private store that lives only as long as the backend.
std::shared_ptr<RegistryBackend> OpenInMemoryRegistry();
