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

/// What is known of a connection that failed. The message templates of login failures have %2 for
/// the sslmode.
struct LoginFailure {
    /// The SQLSTATE of the server's refusal; empty when the server sent none.
    std::string_view sqlState;
    /// The server asked for a password that no source gave.
    bool passwordMissing = false;
    /// The connection got as far as the server (a TCP or socket connection was made).
    bool serverAnswered = false;
    /// The sslmode in effect.
    std::string_view sslMode;
    /// A refusal (28000) that a connection over SSL gets past: the server wants SSL.
    bool onlyOverSsl = false;
};

/// Why a connection failed, by the server's SQLSTATE and the connection's own state; never by
/// the text of a message.
EngineFailure ClassifyPostgresLoginFailure(const LoginFailure& login);

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
