#pragma once

#include <cstdint>
#include <memory>

#include "foundation/RecordTable.h"
#include "suite/store/Database.h"

namespace quarn::suite {

/// The functional tree as read at one change number: groups, subsystems, sub-functions and
/// account types, each an immutable table that Recordsets share.
struct TreeSnapshot {
    std::shared_ptr<Database> database;
    int schemaVersion = 0;
    int64_t sequence = 0;
    std::shared_ptr<const RecordTable> groups;
    std::shared_ptr<const RecordTable> subSystems;
    std::shared_ptr<const RecordTable> subFunctions;
    std::shared_ptr<const RecordTable> accountTypes;

    /// Reads every table. Raises the store's errors.
    static TreeSnapshot Load(std::shared_ptr<Database> database);
    /// This snapshot brought up to date with the changes committed since it was read: only the
    /// changed rows are read again. Returns it unchanged when nothing changed, and reads every
    /// table again when the log cannot tell (pruned past it, or another schema version).
    TreeSnapshot Refreshed() const;
};

}  // namespace quarn::suite
