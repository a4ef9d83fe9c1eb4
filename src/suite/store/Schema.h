#pragma once

#include "suite/store/Connection.h"
#include "suite/store/DatabaseName.h"

/// The suite's tables, by version: creating them in a new database, and bringing an older
/// schema of ours to the current one. Each step runs inside the caller's transaction.
namespace quarn::suite::schema {

inline constexpr int kCurrentVersion = 9;

/// The schema version of the database, or 0 when it has no version table (not ours).
int VersionOf(Connection& connection);

/// Raises NotOurs for a database without our version table and NewerSchema for a version
/// this program does not know. `description` names the database in the message.
void CheckReadable(int version, const DatabaseName& description);

/// Creates every table of `version` (the current one unless told: an older one serves to try
/// migrations) and the delivered base data; with `demo` also the demo customer items.
void Create(Connection& connection, bool demo, int version = kCurrentVersion);

/// Brings a schema of an older version to `toVersion`, the current one unless told.
void Migrate(Connection& connection, int fromVersion, int toVersion = kCurrentVersion);

}  // namespace quarn::suite::schema
