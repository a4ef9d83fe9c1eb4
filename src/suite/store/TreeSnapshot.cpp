#include "suite/store/TreeSnapshot.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>

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
    std::string Select(const std::string& where, int schemaVersion, bool ordered = true) const {
        std::string sql = "SELECT ";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const bool absent = columns[i].name == "FVersion" && schemaVersion < 2;
            sql += (i ? ", " : "") + (absent ? "0 AS FVersion" : columns[i].name);
        }
        return sql + " FROM " + table + where +
               (ordered ? " ORDER BY " + std::string(orderBy) : "");
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

using Table = TreeSnapshot::Table;
// Whether a row of a table belongs in the snapshot's copy of it.
using Keep = std::function<bool(const RecordTable::Row&)>;

Table Read(Database& database, const TableQuery& query, const std::string& where = {},
           const std::vector<Variant>& parameters = {}) {
    return database.QueryTyped(query.Select(where, database.SchemaVersion()), query.columns,
                               parameters);
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

constexpr std::size_t kSubSystemGroupColumn = 0;  // FTopClassID in kSubSystems
constexpr std::size_t kSubSystemIdColumn = 1;     // FSubSysID
constexpr std::size_t kSubSystemIndexColumn = 9;  // FIndex

// A number of an ordering column; the columns are NOT NULL, a null would come first, as SQLite
// orders it.
int32_t OrderNumber(const Variant& value) {
    return value.IsNull() ? INT32_MIN : value.ToInt32();
}

// A change of one of the snapshot's tables, worked out before any of them is changed.
struct TableChange {
    std::vector<uint32_t> removed;
    std::vector<RecordTable::Row> added;
};

// The rows of `ids` in `table` replaced by what the database holds now, of which those that
// `keep` admits.
TableChange FromDatabase(Database& database, const TableQuery& query, const RecordTable& table,
                         const std::set<int64_t>& ids, const Keep& keep) {
    if (ids.empty()) {
        return {};
    }
    std::vector<RecordTable::Row> current = database.ReadTyped(
        query.Select(" WHERE " + database.InList(query.idColumn, 1), database.SchemaVersion()),
        query.columns, {database.ListValue({ids.begin(), ids.end()})});
    std::erase_if(current, [&](const RecordTable::Row& row) { return !keep(row); });
    return {RowsOf(query, table, ids), std::move(current)};
}

// Changes the table in place when the snapshot is its only holder.
void Apply(Table& table, TableChange change) {
    if (table && (!change.removed.empty() || !change.added.empty())) {
        table = RecordTable::Changed(std::move(table), change.removed, std::move(change.added));
    }
}

// The groups stay in display order (FIndex, then identifier, as they are read), so that a
// listing can take them as they are: a changed group is put in its place. A few hundred rows,
// rarely changed.
void ApplyToGroups(Table& groups, TableChange change) {
    if (!groups || (change.removed.empty() && change.added.empty())) {
        return;
    }
    constexpr std::size_t kIdColumn = 0;
    constexpr std::size_t kIndexColumn = 5;
    std::sort(change.removed.begin(), change.removed.end());
    std::vector<RecordTable::Row> rows = std::move(change.added);
    for (const uint32_t row : groups->LiveRows()) {
        if (!std::binary_search(change.removed.begin(), change.removed.end(), row)) {
            rows.push_back(groups->RowAt(row));
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
        return std::pair(OrderNumber(a[kIndexColumn]), OrderNumber(a[kIdColumn])) <
               std::pair(OrderNumber(b[kIndexColumn]), OrderNumber(b[kIdColumn]));
    });
    groups = RecordTable::Create(NamesOf(kGroups.columns), std::move(rows));
}

// Where a subsystem row stands in display order: by group, index, then identifier.
using SubSystemKey = std::tuple<int32_t, int32_t, int32_t>;
SubSystemKey KeyOf(const RecordTable::Row& row) {
    return {OrderNumber(row[kSubSystemGroupColumn]), OrderNumber(row[kSubSystemIndexColumn]),
            OrderNumber(row[kSubSystemIdColumn])};
}
SubSystemKey KeyOf(const RecordTable& table, uint32_t row) {
    return {OrderNumber(table.Value(row, kSubSystemGroupColumn)),
            OrderNumber(table.Value(row, kSubSystemIndexColumn)),
            OrderNumber(table.Value(row, kSubSystemIdColumn))};
}

// A rewrite that keeps a row's place in display order (a rename, say) replaces it in its slot,
// when no one else holds the table: nothing else moves and only its changed columns are re-keyed.
void ReplaceInSlots(const Table& subSystems, TableChange& change) {
    std::vector<RecordTable::Row> rest;
    for (RecordTable::Row& row : change.added) {
        const auto slot =
            std::find_if(change.removed.begin(), change.removed.end(), [&](uint32_t r) {
                return subSystems->IsLive(r) && KeyOf(*subSystems, r) == KeyOf(row);
            });
        if (slot != change.removed.end() && RecordTable::ReplacedInPlace(subSystems, *slot, row)) {
            change.removed.erase(slot);
        } else {
            rest.push_back(std::move(row));
        }
    }
    change.added = std::move(rest);
}

// A group's rows stay in display order by row number, so that the Recordset of a group lists
// them as they are. A removal keeps that order; an added row goes last, so the rows of its group
// that come after it are put back behind it. An edit that keeps the order, or an addition after
// the group's last row, copies no other.
void ApplyToSubSystems(Table& subSystems, TableChange change) {
    if (!subSystems || change.added.empty()) {
        Apply(subSystems, std::move(change));
        return;
    }
    ReplaceInSlots(subSystems, change);
    std::map<int32_t, SubSystemKey> leastAdded;  // by group
    for (const RecordTable::Row& row : change.added) {
        const auto [least, first] =
            leastAdded.try_emplace(OrderNumber(row[kSubSystemGroupColumn]), KeyOf(row));
        least->second = first ? least->second : std::min(least->second, KeyOf(row));
    }
    std::set<uint32_t> removed(change.removed.begin(), change.removed.end());
    std::vector<RecordTable::Row> after;
    for (const auto& [group, least] : leastAdded) {
        const EqualityKey groupKey(int64_t{group});
        const auto last = subSystems->LastRowEqualTo(kSubSystemGroupColumn, groupKey);
        if (!last || KeyOf(*subSystems, *last) <= least) {
            continue;  // every row of the group comes before the added ones
        }
        for (const uint32_t row : subSystems->RowsEqualTo(kSubSystemGroupColumn, groupKey)) {
            if (KeyOf(*subSystems, row) > least && removed.insert(row).second) {
                after.push_back(subSystems->RowAt(row));
            }
        }
    }
    std::move(after.begin(), after.end(), std::back_inserter(change.added));
    std::stable_sort(change.added.begin(), change.added.end(),
                     [](const auto& a, const auto& b) { return KeyOf(a) < KeyOf(b); });
    Apply(subSystems, {{removed.begin(), removed.end()}, std::move(change.added)});
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

// The rows this session's commit wrote to `table`, of which those that `keep` admits; none when
// a row cannot be taken.
std::optional<TableChange> FromOwnCommit(const TableQuery& query, const RecordTable& table,
                                         const OwnCommit& commit, const Keep& keep) {
    // The last write of each row is its state at commit.
    std::map<int64_t, const WrittenRow*> last;
    for (const WrittenRow& row : commit.rows) {
        if (row.table == query.table) {
            last[row.id] = &row;
        }
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
            if (keep(*values)) {
                added.push_back(std::move(*values));
            }
        }
    }
    return TableChange{RowsOf(query, table, ids), std::move(added)};
}

const Keep kEveryRow = [](const RecordTable::Row&) { return true; };

// Every subsystem in the order of kSubSystems. The rows are put in order here: SQLite's sort of
// rows this wide costs nearly twice the read itself (100,000 rows), sorting their keys a tenth.
Table ReadAllInOrder(Database& database) {
    std::vector<RecordTable::Row> rows = database.ReadTyped(
        kSubSystems.Select("", database.SchemaVersion(), false), kSubSystems.columns);
    struct Key {
        int32_t group;
        int32_t index;
        int32_t id;
        uint32_t row;
    };
    std::vector<Key> keys;
    keys.reserve(rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        keys.push_back({OrderNumber(rows[row][kSubSystemGroupColumn]),
                        OrderNumber(rows[row][kSubSystemIndexColumn]),
                        OrderNumber(rows[row][kSubSystemIdColumn]), static_cast<uint32_t>(row)});
    }
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return std::tie(a.group, a.index, a.id) < std::tie(b.group, b.index, b.id);
    });
    std::vector<RecordTable::Row> ordered;
    ordered.reserve(rows.size());
    for (const Key& key : keys) {
        ordered.push_back(std::move(rows[key.row]));
    }
    return RecordTable::Create(NamesOf(kSubSystems.columns), std::move(ordered));
}

}  // namespace

