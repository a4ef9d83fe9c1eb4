#pragma once

#include <string>
#include <string_view>

#include "suite/store/DatabaseName.h"

struct sqlite3;

/// What keeps the callers' free queries to reading the suite's tables, besides the read-only
/// connection (SQLite) or transaction (PostgreSQL) they run in.
namespace quarn::suite {

/// Raises ReadOnly unless `sql` is one statement that starts with SELECT, WITH or VALUES and
/// calls none of the functions that reach files, settings, locks or other sessions.
/// `description` names the database in the message.
void CheckFreeQuery(std::string_view sql, const DatabaseName& description);

/// Lets the SQLite connection only read tables and call plain functions: no ATTACH, PRAGMA,
/// writes, transactions or extension loading.
void RestrictToReading(sqlite3* connection);

}  // namespace quarn::suite
