#include "suite/store/TreeSnapshot.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "suite/store/ChangeLog.h"

namespace quarn::suite {

namespace {

using Type = ColumnSpec::Type;

struct TableQuery {
    const char* table;
    const char* idColumn;
    std::vector<ColumnSpec> columns;
    const char* orderBy;

    // Row versions came with schema version 2: an older database reads 0 for every row.
    std::string Select(const std::string& where, int schemaVersion) const {
        std::string sql = "SELECT ";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const bool absent = columns[i].name == "FVersion" && schemaVersion < 2;
            sql += (i ? ", " : "") + (absent ? "0 AS FVersion" : columns[i].name);
        }
        return sql + " FROM " + table + where + " ORDER BY " + orderBy;
    }
};

const TableQuery kGroups{"t_DataFlowTopClass",
                         "FTopClassID",
                         {{"FTopClassID", Type::Integer},
                          {"FtopClassName", Type::Text},
                          {"FTopClassName_CHS", Type::Text},
                          {"FTopClassName_CHT", Type::Text},
                          {"FTopClassName_EN", Type::Text},
                          {"FIndex", Type::Integer},
                          {"FVisible", Type::Integer},
                          {"FShowSysType", Type::Integer},
                          {"FAcctType", Type::Text},
                          {"FVersion", Type::Integer}},
                         "FIndex, FTopClassID"};

const TableQuery kSubSystems{"t_DataFlowSubSystem",
                             "FSubSysID",
                             {{"FTopClassID", Type::Integer},
                              {"FSubSysID", Type::Integer},
                              {"FName", Type::Text},
                              {"FName_CHS", Type::Text},
                              {"FName_CHT", Type::Text},
                              {"FName_EN", Type::Text},
                              {"FSUBID", Type::Text},
                              {"FVisible", Type::Integer},
                              {"FAcctType", Type::Text},
                              {"FIndex", Type::Integer},
                              {"FShowSysType", Type::Integer},
                              {"FClassName", Type::Text},
                              {"FVersion", Type::Integer}},
                             "FTopClassID, FIndex, FSubSysID"};

const TableQuery kSubFunctions{"t_DataFlowSubFunc",
                               "FSubFuncID",
                               {{"FSubFuncID", Type::Integer},
                                {"FSubSysID", Type::Integer},
                                {"FName", Type::Text},
                                {"FName_CHT", Type::Text},
                                {"FName_EN", Type::Text},
                                {"FIndex", Type::Integer}},
                               "FSubSysID, FIndex, FSubFuncID"};

const TableQuery kAccountTypes{"t_AccountType",
                               "FAcctType",
                               {{"FAcctType", Type::Integer},
                                {"FDesc", Type::Text},
                                {"FDesc_CHT", Type::Text},
                                {"FDesc_EN", Type::Text}},
                               "FAcctType"};

std::shared_ptr<const RecordTable> Read(Database& database, const TableQuery& query) {
    return database.QueryTyped(query.Select("", database.SchemaVersion()), query.columns);
}

// The rows of `table` whose identifier is one of `ids`.
std::vector<uint32_t> RowsOf(const TableQuery& query, const RecordTable& table,
                             const std::set<int64_t>& ids) {
    const std::size_t idColumn = *table.FindColumn(query.idColumn);
    std::vector<uint32_t> rows;
    for (const int64_t id : ids) {
        const auto matching = table.RowsEqualTo(idColumn, EqualityKey(id));
        rows.insert(rows.end(), matching.begin(), matching.end());
    }
    return rows;
}

// The table with the rows of `ids` replaced by what the database holds now.
std::shared_ptr<const RecordTable> Patch(Database& database, const TableQuery& query,
                                         const std::shared_ptr<const RecordTable>& table,
                                         const std::set<int64_t>& ids) {
    if (ids.empty()) {
        return table;
    }
    const auto current = database.QueryTyped(
        query.Select(" WHERE " + database.InList(query.idColumn, 1), database.SchemaVersion()),
        query.columns, {database.ListValue({ids.begin(), ids.end()})});
    std::vector<RecordTable::Row> added;
    for (const uint32_t row : current->LiveRows()) {
        added.push_back(current->RowAt(row));
    }
    return table->Patched(RowsOf(query, *table, ids), std::move(added));
}

// The row of `query`'s columns that `written` holds, typed as a read would give it; none when a
// column is missing.
std::optional<RecordTable::Row> RowOf(const TableQuery& query,
                                      const std::vector<std::pair<std::string, Variant>>& written) {
    RecordTable::Row row;
    row.reserve(query.columns.size());
    for (const ColumnSpec& column : query.columns) {
        const auto value = std::find_if(written.begin(), written.end(), [&](const auto& entry) {
            return entry.first == column.name;
        });
        if (value == written.end()) {
            return std::nullopt;
        }
        if (value->second.IsNull() || value->second.IsEmpty()) {
            row.push_back(Variant::Null());
        } else if (column.type == Type::Integer) {
            row.emplace_back(value->second.ToInt32());
        } else {
            row.emplace_back(value->second.ToText());
        }
    }
    return row;
}

// `table` with the rows this session's commit wrote to it; none when a row cannot be taken.
std::optional<std::shared_ptr<const RecordTable>> WithOwnRows(
    const TableQuery& query, const std::shared_ptr<const RecordTable>& table,
    const OwnCommit& commit) {
    // The last write of each row is its state at commit.
    std::map<int64_t, const WrittenRow*> last;
    for (const WrittenRow& row : commit.rows) {
        if (row.table == query.table) {
            last[row.id] = &row;
        }
    }
    if (last.empty()) {
        return table;
    }
    std::set<int64_t> ids;
    std::vector<RecordTable::Row> added;
    for (const auto& [id, row] : last) {
        ids.insert(id);
        if (row->values) {
            auto values = RowOf(query, *row->values);
            if (!values) {
                return std::nullopt;
            }
            added.push_back(std::move(*values));
        }
    }
    return table->Patched(RowsOf(query, *table, ids), std::move(added));
}

}  // namespace

