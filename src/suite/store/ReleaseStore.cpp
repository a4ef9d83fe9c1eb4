#include "suite/store/ReleaseStore.h"

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <unordered_map>

#include "suite/store/ChangeLog.h"
#include "suite/store/Database.h"
#include "suite/store/ReleaseMark.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

using Type = ColumnSpec::Type;
using Json = nlohmann::json;
using Row = std::vector<std::pair<std::string, Variant>>;

const changelog::LoggedTable& TableOf(TreeItemRef::Kind kind) {
    return changelog::LoggedTables()[kind == TreeItemRef::Kind::Group ? 0 : 1];
}

const changelog::LoggedTable* TableNamed(const std::string& name) {
    for (const changelog::LoggedTable& table : changelog::LoggedTables()) {
        if (table.name == name) {
            return &table;
        }
    }
    return nullptr;
}

// The record's values in the table's logged columns, the identifier first; a column the record
// lacks is left to the stored row, or to the column's default.
Row RowOf(const changelog::LoggedTable& table, const Dictionary& record,
          const std::optional<Row>& stored) {
    Row row;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const Variant& value = record.Item(table.columns[i]);
        if (!value.IsEmpty()) {
            row.emplace_back(table.columns[i], value);
        } else if (stored) {
            row.push_back((*stored)[i]);
        }
    }
    return row;
}

Row RowOf(const changelog::LoggedTable& table, const Json& values) {
    Row row;
    for (const std::string& column : table.columns) {
        const auto found = values.find(column);
        Variant value = Variant::Null();
        if (found != values.end() && found->is_number_integer()) {
            value = found->get<int64_t>();
        } else if (found != values.end() && found->is_string()) {
            value = found->get<std::string>();
        }
        row.emplace_back(column, std::move(value));
    }
    return row;
}

std::string ColumnList(const changelog::LoggedTable& table) {
    std::string columns;
    for (const std::string& column : table.columns) {
        columns += (columns.empty() ? "" : ", ") + column;
    }
    return columns;
}

// The stored rows of the items `ids` in their logged columns, by identifier; an item not stored
// has none.
std::unordered_map<int64_t, Row> StoredRows(Database& database, const changelog::LoggedTable& table,
                                            const std::vector<int64_t>& ids) {
    std::unordered_map<int64_t, Row> stored;
    if (ids.empty()) {
        return stored;
    }
    const auto rows = database.Query("SELECT " + ColumnList(table) + " FROM " + table.name +
                                         " WHERE " + database.InList(table.idColumn, 1),
                                     {database.ListValue(ids)});
    for (const uint32_t at : rows->LiveRows()) {
        Row row;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            row.emplace_back(table.columns[i], rows->Value(at, i));
        }
        stored.emplace(row.front().second.ToInt64(), std::move(row));
    }
    return stored;
}

// The stored row of an item in its logged columns; none when it is not stored.
std::optional<Row> StoredRow(Database& database, const changelog::LoggedTable& table, int64_t id) {
    auto stored = StoredRows(database, table, {id});
    if (stored.empty()) {
        return std::nullopt;
    }
    return std::move(stored.begin()->second);
}

void Insert(Database& database, const changelog::LoggedTable& table, Row row) {
    std::string names;
    std::string places;
    std::vector<Variant> values;
    for (auto& [column, value] : row) {
        names += (values.empty() ? "" : ", ") + column;
        places += (values.empty() ? "$" : ", $") + std::to_string(values.size() + 1);
        values.push_back(value);
    }
    database.Run("INSERT INTO " + table.name + " (" + names + ") VALUES (" + places + ")", values);
    const int64_t id = values.front().ToInt64();
    // A row left to a column's default is read back whole for the session's snapshot.
    database.RecordChange(
        table.name, id,
        row.size() < table.columns.size() ? StoredRow(database, table, id) : std::move(row));
}

void Delete(Database& database, const changelog::LoggedTable& table, int64_t id) {
    database.Run("DELETE FROM " + table.name + " WHERE " + table.idColumn + " = $1", {id});
    database.RecordChange(table.name, id);
}

