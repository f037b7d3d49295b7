#pragma once

#include <string>

struct sqlite3;

// The tables of the registry database (described in docs/registry.md).
namespace registry_schema {

enum class Check { Ready, Damaged, Failed };

// Within one write transaction: creates the tables in an empty database, or
// checks that an existing one has exactly our schema and a sound root key.
// Damaged for a foreign or broken database, Failed when it could not be read
// (e.g. still locked by another program); why goes to error.
Check Prepare(sqlite3* db, std::string& error);

} // namespace registry_schema
