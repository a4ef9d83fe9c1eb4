#pragma once

#include <string_view>

#include "host/IReleaseStore.h"
#include "suite/store/Connection.h"

/// The record of which release of the delivered tree a database is on: t_SuiteRelease holds a
/// row per release the database was brought to (FChange, the change that brought it; 0 at
/// creation), its name and date, and the account types it replaced (JSON, for a revert). The
/// newest row is the release the database is on.
namespace quarn::suite::release {

inline constexpr int kFirstVersion = 8;
inline constexpr std::string_view kTable = "t_SuiteRelease";
/// PostgreSQL: the role that may record a release and write the account types.
inline constexpr std::string_view kUpgraderRole = "quarn_upgrader";

/// The release of the base data this program creates databases with, from the
/// "-- Release: NAME DATE" line of base_data.sql.
SuiteRelease Shipped();

/// Schema version 8: the table and, on PostgreSQL, the role that may upgrade with its grants
/// (where the owner may create it).
void Create(Connection& connection);

/// Records the shipped release as the one a new database is on.
void RecordShipped(Connection& connection);

}  // namespace quarn::suite::release