// The records' rows: what no release carries (FClassName) kept from the stored row, which is
// deleted. Every row goes before any is written again, so that delivered items may trade names.
std::vector<std::pair<const changelog::LoggedTable*, Row>> TakeOut(
    Database& database, const changelog::LoggedTable& table,
    const std::vector<DictionaryPtr>& records) {
    std::vector<int64_t> ids;
    for (const DictionaryPtr& record : records) {
        ids.push_back(record->Item(table.idColumn).ToInt64());
    }
    // One read for all: a read per item cost as much as its delete and insert together.
    const std::unordered_map<int64_t, Row> stored = StoredRows(database, table, ids);
    std::vector<std::pair<const changelog::LoggedTable*, Row>> rows;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto found = stored.find(ids[i]);
        std::optional<Row> before;
        if (found != stored.end()) {
            before = found->second;
            Delete(database, table, ids[i]);
        }
        rows.emplace_back(&table, RowOf(table, *records[i], before));
    }
    return rows;
}

// The stored account types, by code.
std::vector<AccountTypeRow> StoredAccountTypes(Database& database) {
    const auto rows = database.QueryTyped(
        "SELECT FAcctType, FDesc, FDesc_CHT, FDesc_EN FROM t_AccountType ORDER BY FAcctType",
        {{"FAcctType", Type::Integer},
         {"FDesc", Type::Text},
         {"FDesc_CHT", Type::Text},
         {"FDesc_EN", Type::Text}});
    std::vector<AccountTypeRow> types;
    for (const uint32_t row : rows->LiveRows()) {
        types.push_back({rows->Value(row, 0).ToInt32(), rows->Value(row, 1).TextOrEmpty(),
                         rows->Value(row, 2).TextOrEmpty(), rows->Value(row, 3).TextOrEmpty()});
    }
    return types;
}

std::string AccountTypesJson(Database& database) {
    Json list = Json::array();
    for (const AccountTypeRow& type : StoredAccountTypes(database)) {
        list.push_back({type.code, type.chs, type.cht, type.en});
    }
    return list.dump();
}

// Makes the account types `types`, writing only the ones that differ: the log then holds what
// the release changed, not every type deleted and added again. Each written type is recorded,
// so that the session's snapshot reads the account types again after the commit.
void WriteAccountTypes(Database& database, const std::vector<AccountTypeRow>& types) {
    constexpr std::string_view kTable = "t_AccountType";
    std::map<int32_t, const AccountTypeRow*> wanted;
    for (const AccountTypeRow& type : types) {
        wanted.emplace(type.code, &type);
    }
    for (const AccountTypeRow& stored : StoredAccountTypes(database)) {
        const int32_t code = stored.code;
        const auto found = wanted.find(code);
        if (found == wanted.end()) {
            database.Run("DELETE FROM t_AccountType WHERE FAcctType = $1", {code});
            database.RecordChange(kTable, code);
            continue;
        }
        const AccountTypeRow& type = *found->second;
        if (stored.chs != type.chs || stored.cht != type.cht || stored.en != type.en) {
            database.Run(
                "UPDATE t_AccountType SET FDesc = $2, FDesc_CHT = $3, FDesc_EN = $4 WHERE "
                "FAcctType = $1",
                {code, type.chs, type.cht, type.en});
            database.RecordChange(kTable, code);
        }
        wanted.erase(found);
    }
    for (const auto& [code, type] : wanted) {
        database.Run(
            "INSERT INTO t_AccountType (FAcctType, FDesc, FDesc_CHT, FDesc_EN) VALUES ($1, $2, "
            "$3, $4)",
            {code, type->chs, type->cht, type->en});
        database.RecordChange(kTable, code);
    }
}

// Runs `write` in a write transaction of the session's database whose log rows carry `note`;
// a rehearsal (`keep` false) rolls it back at the end.
template <class Write>
void Writing(SuiteSession& session, const std::string& note, Write&& write, bool keep = true) {
    session.Localizing([&] {
        const std::shared_ptr<Database> database = session.Store();
        database->NoteNextWrite(note);
        database->BeginWrite();
        try {
            write(*database);
            keep ? database->Commit() : database->Rollback();
        } catch (...) {
            database->Rollback();
            throw;
        }
    });
}