TreeSnapshot::TreeSnapshot(std::shared_ptr<Database> database) : database_(std::move(database)) {}

TreeSnapshot TreeSnapshot::Load(std::shared_ptr<Database> database) {
    TreeSnapshot snapshot(std::move(database));
    snapshot.ReadMore([&](Tables& tables) {
        Database& store = *snapshot.database_;
        tables.groups = Read(store, kGroups);
        tables.subSystems = ReadAllInOrder(store);
        tables.allSubSystems = true;
        tables.subFunctions = Read(store, kSubFunctions);
        tables.accountTypes = Read(store, kAccountTypes);
    });
    return snapshot;
}

template <class Reader>
void TreeSnapshot::ReadMore(Reader&& read) {
    ForgetRolledBack();
    database_->Reading([&] {
        const int64_t now = database_->ChangeSequence();
        if (database_->SchemaVersion() != tables_.schemaVersion) {
            tables_ = Tables{};  // tables of another shape: read again as asked for
        } else if (!tables_.Empty() && tables_.sequence != now) {
            FollowLog();
        }
        // Every change up to `now` is taken: this transaction sees no later one.
        tables_.schemaVersion = database_->SchemaVersion();
        tables_.sequence = now;
        read(tables_);
        if (database_->Writing()) {
            tables_.readWhileWriting = database_->RolledBackWrites();
        }
        return true;
    });
}

