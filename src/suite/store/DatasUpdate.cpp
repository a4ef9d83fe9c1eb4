#include "suite/store/DatasUpdate.h"

#include <algorithm>
#include <utility>

#include "foundation/ComError.h"
#include "suite/store/EngineErrors.h"
#include "suite/store/ValueRules.h"

namespace quarn::suite {

namespace {

constexpr const char* kGroupTable = "t_DataFlowTopClass";
constexpr const char* kSubSystemTable = "t_DataFlowSubSystem";

// The table of an item type and its identifier column.
std::pair<const char*, const char*> TableOf(const Variant& itemType) {
    return itemType.ToInt32() == kUpdateItemGroup ? std::pair{kGroupTable, "FTopClassID"}
                                                  : std::pair{kSubSystemTable, "FSubSysID"};
}

// A record's text; "" for an absent key.
std::string Text(const Dictionary& record, const char* key) {
    return record.Item(key).TextOrEmpty();
}

// The values of an inserted row by column name, as the session's snapshot takes them.
std::vector<std::pair<std::string, Variant>> ByColumn(const std::vector<std::string>& columns,
                                                      const std::vector<Variant>& values) {
    std::vector<std::pair<std::string, Variant>> row;
    row.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        row.emplace_back(columns[i], values[i]);
    }
    return row;
}

std::string InsertStatement(const char* table, const std::vector<std::string>& columns) {
    std::string names;
    std::string values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += (i ? ", " : "") + columns[i];
        values += (i ? ", $" : "$") + std::to_string(i + 1);
    }
    return std::string("INSERT INTO ") + table + " (" + names + ") VALUES (" + values + ")";
}

}  // namespace

DatasUpdate::DatasUpdate(std::shared_ptr<SuiteSession> session)
    : session_(std::move(session)),
      database_(session_->Localizing([&] { return session_->Store(); })) {}

DatasUpdate::~DatasUpdate() {
    database_->Rollback();  // an abandoned transaction changes nothing
}

void DatasUpdate::BeginTransaction() {
    session_->Localizing([&] { database_->BeginWrite(); });
}
void DatasUpdate::CommitTransaction() {
    session_->Localizing([&] { database_->Commit(); });
}
void DatasUpdate::RollbackTransaction() {
    database_->Rollback();
}

template <class Write>
void DatasUpdate::InTransaction(Write&& write) {
    session_->Localizing([&] {
        const bool own = !database_->InTransaction();
        if (own) {
            database_->BeginWrite();
        }
        try {
            write();
        } catch (...) {
            if (own) {
                database_->Rollback();
            }
            throw;
        }
        if (own) {
            database_->Commit();
        }
    });
}

void DatasUpdate::Insert(const char* table, const std::string& sql,
                         const std::vector<std::string>& columns,
                         const std::vector<Variant>& values) {
    try {
        database_->Run(sql, values);
    } catch (const StoreFailure& failure) {
        if (failure.Error() != StoreError::Refused || database_->IsPostgreSQL()) {
            throw;  // PostgreSQL names the constraint itself
        }
        // SQLite tells only the kind of rule that refused: a rule of the row's own values
        // (a trigger's), or the unique rule whose columns already hold this row's values.
        if (const std::string_view broken = valuerules::BrokenBy(table, columns, values);
            !broken.empty()) {
            if (failure.NamedDatabase()) {
                RaiseEngineFailure(StoreError::Refused, RefusalTemplate(broken),
                                   *failure.NamedDatabase(), failure.EngineCode());
            }
            RaiseEngineFailure(StoreError::Refused, RefusalTemplate(broken), failure.Detail(),
                               failure.EngineCode());
        }
        for (const UniqueRule& rule : UniqueRulesOf(table)) {
            std::string condition;
            std::vector<Variant> ruleValues;
            for (const std::string_view column : rule.columns) {
                if (column.empty()) {
                    continue;
                }
                const auto at = std::find(columns.begin(), columns.end(), column);
                ruleValues.push_back(values[static_cast<std::size_t>(at - columns.begin())]);
                condition += (condition.empty() ? "" : " AND ") + std::string(column) + " = $" +
                             std::to_string(ruleValues.size());
            }
            const auto found = database_->Query(
                std::string("SELECT 1 FROM ") + table + " WHERE " + condition, ruleValues);
            if (found->LiveRowCount() > 0) {
                if (failure.NamedDatabase()) {
                    RaiseEngineFailure(StoreError::Refused, RefusalTemplate(rule.constraint),
                                       *failure.NamedDatabase(), failure.EngineCode());
                }
                RaiseEngineFailure(StoreError::Refused, RefusalTemplate(rule.constraint),
                                   failure.Detail(), failure.EngineCode());
            }
        }
        throw;
    }
}

void DatasUpdate::DeleteItem(const Variant& itemType, int32_t itemId, bool /*flag*/) {
    const auto [table, idColumn] = TableOf(itemType);
    InTransaction([&] {
        database_->Run(std::string("DELETE FROM ") + table + " WHERE " + idColumn + " = $1",
                       {itemId});
        database_->RecordChange(table, itemId);
    });
}

