#include "fakes/FakeDatasInfo.h"

#include <algorithm>

namespace quarn::fakes {

namespace {

Variant OrNull(const std::optional<std::string>& value) {
    return value ? Variant(*value) : Variant::Null();
}

}  // namespace

SubSystemRow VisibleSubSystem(int32_t id, int32_t groupId, std::string chs, std::string cht,
                              std::string en, int32_t index, std::optional<std::string> acctType) {
    SubSystemRow row;
    row.id = id;
    row.groupId = groupId;
    row.nameCHS = std::move(chs);
    row.nameCHT = std::move(cht);
    row.nameEN = std::move(en);
    row.subId = "s" + std::to_string(id);
    row.index = index;
    row.acctType = std::move(acctType);
    return row;
}

std::shared_ptr<const RecordTable> GroupTable(const std::vector<GroupRow>& rows) {
    std::vector<RecordTable::Row> values;
    for (const GroupRow& g : rows) {
        values.push_back({g.id, g.nameCHS, g.nameCHS, g.nameCHT, g.nameEN, g.index,
                          int32_t{g.visible ? 1 : 0}, g.showSysType, OrNull(g.acctType),
                          g.version});
    }
    return RecordTable::Create(
        {"FTopClassID", "FtopClassName", "FTopClassName_CHS", "FTopClassName_CHT",
         "FTopClassName_EN", "FIndex", "FVisible", "FShowSysType", "FAcctType", "FVersion"},
        std::move(values));
}

std::shared_ptr<const RecordTable> SubSystemTable(const std::vector<SubSystemRow>& rows) {
    std::vector<RecordTable::Row> values;
    for (const SubSystemRow& s : rows) {
        values.push_back({s.groupId, s.id, s.nameIsNull ? Variant::Null() : Variant(s.nameCHS),
                          s.nameCHS, OrNull(s.nameCHT), OrNull(s.nameEN), OrNull(s.subId),
                          int32_t{s.visible ? 1 : 0}, OrNull(s.acctType), s.index, s.showSysType,
                          s.version});
    }
    return RecordTable::Create(
        {"FTopClassID", "FSubSysID", "FName", "FName_CHS", "FName_CHT", "FName_EN", "FSUBID",
         "FVisible", "FAcctType", "FIndex", "FShowSysType", "FVersion"},
        std::move(values));
}

RecordsetPtr FakeDatasInfo::GetTopClass_All() {
    Enter("GetTopClass_All");
    return Recordset::Create(GroupTable(groups));
}

RecordsetPtr FakeDatasInfo::GetSubSystem_All(const Variant& groupId) {
    Enter("GetSubSystem_All", {groupId});
    const int32_t wanted = groupId.ToInt32();
    std::vector<SubSystemRow> rows;
    for (const SubSystemRow& row : subSystems) {
        if (wanted == -1 || row.groupId == wanted) {
            rows.push_back(row);
        }
    }
    return Recordset::Create(SubSystemTable(rows));
}

RecordsetPtr FakeDatasInfo::GetSubFunc_All(int32_t subSystemId) {
    Enter("GetSubFunc_All", {subSystemId});
    std::vector<RecordTable::Row> rows;
    for (const auto& [id, count] : subFunctions) {
        for (int32_t i = 0; id == subSystemId && i < count; ++i) {
            rows.push_back({id * 100 + i, subSystemId});
        }
    }
    return Recordset::Create({"FSubFuncID", "FSubSysID"}, std::move(rows));
}

bool FakeDatasInfo::GetSubSystemInfo(double subSystemId, DictionaryPtr& /*info*/) {
    Enter("GetSubSystemInfo", {subSystemId});  // callers only ask whether the subsystem exists
    return std::any_of(subSystems.begin(), subSystems.end(), [&](const SubSystemRow& row) {
        return row.id == static_cast<int32_t>(subSystemId);
    });
}

RecordsetPtr FakeDatasInfo::GetAcctInfo(int16_t kind) {
    Enter("GetAcctInfo", {kind});
    std::vector<RecordTable::Row> rows;
    for (const AccountTypeRow& row : accountTypes) {
        rows.push_back({row.code, row.description});
    }
    return Recordset::Create({"FAcctType", "FDesc"}, std::move(rows));
}

void FakeDatasInfo::ClearCache() {
    Enter("ClearCache");
}

void FakeDatasInfo::initial() {
    Enter("initial");
}

void FakeDatasInfo::IsBroxQuery(bool value) {
    Enter("IsBroxQuery", {value});
    isBroxQuery_ = value;
}

}  // namespace quarn::fakes