const Table& TreeSnapshot::Groups() {
    if (!tables_.groups) {
        ReadMore([&](Tables& tables) { tables.groups = Read(*database_, kGroups); });
    }
    return tables_.groups;
}

const Table& TreeSnapshot::SubFunctions() {
    if (!tables_.subFunctions) {
        ReadMore([&](Tables& tables) { tables.subFunctions = Read(*database_, kSubFunctions); });
    }
    return tables_.subFunctions;
}

const Table& TreeSnapshot::AccountTypes() {
    if (!tables_.accountTypes) {
        ReadMore([&](Tables& tables) { tables.accountTypes = Read(*database_, kAccountTypes); });
    }
    return tables_.accountTypes;
}

const Table& TreeSnapshot::SubSystems() {
    if (!tables_.allSubSystems) {
        ReadMore([&](Tables& tables) { ReadAllSubSystems(tables); });
    }
    return tables_.subSystems;
}

const Table& TreeSnapshot::SubSystemsOf(int32_t groupId) {
    if (!tables_.HasSubSystemsOf(groupId)) {
        ReadMore([&](Tables& tables) { ReadSubSystemsOf(tables, groupId); });
    }
    return tables_.subSystems;
}

Table TreeSnapshot::SubSystemWith(int32_t subSystemId) {
    if (tables_.allSubSystems || (tables_.subSystems && Holds(*tables_.subSystems, subSystemId))) {
        return tables_.subSystems;
    }
    if (++pointReads_ > kPointReadsBeforeLoad) {
        return SubSystems();
    }
    return database_->QueryTyped(
        kSubSystems.Select(" WHERE FSubSysID = $1", database_->SchemaVersion(), false),
        kSubSystems.columns, {subSystemId});
}

Table TreeSnapshot::GroupWith(int32_t groupId) {
    if (tables_.groups) {
        return tables_.groups;
    }
    if (++pointReads_ > kPointReadsBeforeLoad) {
        return Groups();
    }
    return database_->QueryTyped(
        kGroups.Select(" WHERE FTopClassID = $1", database_->SchemaVersion(), false),
        kGroups.columns, {groupId});
}

Table TreeSnapshot::GroupColumns() {
    static const Table kColumns = RecordTable::Create(NamesOf(kGroups.columns), {});
    return kColumns;
}

Table TreeSnapshot::SubSystemColumns() {
    static const Table kColumns = RecordTable::Create(NamesOf(kSubSystems.columns), {});
    return kColumns;
}

bool TreeSnapshot::Holds(const RecordTable& subSystems, int32_t subSystemId) {
    return !subSystems.RowsEqualTo(kSubSystemIdColumn, EqualityKey(int64_t{subSystemId})).empty();
}

void TreeSnapshot::ReadAllSubSystems(Tables& tables) const {
    if (tables.allSubSystems) {
        return;
    }
    tables.subSystems = ReadAllInOrder(*database_);
    tables.allSubSystems = true;
    tables.subSystemGroups.clear();
}

void TreeSnapshot::ReadSubSystemsOf(Tables& tables, int32_t groupId) const {
    if (tables.HasSubSystemsOf(groupId)) {
        return;
    }
    const std::size_t groups = tables.groups ? tables.groups->LiveRowCount() : 0;
    if (tables.subSystemGroups.size() >= std::max(kGroupsReadOneByOne, groups / 8)) {
        ReadAllSubSystems(tables);  // a caller that walks the groups: one read serves them all
        return;
    }
    std::vector<RecordTable::Row> rows = database_->ReadTyped(
        kSubSystems.Select(" WHERE FTopClassID = $1", database_->SchemaVersion()),
        kSubSystems.columns, {groupId});
    if (tables.subSystems) {
        Apply(tables.subSystems, {{}, std::move(rows)});
    } else {
        tables.subSystems = RecordTable::Create(NamesOf(kSubSystems.columns), std::move(rows));
    }
    tables.subSystemGroups.insert(groupId);
}

