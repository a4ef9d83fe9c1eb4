#include "suite/store/DatasUpdate.h"

#include "foundation/ComError.h"
#include "suite/ContextEntries.h"

namespace quarn::suite {

namespace {

constexpr const char* kGroupTable = "t_DataFlowTopClass";
constexpr const char* kSubSystemTable = "t_DataFlowSubSystem";

// A record's text; "" for an absent key.
std::string Text(const Dictionary& record, const char* key) {
    return record.Item(key).TextOrEmpty();
}

}  // namespace

DatasUpdate::DatasUpdate() : database_(Database::ForContext(CurrentContext())) {}

DatasUpdate::~DatasUpdate() {
    try {
        database_->Rollback();  // an abandoned transaction changes nothing
    } catch (...) {
    }
}

void DatasUpdate::BeginTransaction() {
    database_->BeginWrite();
}
void DatasUpdate::CommitTransaction() {
    database_->Commit();
}
void DatasUpdate::RollbackTransaction() {
    database_->Rollback();
}

template <class Write>
void DatasUpdate::InTransaction(Write&& write) {
    const bool own = !database_->InTransaction();
    if (own) {
        database_->BeginWrite();
    }
    try {
        write();
    } catch (const ComError&) {
        if (own) {
            database_->Rollback();
        }
        throw;
    } catch (const std::exception& error) {
        if (own) {
            database_->Rollback();
        }
        database_->RaiseDriverError(error, "DatasUpdate");
    }
    if (own) {
        database_->Commit();
    }
}

void DatasUpdate::DeleteItem(const Variant& itemType, int32_t itemId, bool /*flag*/) {
    const bool group = itemType.ToInt32() == kUpdateItemGroup;
    const char* table = group ? kGroupTable : kSubSystemTable;
    const char* idColumn = group ? "FTopClassID" : "FSubSysID";
    InTransaction([&] {
        database_->Run(std::string("DELETE FROM ") + table + " WHERE " + idColumn + " = :id",
                       {itemId}, "DatasUpdate.DeleteItem");
        database_->RecordChange(table, itemId);
    });
}

void DatasUpdate::CreateTopClass(int32_t index, DictionaryPtr record, bool /*flag*/) {
    const int32_t id = record->Item("FTopClassID").ToInt32();
    const std::string nameCHS = Text(*record, "FTopClassName");
    InTransaction([&] {
        database_->Run(
            "INSERT INTO t_DataFlowTopClass (FTopClassID, FtopClassName, FTopClassName_CHS, "
            "FTopClassName_CHT, FTopClassName_EN, FIndex, FVisible, FShowSysType, FAcctType) "
            "VALUES (:id, :name, :chs, :cht, :en, :idx, :visible, :show, :acct)",
            {id, nameCHS, nameCHS, Text(*record, "FTopClassNameCHT"),
             Text(*record, "FTopClassNameEN"), index,
             int32_t{record->Item("FVisible").ToBool() ? 1 : 0},
             record->Item("FShowSysType").ToInt32(), Text(*record, "FAcctType")},
            "DatasUpdate.CreateTopClass");
        database_->RecordChange(kGroupTable, id);
    });
}

void DatasUpdate::CreateSubSys(int32_t groupId, int32_t index, DictionaryPtr record,
                               bool /*flag*/) {
    const int32_t id = record->Item("FSubSysID").ToInt32();
    const std::string nameCHS = Text(*record, "FSysName");
    const std::string subId = Text(*record, "FSubID");
    InTransaction([&] {
        database_->Run(
            "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, "
            "FName_CHT, FName_EN, FSUBID, FClassName, FVisible, FIndex, FAcctType, "
            "FShowSysType) VALUES (:id, :grp, :name, :chs, :cht, :en, :sub, :cls, :visible, "
            ":idx, :acct, :show)",
            {id, groupId, nameCHS, nameCHS, Text(*record, "FSysNameCHT"),
             Text(*record, "FSysNameEN"), subId.empty() ? Variant::Null() : Variant(subId),
             Text(*record, "FClassName"), int32_t{record->Item("FVisible").ToBool() ? 1 : 0}, index,
             Text(*record, "FAcctType"), record->Item("FShowSysType").ToInt32()},
            "DatasUpdate.CreateSubSys");
        database_->RecordChange(kSubSystemTable, id);
    });
}

}  // namespace quarn::suite
