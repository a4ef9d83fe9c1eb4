#include "suite/store/DatasInfo.h"

#include "foundation/Utf8Text.h"
#include "suite/ContextEntries.h"
#include "suite/store/Database.h"

namespace quarn::suite {

std::shared_ptr<const RecordTable> DatasInfo::Table(TableOfSnapshot table) {
    std::lock_guard lock(mutex_);
    if (!snapshot_) {
        snapshot_ = session_->Localizing([&] { return TreeSnapshot::Load(session_->Store()); });
    } else if (!verified_) {
        snapshot_ = session_->Localizing([&] { return snapshot_->Refreshed(); });
    }
    verified_ = true;
    return (*snapshot_).*table;
}

RecordsetPtr DatasInfo::GetTopClass_All() {
    return Recordset::Create(Table(&TreeSnapshot::groups));
}

RecordsetPtr DatasInfo::GetSubSystem_All(const Variant& groupId) {
    const int32_t group = groupId.ToInt32();
    return Recordset::Create(Table(&TreeSnapshot::subSystems),
                             group == -1 ? std::string() : "FTopClassID=" + std::to_string(group));
}

RecordsetPtr DatasInfo::GetSubFunc_All(int32_t subSystemId) {
    return Recordset::Create(Table(&TreeSnapshot::subFunctions),
                             "FSubSysID=" + std::to_string(subSystemId));
}

bool DatasInfo::GetSubSystemInfo(double subSystemId, DictionaryPtr& info) {
    const auto table = Table(&TreeSnapshot::subSystems);
    const auto rows =
        table->RowsEqualTo(*table->FindColumn("FSubSysID"), *EqualityKeyOf(Variant(subSystemId)));
    if (rows.empty()) {
        return false;
    }
    if (!info) {
        info = Dictionary::Create();
    }
    for (std::size_t column = 0; column < table->ColumnCount(); ++column) {
        info->Item(table->ColumnName(column), table->Value(rows.front(), column));
    }
    return true;
}

RecordsetPtr DatasInfo::GetAcctInfo(int16_t /*kind*/) {
    const auto table = Table(&TreeSnapshot::accountTypes);
    const std::string language =
        text::ToUpperAscii(ContextEntry(session_->Context(), "Language").value_or("CHS"));
    const std::size_t localColumn = language == "CHT" ? 2 : language == "EN" ? 3 : 1;
    std::vector<RecordTable::Row> rows;
    for (const uint32_t row : table->LiveRows()) {
        rows.push_back({table->Value(row, 0), table->Value(row, localColumn), table->Value(row, 1),
                        table->Value(row, 2), table->Value(row, 3)});
    }
    return Recordset::Create({"FAcctType", "FDesc", "FDesc_CHS", "FDesc_CHT", "FDesc_EN"},
                             std::move(rows));
}

// The snapshot is kept: the next read asks the log what changed since, which the database's
// triggers record whoever writes, and reads only that.
void DatasInfo::ClearCache() {
    std::lock_guard lock(mutex_);
    verified_ = false;
}

void DatasInfo::initial() {
    std::lock_guard lock(mutex_);
    if (snapshot_) {
        snapshot_ = session_->Localizing([&] { return snapshot_->Refreshed(); });
    }
}

}  // namespace quarn::suite
