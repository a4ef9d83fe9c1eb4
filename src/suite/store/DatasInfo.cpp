#include "suite/store/DatasInfo.h"

#include <climits>
#include <cmath>

#include "foundation/Utf8Text.h"
#include "suite/ContextEntries.h"
#include "suite/store/Database.h"

namespace quarn::suite {

template <class Part>
TreeSnapshot::Table DatasInfo::Read(Part&& part) {
    std::lock_guard lock(mutex_);
    return session_->Localizing([&] {
        if (!snapshot_) {
            snapshot_.emplace(session_->Store());
        } else if (!verified_) {
            snapshot_->Refresh();
        }
        verified_ = true;
        return part(*snapshot_);
    });
}

RecordsetPtr DatasInfo::GetTopClass_All() {
    return Recordset::Create(Read([](TreeSnapshot& tree) { return tree.Groups(); }));
}

RecordsetPtr DatasInfo::GetSubSystem_All(const Variant& groupId) {
    const int32_t group = groupId.ToInt32();
    if (group == -1) {
        return Recordset::Create(Read([](TreeSnapshot& tree) { return tree.SubSystems(); }));
    }
    return Recordset::Create(Read([&](TreeSnapshot& tree) { return tree.SubSystemsOf(group); }),
                             "FTopClassID=" + std::to_string(group));
}

RecordsetPtr DatasInfo::GetSubFunc_All(int32_t subSystemId) {
    return Recordset::Create(Read([](TreeSnapshot& tree) { return tree.SubFunctions(); }),
                             "FSubSysID=" + std::to_string(subSystemId));
}

bool DatasInfo::GetSubSystemInfo(double subSystemId, DictionaryPtr& info) {
    // Identifiers are whole 32-bit numbers; no row has another one.
    if (std::trunc(subSystemId) != subSystemId || subSystemId < INT32_MIN ||
        subSystemId > INT32_MAX) {
        return false;
    }
    const auto id = static_cast<int32_t>(subSystemId);
    const auto table = Read([&](TreeSnapshot& tree) { return tree.SubSystemsWith(id); });
    const auto rows = table->RowsEqualTo(*table->FindColumn("FSubSysID"), EqualityKey(int64_t{id}));
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
    const auto table = Read([](TreeSnapshot& tree) { return tree.AccountTypes(); });
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
        session_->Localizing([&] { snapshot_->Refresh(); });
    }
}

}  // namespace quarn::suite
