#include "platform/registry/SqliteStatement.h"

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql)
{
    m_prepareResult = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr);
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value)
{
    sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, const std::string& text)
{
    sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::BindBlob(int index, const std::vector<std::uint8_t>& bytes)
{
    // A zero-length blob must still be a blob, not NULL.
    static const std::uint8_t empty = 0;
    sqlite3_bind_blob(m_statement, index, bytes.empty() ? &empty : bytes.data(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

int SqliteStatement::Step()
{
    return m_statement ? sqlite3_step(m_statement) : m_prepareResult;
}

std::int64_t SqliteStatement::Int(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::string SqliteStatement::Text(int column) const
{
    auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    int size = sqlite3_column_bytes(m_statement, column);
    return text ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

std::vector<std::uint8_t> SqliteStatement::Blob(int column) const
{
    auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(m_statement, column));
    int size = sqlite3_column_bytes(m_statement, column);
    return bytes ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>();
}
