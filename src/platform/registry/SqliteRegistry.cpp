#include "platform/registry/SqliteRegistry.h"

#include "platform/registry/RegNameFold.h"
#include "platform/registry/SqliteStatement.h"

#include <sqlite3.h>

namespace {

constexpr std::int64_t kRootKeyId = 1;

long Done(int rc)
{
    return rc == SQLITE_DONE ? regerr::Success : regerr::IoFailed;
}

} // namespace

SqliteRegistry::SqliteRegistry(sqlite3* db) : m_db(db) {}

SqliteRegistry::~SqliteRegistry()
{
    sqlite3_close_v2(m_db);
}

long SqliteRegistry::Transact(bool write, const std::function<long()>& body)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (sqlite3_exec(m_db, write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return regerr::IoFailed;
    long code = body();
    if (code == regerr::Success && sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
        return code;
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return code == regerr::Success ? regerr::IoFailed : code;
}

long SqliteRegistry::FindKey(const RegKeyPath& key, std::int64_t& id, RegKeyPath* spelling)
{
    id = kRootKeyId;
    for (const auto& part : key) {
        SqliteStatement find(m_db, "SELECT id, name FROM reg_keys WHERE parent = ? AND fold = ?");
        find.Bind(1, id).Bind(2, FoldRegName(part));
        int rc = find.Step();
        if (rc == SQLITE_DONE)
            return regerr::FileNotFound;
        if (rc != SQLITE_ROW)
            return regerr::IoFailed;
        id = find.Int(0);
        if (spelling)
            spelling->push_back(find.Text(1));
    }
    return regerr::Success;
}

long SqliteRegistry::MakeKey(const RegKeyPath& key, std::int64_t& id)
{
    id = kRootKeyId;
    for (const auto& part : key) {
        std::string fold = FoldRegName(part);
        SqliteStatement find(m_db, "SELECT id FROM reg_keys WHERE parent = ? AND fold = ?");
        find.Bind(1, id).Bind(2, fold);
        int rc = find.Step();
        if (rc == SQLITE_ROW) {
            id = find.Int(0);
            continue;
        }
        if (rc != SQLITE_DONE)
            return regerr::IoFailed;
        SqliteStatement insert(m_db, "INSERT INTO reg_keys(parent, name, fold) VALUES(?, ?, ?)");
        insert.Bind(1, id).Bind(2, part).Bind(3, fold);
        if (insert.Step() != SQLITE_DONE)
            return regerr::IoFailed;
        id = sqlite3_last_insert_rowid(m_db);
    }
    return regerr::Success;
}

long SqliteRegistry::CreateKey(const RegKeyPath& key)
{
    return Transact(true, [&] {
        std::int64_t id = 0;
        return MakeKey(key, id);
    });
}

long SqliteRegistry::OpenKey(const RegKeyPath& key)
{
    return Transact(false, [&] {
        std::int64_t id = 0;
        return FindKey(key, id);
    });
}

long SqliteRegistry::StoredSpelling(const RegKeyPath& key, RegKeyPath& stored)
{
    RegKeyPath found;
    long code = Transact(false, [&] {
        std::int64_t id = 0;
        return FindKey(key, id, &found);
    });
    if (code == regerr::Success)
        stored = std::move(found);
    return code;
}

long SqliteRegistry::DeleteKey(const RegKeyPath& key)
{
    return Transact(true, [&] {
        std::int64_t id = 0;
        if (long code = FindKey(key, id); code != regerr::Success)
            return code;
        if (id == kRootKeyId)
            return regerr::AccessDenied;
        SqliteStatement child(m_db, "SELECT 1 FROM reg_keys WHERE parent = ? LIMIT 1");
        child.Bind(1, id);
        int rc = child.Step();
        if (rc == SQLITE_ROW)
            return regerr::AccessDenied;
        if (rc != SQLITE_DONE)
            return regerr::IoFailed;
        SqliteStatement remove(m_db, "DELETE FROM reg_keys WHERE id = ?");
        remove.Bind(1, id);
        return Done(remove.Step());
    });
}

long SqliteRegistry::RemoveTree(const RegKeyPath& key)
{
    std::int64_t id = 0;
    long code = FindKey(key, id);
    if (code == regerr::FileNotFound)
        return regerr::Success;
    if (code != regerr::Success)
        return code;
    if (id == kRootKeyId)
        return regerr::AccessDenied;
    // Subkeys and values go with it through the cascading foreign keys.
    SqliteStatement remove(m_db, "DELETE FROM reg_keys WHERE id = ?");
    remove.Bind(1, id);
    return Done(remove.Step());
}

long SqliteRegistry::QueryValue(const RegKeyPath& key, const std::string& name, RegValue& value)
{
    return Transact(false, [&] {
        std::int64_t id = 0;
        if (long code = FindKey(key, id); code != regerr::Success)
            return code;
        SqliteStatement query(m_db, "SELECT name, type, data FROM reg_values WHERE key = ? AND fold = ?");
        query.Bind(1, id).Bind(2, FoldRegName(name));
        int rc = query.Step();
        if (rc == SQLITE_DONE)
            return regerr::FileNotFound;
        if (rc != SQLITE_ROW)
            return regerr::IoFailed;
        value.name = query.Text(0);
        value.type = static_cast<std::uint32_t>(query.Int(1));
        value.data = query.Blob(2);
        return regerr::Success;
    });
}

long SqliteRegistry::StoreValue(const RegKeyPath& key, const std::string& name, std::uint32_t type,
                                const std::vector<std::uint8_t>& data)
{
    std::int64_t id = 0;
    if (long code = FindKey(key, id); code != regerr::Success)
        return code;
    // An existing value keeps its place and the spelling of its name.
    SqliteStatement store(m_db,
                          "INSERT INTO reg_values(key, name, fold, type, data) VALUES(?, ?, ?, ?, ?) "
                          "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data");
    store.Bind(1, id).Bind(2, name).Bind(3, FoldRegName(name)).Bind(4, std::int64_t(type)).BindBlob(5, data);
    return Done(store.Step());
}

long SqliteRegistry::SetValue(const RegKeyPath& key, const std::string& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data)
{
    return Transact(true, [&] { return StoreValue(key, name, type, data); });
}

long SqliteRegistry::RemoveValue(const RegKeyPath& key, const std::string& name)
{
    std::int64_t id = 0;
    if (long code = FindKey(key, id); code != regerr::Success)
        return code;
    SqliteStatement remove(m_db, "DELETE FROM reg_values WHERE key = ? AND fold = ?");
    remove.Bind(1, id).Bind(2, FoldRegName(name));
    if (remove.Step() != SQLITE_DONE)
        return regerr::IoFailed;
    return sqlite3_changes(m_db) > 0 ? regerr::Success : regerr::FileNotFound;
}

long SqliteRegistry::DeleteValue(const RegKeyPath& key, const std::string& name)
{
    return Transact(true, [&] { return RemoveValue(key, name); });
}

long SqliteRegistry::EnumSubKeys(const RegKeyPath& key, std::vector<std::string>& names)
{
    std::vector<std::string> found;
    long code = Transact(false, [&] {
        std::int64_t id = 0;
        if (long result = FindKey(key, id); result != regerr::Success)
            return result;
        SqliteStatement list(m_db, "SELECT name FROM reg_keys WHERE parent = ? ORDER BY fold, name");
        list.Bind(1, id);
        int rc;
        while ((rc = list.Step()) == SQLITE_ROW)
            found.push_back(list.Text(0));
        return Done(rc);
    });
    if (code == regerr::Success)
        names = std::move(found);
    return code;
}

long SqliteRegistry::EnumValues(const RegKeyPath& key, std::vector<RegValue>& values)
{
    std::vector<RegValue> found;
    long code = Transact(false, [&] {
        std::int64_t id = 0;
        if (long result = FindKey(key, id); result != regerr::Success)
            return result;
        SqliteStatement list(m_db, "SELECT name, type, data FROM reg_values WHERE key = ? ORDER BY id");
        list.Bind(1, id);
        int rc;
        while ((rc = list.Step()) == SQLITE_ROW)
            found.push_back({list.Text(0), static_cast<std::uint32_t>(list.Int(1)), list.Blob(2)});
        return Done(rc);
    });
    if (code == regerr::Success)
        values = std::move(found);
    return code;
}

long SqliteRegistry::Flush()
{
    std::lock_guard<std::mutex> hold(m_lock);
    int rc = sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    return rc == SQLITE_OK ? regerr::Success : regerr::IoFailed;
}

long SqliteRegistry::ApplyOne(const RegEdit& edit)
{
    std::int64_t id = 0;
    switch (edit.kind) {
    case RegEdit::Kind::CreateKey:
        return MakeKey(edit.key, id);
    case RegEdit::Kind::DeleteTree:
        return RemoveTree(edit.key);
    case RegEdit::Kind::SetValue:
        return StoreValue(edit.key, edit.valueName, edit.type, edit.data);
    case RegEdit::Kind::DeleteValue: {
        long code = RemoveValue(edit.key, edit.valueName);
        return code == regerr::FileNotFound ? regerr::Success : code;
    }
    }
    return regerr::InvalidParameter;
}

long SqliteRegistry::Apply(const std::vector<RegEdit>& edits)
{
    return Transact(true, [&] {
        for (const auto& edit : edits)
            if (long code = ApplyOne(edit); code != regerr::Success)
                return code;
        return regerr::Success;
    });
}
