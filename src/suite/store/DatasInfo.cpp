#include "suite/store/DatasInfo.h"

#include <climits>
#include <cmath>
#include <optional>
#include <variant>

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
        } else {
            snapshot_->ForgetRolledBack();
        }
        verified_ = true;
        return part(*snapshot_);
    });
}

namespace {

constexpr std::size_t kGroupIdColumn = 0;    // FTopClassID of the group table
constexpr std::size_t kGroupColumn = 0;      // FTopClassID of the subsystem tables
constexpr std::size_t kSubSystemColumn = 1;  // FSubSysID

// The 32-bit identifier an equality term of a filter names, if it names one.
std::optional<int32_t> IdentifierIn(const std::optional<EqualityKey>& key) {
    const auto* number = key ? std::get_if<int64_t>(&*key) : nullptr;
    if (!number || *number < INT32_MIN || *number > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*number);
}

}  // namespace

RecordsetPtr DatasInfo::GetTopClass_All() {
    // The checks of one group filter on its identifier at once: they need one row, unless the
    // groups are at hand. The store is opened now, so that a database that cannot be read says
    // so here.
    if (auto groups = Read([](TreeSnapshot& tree) {
            return tree.HoldsGroups() ? tree.Groups() : TreeSnapshot::Table();
        })) {
        return Recordset::Create(std::move(groups));
    }
    return Recordset::Deferred(
        TreeSnapshot::GroupColumns(), [self = shared_from_this()](const RecordsetFilter& filter) {
            const auto group = IdentifierIn(filter.EqualTo(kGroupIdColumn));
            return self->Read(
                [&](TreeSnapshot& tree) { return group ? tree.GroupWith(*group) : tree.Groups(); });
        });
}

RecordsetPtr DatasInfo::GetSubSystem_All(const Variant& groupId) {
    const int32_t group = groupId.ToInt32();
    if (group == -1) {
        if (auto all = Read([](TreeSnapshot& tree) {
                return tree.HoldsAllSubSystems() ? tree.SubSystems() : TreeSnapshot::Table();
            })) {
            return Recordset::Create(std::move(all));
        }
        // The checks of one identifier filter on it at once: they need one row, not the tree.
        return Recordset::Deferred(
            TreeSnapshot::SubSystemColumns(),
            [self = shared_from_this()](const RecordsetFilter& filter) {
                const auto subSystem = IdentifierIn(filter.EqualTo(kSubSystemColumn));
                const auto inGroup = IdentifierIn(filter.EqualTo(kGroupColumn));
                return self->Read([&](TreeSnapshot& tree) {
                    return subSystem ? tree.SubSystemWith(*subSystem)
                           : inGroup ? tree.SubSystemsOf(*inGroup)
                                     : tree.SubSystems();
                });
            });
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
    const auto table = Read([&](TreeSnapshot& tree) { return tree.SubSystemWith(id); });
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
