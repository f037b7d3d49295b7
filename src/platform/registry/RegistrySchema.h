#pragma once

#include <string>

struct sqlite3;

// The tables of the registry database (described in docs/registry.md).
namespace registry_schema {

enum class Check { Ready, Damaged, Failed };

// Read-only: the file passes SQLite's quick check and is either empty or a
// database with exactly our schema. Damaged otherwise; Failed when it could
// not be read at all (e.g. locked); why goes to error.
Check Verify(sqlite3* db, std::string& error);

// Within one write transaction: creates the tables in an empty database, or
// checks that an existing one has exactly our schema and a sound root key.
// Damaged for a foreign or broken database, Failed when it could not be read
// (e.g. still locked by another program); why goes to error.
Check Prepare(sqlite3* db, std::string& error);

} // namespace registry_schema