void DatasUpdate::DeleteItemIfUnchanged(const Variant& itemType, int32_t itemId, int64_t version) {
    const auto [table, idColumn] = TableOf(itemType);
    InTransaction([&] {
        if (database_->Change(std::string("DELETE FROM ") + table + " WHERE " + idColumn +
                                  " = $1 AND FVersion = $2",
                              {itemId, version}) == 0) {
            RaiseStale(table, idColumn, itemId);
        }
        database_->RecordChange(table, itemId);
    });
}

void DatasUpdate::RaiseStale(const char* table, const char* idColumn, int32_t itemId) {
    const bool stillThere =
        !database_
             ->Query(std::string("SELECT 1 FROM ") + table + " WHERE " + idColumn + " = $1",
                     {itemId})
             ->LiveRows()
             .empty();
    // The log's last word on the item: who the database knows made it, and what the client says
    // it came through; a row no write of ours sealed came from another program.
    const auto last = database_->Query(
        "SELECT FTime, CASE WHEN FSeal IS NULL OR FForeign = 1 THEN 1 ELSE 0 END AS FOther, "
        "coalesce(FDbUser, '') AS FWho, coalesce(FClient, '') AS FVia FROM t_DataFlowChangeLog "
        "WHERE FTableName = $1 AND FItemID = $2 ORDER BY FSeq DESC LIMIT 1",
        {std::string(table), itemId});
    std::string when;
    bool otherProgram = false;
    for (const uint32_t row : last->LiveRows()) {
        otherProgram = last->Value(row, 1).ToInt32() != 0;
        const std::string who = otherProgram ? "" : last->Value(row, 2).TextOrEmpty();
        const std::string via = last->Value(row, 3).TextOrEmpty();
        when = last->Value(row, 0).TextOrEmpty() + (who.empty() ? "" : ", " + who) +
               (via.empty() ? "" : " (" + via + ")");
    }
    if (when.empty()) {
        RaiseStoreError(
            StoreError::Stale, "DatasUpdate",
            stillThere ? "读取之后，该项已被其他用户修改。" : "读取之后，该项已被其他用户删除。");
    }
    if (otherProgram) {
        RaiseStoreError(StoreError::Stale, "DatasUpdate",
                        stillThere ? "读取之后，该项已被其他程序修改（%1）。"
                                   : "读取之后，该项已被其他程序删除（%1）。",
                        when);
    }
    RaiseStoreError(StoreError::Stale, "DatasUpdate",
                    stillThere ? "读取之后，该项已被其他用户修改（%1）。"
                               : "读取之后，该项已被其他用户删除（%1）。",
                    when);
}

void DatasUpdate::CreateTopClass(int32_t index, DictionaryPtr record, bool /*flag*/) {
    static const std::vector<std::string> kColumns{
        "FTopClassID",       "FtopClassName",    "FTopClassName_CHS",
        "FTopClassName_CHT", "FTopClassName_EN", "FIndex",
        "FVisible",          "FShowSysType",     "FAcctType"};
    static const std::string kInsert = InsertStatement(kGroupTable, kColumns);
    const int32_t id = record->Item("FTopClassID").ToInt32();
    const std::string nameCHS = Text(*record, "FTopClassName");
    const std::vector<Variant> values{id,
                                      nameCHS,
                                      nameCHS,
                                      Text(*record, "FTopClassNameCHT"),
                                      Text(*record, "FTopClassNameEN"),
                                      index,
                                      int32_t{record->Item("FVisible").ToBool() ? 1 : 0},
                                      record->Item("FShowSysType").ToInt32(),
                                      Text(*record, "FAcctType")};
    InTransaction([&] {
        Insert(kGroupTable, kInsert, kColumns, values);
        database_->RecordChange(kGroupTable, id, ByColumn(kColumns, values));
    });
}

void DatasUpdate::CreateSubSys(int32_t groupId, int32_t index, DictionaryPtr record,
                               bool /*flag*/) {
    static const std::vector<std::string> kColumns{
        "FSubSysID", "FTopClassID", "FName",    "FName_CHS", "FName_CHT", "FName_EN",
        "FSUBID",    "FClassName",  "FVisible", "FIndex",    "FAcctType", "FShowSysType"};
    static const std::string kInsert = InsertStatement(kSubSystemTable, kColumns);
    const int32_t id = record->Item("FSubSysID").ToInt32();
    const std::string nameCHS = Text(*record, "FSysName");
    const std::string subId = Text(*record, "FSubID");
    const std::vector<Variant> values{id,
                                      groupId,
                                      nameCHS,
                                      nameCHS,
                                      Text(*record, "FSysNameCHT"),
                                      Text(*record, "FSysNameEN"),
                                      subId.empty() ? Variant::Null() : Variant(subId),
                                      Text(*record, "FClassName"),
                                      int32_t{record->Item("FVisible").ToBool() ? 1 : 0},
                                      index,
                                      Text(*record, "FAcctType"),
                                      record->Item("FShowSysType").ToInt32()};
    InTransaction([&] {
        Insert(kSubSystemTable, kInsert, kColumns, values);
        database_->RecordChange(kSubSystemTable, id, ByColumn(kColumns, values));
    });
}

}  // namespace quarn::suite
