#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "suite/store/Connection.h"

/// The change log: triggers record every insert, update and delete of the tree's tables in
/// t_DataFlowChangeLog, whoever writes (this program, another one, a person in an SQL console),
/// and stamp each written row with its version, the change number of that write.
///
/// Change numbers follow commits, so "every change after number n" is exact: on SQLite, whose
/// writers take turns, each logged row gets the next number; on PostgreSQL each transaction
/// takes the next number from the counter row and keeps its lock until it ends. Deleting log
/// rows (pruning) keeps the highest deleted number in t_DataFlowChangePruned, so that a reader
/// whose snapshot is older than that knows the log can no longer bring it up to date.
namespace quarn::suite::changelog {

inline constexpr std::string_view kLogTable = "t_DataFlowChangeLog";

/// A table whose rows the log records, with the columns its old and new values hold.
struct LoggedTable {
    std::string name;
    std::string idColumn;
    std::vector<std::string> columns;
};
const std::vector<LoggedTable>& LoggedTables();

/// The records beside the tree that the log records as well from schema version 9: the account
/// types, and the releases the database was brought to. Their rows carry no version, since no
/// snapshot follows them row by row.
const std::vector<LoggedTable>& RecordTables();
inline constexpr int kFirstRecordsLoggedVersion = 9;

/// The row `row` ("NEW", "OLD") of the table as a JSON object, by `function` (json_object,
/// json_build_object), in SQL.
std::string JsonOf(const LoggedTable& table, const char* function, const char* row);

/// SQLite: the triggers that log the tree's tables and stamp row versions, by name; with
/// `searchIndexed` they also keep the search index (see search::Create).
std::vector<std::pair<std::string, std::string>> SqliteTreeTriggers(bool searchIndexed = false);
/// SQLite: the triggers that log the record tables, by name.
std::vector<std::pair<std::string, std::string>> SqliteRecordTriggers();

/// Creates the log, the pruning mark and the triggers of both tree tables.
void Create(Connection& connection);

/// The PostgreSQL channel on which each transaction that changed the tree is announced, with
/// its change number as the payload, when it commits.
inline constexpr std::string_view kChangedChannel = "quarn_tree_changed";

/// PostgreSQL: makes every change announce itself on kChangedChannel (SQLite has no such
/// signal; its readers watch the change number instead).
void Notify(Connection& connection);

/// Adds the log's note column (what a writer says of its change, e.g. that it reverted an
/// earlier one) and an index that finds one item's changes.
void AddNotes(Connection& connection);

/// The number of the last committed change: every change up to it is in the tree's tables.
inline constexpr std::string_view kLastChangeSqlite =
    "SELECT max(coalesce((SELECT max(FSeq) FROM t_DataFlowChangeLog), 0), "
    "(SELECT FSeq FROM t_DataFlowChangePruned))";
inline constexpr std::string_view kLastChangePostgres = "SELECT FSeq FROM t_DataFlowChangeSeq";

/// The changed items after change $1; a row without a table says the log was pruned past it.
inline constexpr std::string_view kChangesSince =
    "SELECT FSeq, FTableName, FItemID FROM t_DataFlowChangeLog WHERE FSeq > $1 "
    "UNION ALL SELECT FSeq, NULL, NULL FROM t_DataFlowChangePruned WHERE FSeq > $1";

}  // namespace quarn::suite::changelog