bool TreeSnapshot::FollowLog() {
    if (database_->SchemaVersion() != tables_.schemaVersion || tables_.schemaVersion < 2) {
        tables_ = Tables{};  // no log to follow, or tables of another shape: read again as asked
        return true;
    }
    const auto changes = database_->QueryTyped(
        std::string(changelog::kChangesSince),
        {{"FSeq", Type::Integer}, {"FTableName", Type::Text}, {"FItemID", Type::Integer}},
        {tables_.sequence});
    std::map<std::string, std::set<int64_t>> changed;
    int64_t sequence = tables_.sequence;
    for (const uint32_t row : changes->LiveRows()) {
        if (changes->Value(row, 1).IsNull()) {
            tables_ = Tables{};  // the log was pruned past the snapshot
            return true;
        }
        sequence = std::max(sequence, changes->Value(row, 0).ToInt64());
        changed[changes->Value(row, 1).ToText()].insert(changes->Value(row, 2).ToInt64());
    }
    // Everything is read before anything changes, so a failed read leaves the tables as they were.
    TableChange groups;
    if (tables_.groups) {
        groups =
            FromDatabase(*database_, kGroups, *tables_.groups, changed[kGroups.table], kEveryRow);
    }
    TableChange subSystems;
    if (tables_.subSystems) {
        subSystems = FromDatabase(*database_, kSubSystems, *tables_.subSystems,
                                  changed[kSubSystems.table], CoveredBy(tables_));
    }
    ApplyToGroups(tables_.groups, std::move(groups));
    ApplyToSubSystems(tables_.subSystems, std::move(subSystems));
    tables_.sequence = sequence;
    return changed.contains(std::string(kAccountTypes.table));
}

bool TreeSnapshot::TakeOwnCommit() {
    // Numbers follow commits, so when this session's commit began from the snapshot's number,
    // the rows it wrote are all that changed up to it: nothing needs reading.
    const OwnCommit own = database_->LastCommit();
    if (own.before != tables_.sequence ||
        !std::all_of(own.rows.begin(), own.rows.end(), [](const auto& row) {
            return row.table == kGroups.table || row.table == kSubSystems.table;
        })) {
        return false;
    }
    std::optional<TableChange> groups = TableChange{};
    if (tables_.groups) {
        groups = FromOwnCommit(kGroups, *tables_.groups, own, kEveryRow);
    }
    std::optional<TableChange> subSystems = TableChange{};
    if (tables_.subSystems) {
        subSystems = FromOwnCommit(kSubSystems, *tables_.subSystems, own, CoveredBy(tables_));
    }
    if (!groups || !subSystems) {
        return false;
    }
    ApplyToGroups(tables_.groups, std::move(*groups));
    ApplyToSubSystems(tables_.subSystems, std::move(*subSystems));
    tables_.sequence = own.sequence;
    return true;
}

std::function<bool(const RecordTable::Row&)> TreeSnapshot::CoveredBy(const Tables& tables) {
    if (tables.allSubSystems) {
        return kEveryRow;
    }
    return [groups = tables.subSystemGroups](const RecordTable::Row& row) {
        return !row[kSubSystemGroupColumn].IsNull() &&
               groups.count(row[kSubSystemGroupColumn].ToInt32()) > 0;
    };
}

void TreeSnapshot::ForgetRolledBack() {
    if (!tables_.readWhileWriting || database_->Writing()) {
        return;
    }
    // A rollback since may have been of that transaction; a commit kept what was read.
    if (database_->RolledBackWrites() != *tables_.readWhileWriting) {
        tables_ = Tables{};
    } else {
        tables_.readWhileWriting.reset();
    }
}

void TreeSnapshot::Refresh() {
    ForgetRolledBack();
    if (tables_.Empty()) {
        return;
    }
    if (database_->SchemaVersion() != tables_.schemaVersion || tables_.schemaVersion < 2) {
        tables_ = Tables{};
        return;
    }
    // An upgrade or an SQL console may change the account types: the log records them from
    // schema version 9, before which the few rows are read again each time.
    bool accountTypesChanged = tables_.schemaVersion < changelog::kFirstRecordsLoggedVersion;
    if (!TakeOwnCommit()) {
        accountTypesChanged = FollowLog() || accountTypesChanged;
    }
    if (tables_.accountTypes && accountTypesChanged) {
        tables_.accountTypes = Read(*database_, kAccountTypes);
    }
    if (database_->Writing()) {
        tables_.readWhileWriting = database_->RolledBackWrites();
    }
}

}  // namespace quarn::suite
