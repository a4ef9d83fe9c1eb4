// The validating setters of SubSysGroup: identifier ranges, per-language name uniqueness among
// all groups, and the ranges that may be changed or deleted.

#include <array>
#include <string>

#include "foundation/RecordsetFilter.h"
#include "foundation/Utf8Text.h"
#include "model/IdRanges.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

namespace {

// The reserved identifiers that hosts store without a check.
constexpr int32_t kUnsetGroupId = -1;
constexpr int32_t kReservedGroupId = -102;

struct LanguageRule {
    const char* code;
    const ErrorDefinition& duplicate;
};
const std::array<LanguageRule, 3> kNameLanguages{{
    {"CHS", errors::kGroupNameTaken},
    {"CHT", errors::kGroupNameCHTTaken},
    {"EN", errors::kGroupNameENTaken},
}};

std::string NameFilter(const std::string& language, const std::string& name) {
    return "FTopClassName_" + language + "=" + QuoteFilterText(name);
}

}  // namespace

void SubSysGroup::Id(int32_t vNewValue) {
    if (vNewValue == kUnsetGroupId || vNewValue == kReservedGroupId || cancelCheck_) {
        id_ = vNewValue;
        return;
    }
    const RecordsetPtr groups = GetDataFlowInfo(*module_).GetTopClass_All();
    groups->Filter("FTopClassID=" + std::to_string(vNewValue));
    if (groups->Eof() && groups->Bof()) {
        // New groups are customer-made, or additions for the Brox platform.
        if (!ranges::kCustomerGroups.Contains(vNewValue) &&
            !ranges::kBroxGroups.Contains(vNewValue)) {
            RaiseLocalized(*module_, errors::kGroupIdOutOfRange);
        }
        isNew_ = true;
    }
    groups->Close();
    id_ = vNewValue;
}

void SubSysGroup::SetNameChecked(const std::string& language, const std::string& name,
                                 const ErrorDefinition& duplicateError) {
    if (!text::IsValidUtf8(name)) {
        RaiseLocalized(*module_, errors::kGroupNameNotText);
    }
    if (!name.empty() && !cancelCheck_) {
        const RecordsetPtr groups = GetDataFlowInfo(*module_).GetTopClass_All();
        groups->Filter(NameFilter(language, name));
        if (groups->RecordCount() > 0) {
            RaiseLocalized(*module_, duplicateError);
        }
        groups->Close();
    }
    if (!dictName_) {
        dictName_ = Dictionary::Create();
    }
    dictName_->Item(language, name);
}

void SubSysGroup::Name(const std::string& vNewValue) {
    SetNameChecked(GetLanguageOrDefault(*module_), vNewValue, errors::kGroupNameTaken);
}

void SubSysGroup::NameCHS(const std::string& vNewValue) {
    SetNameChecked("CHS", vNewValue, errors::kGroupNameTaken);
}

void SubSysGroup::NameCHT(const std::string& vNewValue) {
    SetNameChecked("CHT", vNewValue, errors::kGroupNameCHTTaken);
}

void SubSysGroup::NameEN(const std::string& vNewValue) {
    SetNameChecked("EN", vNewValue, errors::kGroupNameENTaken);
}

void SubSysGroup::DictName(DictionaryPtr vNewValue) {
    if (!vNewValue) {
        dictName_ = nullptr;
        return;
    }
    std::array<std::string, kNameLanguages.size()> names;
    for (std::size_t i = 0; i < kNameLanguages.size(); ++i) {
        names[i] = vNewValue->Item(kNameLanguages[i].code).TextOrEmpty();
        if (!text::IsValidUtf8(names[i])) {
            RaiseLocalized(*module_, errors::kGroupNameNotText);
        }
    }
    // A new group is compared with every group, an existing one with all groups but itself.
    const std::string exceptSelf = isNew_ ? "" : " AND FTopClassID<>" + std::to_string(id_);
    const RecordsetPtr groups = GetDataFlowInfo(*module_).GetTopClass_All();
    for (std::size_t i = 0; i < kNameLanguages.size(); ++i) {
        groups->Filter(NameFilter(kNameLanguages[i].code, names[i]) + exceptSelf);
        if (groups->RecordCount() > 0) {
            RaiseLocalized(*module_, kNameLanguages[i].duplicate);
        }
    }
    groups->Close();
    dictName_ = std::move(vNewValue);
}

void SubSysGroup::Deleted(bool vNewValue) {
    if (!ranges::kCustomerGroups.Contains(id_)) {
        RaiseLocalized(*module_, errors::kGroupNotDeletable);
    }
    deleted_ = vNewValue;
    if (vNewValue) {
        isNew_ = false;
    }
}

void SubSysGroup::Modified(bool vNewValue) {
    if (!ranges::kCustomerGroups.Contains(id_) && !ranges::kBroxGroups.Contains(id_)) {
        RaiseLocalized(*module_, errors::kGroupNotModifiable);
    }
    modified_ = vNewValue;
    if (vNewValue) {
        isNew_ = false;
    }
}

}  // namespace quarn::subsysmgr