// The upgrade's rows in the open transaction; the number of its change.
int64_t WriteUpgrade(Database& database, const ReleaseWrite& write) {
    if (write.readAt && database.ChangeBeforeWrite() != *write.readAt) {
        RaiseStoreError(StoreError::Stale, "ReleaseStore", "读取之后，数据库已被其他用户修改。");
    }
    const std::string accountTypes = AccountTypesJson(database);
    for (const TreeItemRef& item : write.removed) {
        Delete(database, TableOf(item.kind), item.id);
    }
    const changelog::LoggedTable& subSystems = TableOf(TreeItemRef::Kind::SubSystem);
    for (const auto& [subSystem, group] : write.moved) {
        database.Run("UPDATE t_DataFlowSubSystem SET FTopClassID = $1 WHERE FSubSysID = $2",
                     {group, subSystem});
        database.RecordChange(subSystems.name, subSystem,
                              StoredRow(database, subSystems, subSystem));
    }
    auto rows = TakeOut(database, subSystems, write.subSystems);
    auto groups = TakeOut(database, TableOf(TreeItemRef::Kind::Group), write.groups);
    rows.insert(rows.begin(), std::make_move_iterator(groups.begin()),
                std::make_move_iterator(groups.end()));
    for (auto& [table, row] : rows) {
        Insert(database, *table, std::move(row));
    }
    WriteAccountTypes(database, write.accountTypes);
    // The release is recorded last, so the number of its own log row names the change: on
    // PostgreSQL the transaction's, on SQLite the next row's.
    const int64_t change = database.Run(
        database.IsPostgreSQL() ? std::string(changelog::kLastChangePostgres)
                                : "SELECT (" + std::string(changelog::kLastChangeSqlite) + ") + 1",
        {});
    database.Run(
        "INSERT INTO t_SuiteRelease (FOrder, FChange, FName, FDate, FAccountTypes) VALUES "
        "((SELECT coalesce(max(FOrder), 0) + 1 FROM t_SuiteRelease), $1, $2, $3, $4)",
        {change, write.release.name, write.release.date, accountTypes});
    return change;
}

}  // namespace

SuiteRelease ReleaseStore::Shipped() {
    return release::Shipped();
}

std::optional<SuiteRelease> ReleaseStore::Release(const std::string& propsString) {
    return session_->Localizing([&]() -> std::optional<SuiteRelease> {
        const std::shared_ptr<Database> database = session_->StoreFor(propsString);
        return database->Reading([&]() -> std::optional<SuiteRelease> {
            if (database->SchemaVersion() < release::kFirstVersion) {
                return std::nullopt;
            }
            const auto rows = database->QueryTyped(
                "SELECT FName, FDate FROM t_SuiteRelease ORDER BY FOrder DESC LIMIT 1",
                {{"FName", Type::Text}, {"FDate", Type::Text}});
            for (const uint32_t row : rows->LiveRows()) {
                return SuiteRelease{rows->Value(row, 0).TextOrEmpty(),
                                    rows->Value(row, 1).TextOrEmpty()};
            }
            return std::nullopt;
        });
    });
}

int64_t ReleaseStore::LastChange(const std::string& propsString) {
    return session_->Localizing([&] { return session_->StoreFor(propsString)->ChangeSequence(); });
}

std::vector<AccountTypeRow> ReleaseStore::AccountTypes(const std::string& propsString) {
    return session_->Localizing(
        [&] { return StoredAccountTypes(*session_->StoreFor(propsString)); });
}

std::vector<std::pair<int32_t, int64_t>> ReleaseStore::Uses(const std::string& propsString,
                                                            const std::vector<int32_t>& ids) {
    if (ids.empty()) {
        return {};
    }
    return session_->Localizing([&] {
        const std::shared_ptr<Database> database = session_->StoreFor(propsString);
        const auto rows = database->QueryTyped(
            "SELECT FSubSysID, count(*) FROM (SELECT FSubSysID FROM t_DataFlowSubFunc UNION ALL "
            "SELECT FSubSysID FROM t_Report UNION ALL SELECT FSubSysID FROM t_WorkFlow UNION ALL "
            "SELECT FSubSysID FROM t_MultiCheckFlow) u WHERE " +
                database->InList("FSubSysID", 1) + " GROUP BY FSubSysID ORDER BY FSubSysID",
            {{"FSubSysID", Type::Integer}, {"FCount", Type::Integer}},
            {database->ListValue(std::vector<int64_t>(ids.begin(), ids.end()))});
        std::vector<std::pair<int32_t, int64_t>> uses;
        for (const uint32_t row : rows->LiveRows()) {
            uses.emplace_back(rows->Value(row, 0).ToInt32(), rows->Value(row, 1).ToInt64());
        }
        return uses;
    });
}

int64_t ReleaseStore::Write(const ReleaseWrite& write, const std::string& note) {
    int64_t change = 0;
    Writing(*session_, note, [&](Database& database) { change = WriteUpgrade(database, write); });
    return change;
}

void ReleaseStore::Rehearse(const ReleaseWrite& write, const std::function<void()>& inside) {
    Writing(
        *session_, {},
        [&](Database& database) {
            WriteUpgrade(database, write);
            inside();
        },
        false);
}

