#pragma once

#include <string>
#include <vector>

#include "suite/store/Connection.h"

/// What the change log depends on to be trusted: its triggers, and on PostgreSQL the functions
/// of the log's owner that write it and the grants that keep everyone else to reading it.
///
/// On PostgreSQL the log, its counter, its pruning mark and the schema version belong to the
/// role that created the database (the owner). The triggers call SECURITY DEFINER functions of
/// the owner with a fixed search_path; they number, stamp (the authenticated user, the client
/// label and note from the transaction's settings quarn.client and quarn.note) and seal each
/// logged row. Every other role may only read those tables. The roles quarn_reader (reads the
/// suite's tables) and quarn_writer (also writes the groups and subsystems) are created when
/// missing and the creating role may; a login is given one of them.
namespace quarn::suite::changelog {

/// Schema version 5: every change stamped once per transaction and sealed; the protections
/// above. Seals the rows already logged, as they stand.
void AddSeals(Connection& connection);

/// Schema version 9: the log records the account types and the releases too (see
/// RecordTables), with the same protections as the tree's.
void LogRecords(Connection& connection);

/// What the log depends on that is missing or not as this program made it, one entry a thing
/// ("trigger tr_... is missing", "UPDATE on t_DataFlowChangeLog granted to suite_app"); empty
/// when everything is in place. Only reads.
std::vector<std::string> MissingProtections(Connection& connection);

/// Puts every protection back: the triggers and functions as this program makes them, a trigger
/// of another program on the log's own tables removed, and on PostgreSQL every grant beyond
/// reading on the log's tables revoked. Needs the owner on PostgreSQL.
void Protect(Connection& connection);

}  // namespace quarn::suite::changelog