TreeSnapshot TreeSnapshot::Load(std::shared_ptr<Database> database) {
    // One read transaction: the change number and the tables are of the same committed state.
    TreeSnapshot snapshot = database->Reading([&] {
        TreeSnapshot read;
        read.schemaVersion = database->SchemaVersion();
        read.sequence = database->ChangeSequence();
        read.groups = Read(*database, kGroups);
        read.subSystems = Read(*database, kSubSystems);
        read.subFunctions = Read(*database, kSubFunctions);
        read.accountTypes = Read(*database, kAccountTypes);
        return read;
    });
    snapshot.database = std::move(database);
    return snapshot;
}

TreeSnapshot TreeSnapshot::Refreshed() const {
    if (database->SchemaVersion() != schemaVersion || schemaVersion < 2) {
        return Load(database);  // no log to follow, or tables of another shape
    }
    // Numbers follow commits, so when this session's commit began from the snapshot's number,
    // the rows it wrote are all that changed up to it: nothing needs reading.
    const OwnCommit own = database->LastCommit();
    if (own.before == sequence) {
        const bool onlyTree = std::all_of(own.rows.begin(), own.rows.end(), [](const auto& row) {
            return row.table == kGroups.table || row.table == kSubSystems.table;
        });
        auto ownGroups = WithOwnRows(kGroups, groups, own);
        auto ownSubSystems = WithOwnRows(kSubSystems, subSystems, own);
        if (onlyTree && ownGroups && ownSubSystems) {
            TreeSnapshot refreshed = *this;
            refreshed.sequence = own.sequence;
            refreshed.groups = std::move(*ownGroups);
            refreshed.subSystems = std::move(*ownSubSystems);
            return refreshed;
        }
    }
    const auto changes = database->QueryTyped(
        std::string(changelog::kChangesSince),
        {{"FSeq", Type::Integer}, {"FTableName", Type::Text}, {"FItemID", Type::Integer}},
        {sequence});
    if (changes->LiveRowCount() == 0) {
        return *this;
    }
    std::map<std::string, std::set<int64_t>> changed;
    TreeSnapshot refreshed = *this;
    for (const uint32_t row : changes->LiveRows()) {
        if (changes->Value(row, 1).IsNull()) {
            return Load(database);  // the log was pruned past the snapshot
        }
        refreshed.sequence = std::max(refreshed.sequence, changes->Value(row, 0).ToInt64());
        changed[changes->Value(row, 1).ToText()].insert(changes->Value(row, 2).ToInt64());
    }
    refreshed.groups = Patch(*database, kGroups, groups, changed[kGroups.table]);
    refreshed.subSystems = Patch(*database, kSubSystems, subSystems, changed[kSubSystems.table]);
    return refreshed;
}

}  // namespace quarn::suite