std::optional<ReleaseChange> ReleaseStore::UpgradeOf(int64_t number) {
    return session_->Localizing([&]() -> std::optional<ReleaseChange> {
        const std::shared_ptr<Database> database = session_->Store();
        if (database->SchemaVersion() < release::kFirstVersion) {
            return std::nullopt;
        }
        // Any row of the upgrade's transaction names it; the release records its last.
        const auto rows = database->QueryTyped(
            "SELECT FName, FDate, FChange FROM t_SuiteRelease WHERE FChange > 0 AND FChange = "
            "(SELECT max(FSeq) FROM t_DataFlowChangeLog WHERE FTxn = (SELECT FTxn FROM "
            "t_DataFlowChangeLog WHERE FSeq = $1 LIMIT 1))",
            {{"FName", Type::Text}, {"FDate", Type::Text}, {"FChange", Type::Integer}}, {number});
        for (const uint32_t row : rows->LiveRows()) {
            return ReleaseChange{
                {rows->Value(row, 0).TextOrEmpty(), rows->Value(row, 1).TextOrEmpty()},
                rows->Value(row, 2).ToInt64()};
        }
        return std::nullopt;
    });
}

void ReleaseStore::RevertUpgrade(int64_t number, bool force, const std::string& note) {
    // Taken back already, or never an upgrade: saying it was undone would be untrue.
    const std::optional<ReleaseChange> upgrade = UpgradeOf(number);
    if (!upgrade) {
        RaiseStoreError(StoreError::Stale, "ReleaseStore", "读取之后，该项已被其他用户修改。");
    }
    Writing(*session_, note, [&](Database& database) {
        const auto rows = database.QueryTyped(
            std::string("SELECT FTableName, FItemID, FOperation, FOld FROM t_DataFlowChangeLog "
                        "WHERE FTxn = (SELECT FTxn FROM t_DataFlowChangeLog WHERE FSeq = $1 "
                        "LIMIT 1) ORDER BY FSeq DESC") +
                (database.IsPostgreSQL() ? ", FChangeID DESC" : ""),
            {{"FTableName", Type::Text},
             {"FItemID", Type::Integer},
             {"FOperation", Type::Text},
             {"FOld", Type::Text}},
            {upgrade->change});
        std::set<std::pair<std::string, int64_t>> items;
        for (const uint32_t row : rows->LiveRows()) {
            items.emplace(rows->Value(row, 0).TextOrEmpty(), rows->Value(row, 1).ToInt64());
        }
        for (const auto& [table, id] : items) {
            if (!force && database.Run("SELECT count(*) FROM t_DataFlowChangeLog WHERE FTableName "
                                       "= $1 AND FItemID = $2 AND FSeq > $3",
                                       {table, id, upgrade->change}) > 0) {
                RaiseStoreError(StoreError::Stale, "ReleaseStore",
                                "读取之后，该项已被其他用户修改。");
            }
        }
        // Backwards through the upgrade's rows: each insert deleted, each old row put back.
        for (const uint32_t row : rows->LiveRows()) {
            const changelog::LoggedTable* table = TableNamed(rows->Value(row, 0).TextOrEmpty());
            const int64_t id = rows->Value(row, 1).ToInt64();
            if (table == nullptr) {
                continue;
            }
            if (rows->Value(row, 2).TextOrEmpty() != "DELETE") {
                Delete(database, *table, id);
            }
            if (rows->Value(row, 2).TextOrEmpty() != "INSERT") {
                Insert(database, *table,
                       RowOf(*table, Json::parse(rows->Value(row, 3).TextOrEmpty())));
            }
        }
        std::string replaced;
        const auto mark = database.Query(
            "SELECT FAccountTypes FROM t_SuiteRelease WHERE FChange = $1", {upgrade->change});
        for (const uint32_t row : mark->LiveRows()) {
            replaced = mark->Value(row, 0).TextOrEmpty();
        }
        std::vector<AccountTypeRow> types;
        for (const Json& type : Json::parse(replaced.empty() ? "[]" : replaced)) {
            types.push_back({type[0].get<int32_t>(), type[1].get<std::string>(),
                             type[2].get<std::string>(), type[3].get<std::string>()});
        }
        WriteAccountTypes(database, types);
        database.Run("DELETE FROM t_SuiteRelease WHERE FChange = $1", {upgrade->change});
    });
}

}  // namespace quarn::suite
