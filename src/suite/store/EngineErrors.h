#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "suite/store/StoreErrors.h"

/// What a failure of an engine means to the store, by the engine's own codes: one table per
/// engine. The message templates are simplified-Chinese catalog keys with %1 for the database.
namespace quarn::suite {

struct EngineFailure {
    StoreError error;
    std::string_view messageTemplate;
};

/// By SQLite's extended result code and the connection's sqlite3_system_errno, which tells a
/// full disk behind an I/O error or behind a -wal or -shm file that could not be made.
EngineFailure ClassifySqliteFailure(int extendedResultCode, int systemErrno);

/// SQLite's extended result code as a failure keeps it: a name and the number, such as
/// "SQLITE_CONSTRAINT_UNIQUE (2067)". A refusal's code is named for the kind of rule; any other
/// by its primary code, so "SQLITE_IOERR (4874)" is an I/O error whose number tells which.
std::string SqliteEngineCode(int extendedResultCode);

/// By PostgreSQL's SQLSTATE and, for a refused write, the name of the constraint that refused.
EngineFailure ClassifyPostgresFailure(std::string_view sqlState, std::string_view constraint);

/// By what libpq knows of a connection that failed, which carries no SQLSTATE: whether the server
/// asked for a password that no source gave (passwordMissing), or asked and was sent one.
EngineFailure ClassifyPostgresLoginFailure(bool passwordMissing, bool passwordSent);

/// The message of a refusal by the named constraint of the tree's tables, or the generic one.
std::string_view RefusalTemplate(std::string_view constraint);

/// The constraints of a table that an inserted row may collide with, in the order their
/// refusals are reported: name and columns.
struct UniqueRule {
    std::string_view constraint;
    std::string_view columns[2];
};
std::vector<UniqueRule> UniqueRulesOf(std::string_view table);

inline constexpr std::string_view kForeignKeyOfSubsystemGroup = "fk_subsystem_group";

}  // namespace quarn::suite
