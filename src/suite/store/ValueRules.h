#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/Variant.h"
#include "suite/store/Connection.h"

/// The rules the store holds each written row of the tree to on its own, whoever writes: a
/// simplified-Chinese name that is not blank and a short code of at most 40 characters (code
/// points). Rows stored before the rules came are left as they are; `subsysmgr check` names them.
namespace quarn::suite::valuerules {

/// Schema version 7. PostgreSQL: CHECK constraints added NOT VALID, so that rows already stored
/// are not judged. SQLite, which adds a CHECK only by rebuilding the table: triggers before
/// INSERT and UPDATE that refuse a row breaking a rule (SQLITE_CONSTRAINT_TRIGGER).
void Create(Connection& connection);

/// The rules' triggers (SQLite) or constraints (PostgreSQL) that are missing or, on SQLite, not
/// as this program makes them, one entry a thing ("trigger tr_ck_subsystem_number_INSERT is
/// missing"); empty when all are in place. Only reads.
std::vector<std::string> Missing(Connection& connection);

/// Puts back what Missing names: the triggers as this program makes them, the constraints NOT
/// VALID as Create adds them. Needs the tables' owner on PostgreSQL.
void Restore(Connection& connection);

/// The constraint a row of `table` breaks, as `columns` and `values` give it; "" for none. SQLite
/// does not say which trigger refused: the writer asks this.
std::string_view BrokenBy(std::string_view table, const std::vector<std::string>& columns,
                          const std::vector<Variant>& values);

}  // namespace quarn::suite::valuerules
