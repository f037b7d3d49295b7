#include "platform/registry/RegistrySchema.h"

#include "platform/registry/SqliteStatement.h"

#include <sqlite3.h>

#include <vector>

namespace registry_schema {
namespace {

constexpr std::int64_t kApplicationId = 0x4F6D5247; // "OmRG"
constexpr std::int64_t kSchemaVersion = 1;

const char* const kCreate =
    "CREATE TABLE reg_keys("
    " id INTEGER PRIMARY KEY,"
    " parent INTEGER REFERENCES reg_keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL);"
    "CREATE UNIQUE INDEX reg_keys_child ON reg_keys(parent, fold);"
    "CREATE TABLE reg_values("
    " id INTEGER PRIMARY KEY,"
    " key INTEGER NOT NULL REFERENCES reg_keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL,"
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL);"
    "CREATE UNIQUE INDEX reg_values_name ON reg_values(key, fold);"
    "INSERT INTO reg_keys(id, parent, name, fold) VALUES(1, NULL, '', '');";

bool IsDamage(int rc)
{
    return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT;
}

Check Fail(sqlite3* db, int rc, std::string& error)
{
    error = sqlite3_errmsg(db);
    return IsDamage(rc) ? Check::Damaged : Check::Failed;
}

// First column of a one-row query; rc tells how it went.
std::int64_t Number(sqlite3* db, const char* sql, int& rc)
{
    SqliteStatement query(db, sql);
    rc = query.Step();
    if (rc != SQLITE_ROW)
        return 0;
    rc = SQLITE_OK;
    return query.Int(0);
}

std::vector<std::string> Columns(sqlite3* db, const char* table)
{
    std::vector<std::string> names;
    SqliteStatement query(db, "SELECT name FROM pragma_table_info(?) ORDER BY cid");
    query.Bind(1, std::string(table));
    while (query.Step() == SQLITE_ROW)
        names.push_back(query.Text(0));
    return names;
}

Check CheckExisting(sqlite3* db, std::string& error)
{
    int rc = SQLITE_OK;
    std::int64_t application = Number(db, "PRAGMA application_id", rc);
    if (rc != SQLITE_OK)
        return Fail(db, rc, error);
    std::int64_t version = Number(db, "PRAGMA user_version", rc);
    if (rc != SQLITE_OK)
        return Fail(db, rc, error);
    if (application != kApplicationId || version != kSchemaVersion) {
        error = "not a registry database of this program";
        return Check::Damaged;
    }
    if (Columns(db, "reg_keys") != std::vector<std::string>{"id", "parent", "name", "fold"}
        || Columns(db, "reg_values") != std::vector<std::string>{"id", "key", "name", "fold", "type", "data"}) {
        error = "registry tables are not as expected";
        return Check::Damaged;
    }
    std::int64_t roots = Number(db, "SELECT count(*) FROM reg_keys WHERE id = 1 AND parent IS NULL", rc);
    if (rc != SQLITE_OK)
        return Fail(db, rc, error);
    if (roots != 1) {
        error = "registry root key is missing";
        return Check::Damaged;
    }
    return Check::Ready;
}

} // namespace

Check Verify(sqlite3* db, std::string& error)
{
    SqliteStatement check(db, "PRAGMA quick_check(1)");
    int rc = check.Step();
    if (rc != SQLITE_ROW)
        return Fail(db, rc, error);
    if (check.Text(0) != "ok") {
        error = "database check failed: " + check.Text(0);
        return Check::Damaged;
    }
    std::int64_t objects = Number(db, "SELECT count(*) FROM sqlite_schema", rc);
    if (rc != SQLITE_OK)
        return Fail(db, rc, error);
    return objects == 0 ? Check::Ready : CheckExisting(db, error);
}

Check Prepare(sqlite3* db, std::string& error)
{
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return Fail(db, rc, error);
    std::int64_t objects = Number(db, "SELECT count(*) FROM sqlite_schema", rc);
    Check check = Check::Ready;
    if (rc != SQLITE_OK) {
        check = Fail(db, rc, error);
    } else if (objects == 0) {
        // Only a brand-new database is empty; create our tables in it.
        std::string create = std::string(kCreate) + "PRAGMA application_id = " + std::to_string(kApplicationId)
            + ";PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";";
        rc = sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            check = Fail(db, rc, error);
    } else {
        check = CheckExisting(db, error);
    }
    if (check == Check::Ready) {
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            return Check::Ready;
        check = Fail(db, rc, error);
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return check;
}

} // namespace registry_schema
