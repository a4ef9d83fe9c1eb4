#include "fakes/FakeDatasUpdate.h"

namespace quarn::fakes {

namespace {

std::optional<std::string> OptionalText(const Dictionary& record, const char* key) {
    const std::string text = record.Item(key).TextOrEmpty();
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

void Erase(FakeDatasInfo& tables, const Variant& itemType, int32_t itemId) {
    if (itemType.ToInt32() == kUpdateItemGroup) {
        std::erase_if(tables.groups, [itemId](const GroupRow& row) { return row.id == itemId; });
    } else {
        std::erase_if(tables.subSystems,
                      [itemId](const SubSystemRow& row) { return row.id == itemId; });
    }
}

}  // namespace

void FakeDatasUpdate::DeleteItem(const Variant& itemType, int32_t itemId, bool flag) {
    Enter("DeleteItem", {itemType, itemId, flag});
    Erase(*tables_, itemType, itemId);
}

void FakeDatasUpdate::DeleteItemIfUnchanged(const Variant& itemType, int32_t itemId,
                                            int64_t version) {
    Enter("DeleteItemIfUnchanged", {itemType, itemId, version});
    Erase(*tables_, itemType, itemId);
}

void FakeDatasUpdate::CreateTopClass(int32_t index, DictionaryPtr record, bool flag) {
    Enter("CreateTopClass", {index, record, flag});
    tables_->groups.push_back(
        GroupRow{record->Item("FTopClassID").ToInt32(), record->Item("FTopClassName").ToText(),
                 record->Item("FTopClassNameCHT").ToText(),
                 record->Item("FTopClassNameEN").ToText(), index, record->Item("FVisible").ToBool(),
                 record->Item("FShowSysType").ToInt32(), OptionalText(*record, "FAcctType")});
}

void FakeDatasUpdate::CreateSubSys(int32_t groupId, int32_t index, DictionaryPtr record,
                                   bool flag) {
    Enter("CreateSubSys", {groupId, index, record, flag});
    SubSystemRow row;
    row.id = record->Item("FSubSysID").ToInt32();
    row.groupId = groupId;
    row.nameCHS = record->Item("FSysName").ToText();
    row.nameCHT = record->Item("FSysNameCHT").ToText();
    row.nameEN = record->Item("FSysNameEN").ToText();
    row.subId = OptionalText(*record, "FSubID");
    row.visible = record->Item("FVisible").ToBool();
    row.index = index;
    row.acctType = OptionalText(*record, "FAcctType");
    row.showSysType = record->Item("FShowSysType").ToInt32();
    tables_->subSystems.push_back(row);
}

}  // namespace quarn::fakes
