#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "suite/store/Connection.h"

/// The index that finds groups and subsystems by a part of their code or of a name in any
/// language, kept by the database itself so that rows other programs write are found too.
///
/// SQLite: a full-text table with the trigram tokenizer per tree table (rowid = the item's
/// identifier; its code and its three names, folded by the tokenizer), written by the same
/// triggers that log the tree's changes. PostgreSQL: a pg_trgm GIN index on an expression over
/// the code and the lower-cased names of each tree table, which the server keeps itself.
///
/// Either needs something the engine may lack (an SQLite built without FTS5, a server without
/// pg_trgm or a role that may not create it): then the database has no index, which changes
/// nothing but the speed of a search.
namespace quarn::suite::search {

/// A tree table and its index: the columns of its code and its names (CHS, CHT, EN).
struct IndexedTable {
    std::string_view table;
    std::string_view idColumn;
    std::string_view names[3];
    std::string_view index;    ///< SQLite: the full-text table
    std::string_view pgIndex;  ///< PostgreSQL: the GIN index
};
inline constexpr IndexedTable kGroups{
    "t_DataFlowTopClass",
    "FTopClassID",
    {"FTopClassName_CHS", "FTopClassName_CHT", "FTopClassName_EN"},
    "t_DataFlowTopClassSearch",
    "ix_topclass_search"};
inline constexpr IndexedTable kSubSystems{"t_DataFlowSubSystem",
                                          "FSubSysID",
                                          {"FName_CHS", "FName_CHT", "FName_EN"},
                                          "t_DataFlowSubSystemSearch",
                                          "ix_subsystem_search"};

/// Schema version 6: creates the index where the engine can, filled with the rows there are,
/// and (SQLite) the tree's triggers that keep it.
void Create(Connection& connection);

/// Creates what is missing of the index, where the engine can; filled with the rows there are.
/// Leaves the triggers to the caller.
void Ensure(Connection& connection);

/// Whether the database has the index (and, SQLite, this program's SQLite can read it).
bool Indexed(Connection& connection);

/// SQLite: what the tree's trigger for `operation` ("INSERT", "UPDATE", "DELETE") on `table`
/// does to the index, statements each ended by "; "; empty for a table without index.
std::string SqliteTriggerStatements(std::string_view table, std::string_view operation);

/// PostgreSQL: the indexed expression of `table`: its code and lower-cased names, separated by
/// kSeparator, which no search text holds.
std::string PostgresExpression(const IndexedTable& table);
inline constexpr char kSeparator = '\x1f';

}  // namespace quarn::suite::search
