#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

// One prepared statement, finalised when it goes out of scope.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& Bind(int index, const std::string& text);
    SqliteStatement& BindBlob(int index, const std::vector<std::uint8_t>& bytes);

    // SQLITE_ROW, SQLITE_DONE or an error code (also the preparation's).
    int Step();

    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Blob(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_prepareResult = SQLITE_OK;
};
