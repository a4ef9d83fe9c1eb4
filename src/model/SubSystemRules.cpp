// The validating setters of SubSystem: identifier ranges and uniqueness among all subsystems,
// per-language name uniqueness within the group, and the ranges that may be changed or
// deleted.

#include <array>
#include <string>

#include "foundation/RecordsetFilter.h"
#include "foundation/Utf8Text.h"
#include "model/IdRanges.h"
#include "model/ModelErrors.h"
#include "model/SubSystem.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

namespace {

// GetSubSystem_All's argument for the subsystems of every group.
const Variant kAllGroups{int16_t{-1}};

std::string SiblingNameFilter(const std::string& column, const std::string& name) {
    return column + " =" + QuoteFilterText(name);
}

}  // namespace

void SubSystem::Id(int32_t vNewValue) {
    if (cancelCheck_) {
        id_ = vNewValue;
        return;
    }
    const RecordsetPtr all = GetDataFlowInfo(*module_).GetSubSystem_All(kAllGroups);
    all->Filter("FSubSysID=" + std::to_string(vNewValue));
    if (all->Eof() && all->Bof()) {
        // New subsystems are customer-made, or additions for the Brox platform.
        if (!ranges::kCustomerSubSystems.Contains(vNewValue) &&
            !ranges::kBroxSubSystems.Contains(vNewValue)) {
            RaiseLocalized(*module_, errors::kSubSystemIdOutOfRange);
        }
        isNew_ = true;
    } else if (vNewValue != subSystemIdOld_) {
        RaiseLocalized(*module_, errors::kSubSystemIdTaken);
    }
    all->Close();
    id_ = vNewValue;
}

void SubSystem::SetNameChecked(const std::string& language, const std::string& column,
                               const std::string& name, const std::string& previousName,
                               const ErrorDefinition& duplicateError) {
    if (!fillingStoredNames_ && !text::IsValidUtf8(name)) {
        RaiseLocalized(*module_, errors::kSubSystemNameNotText);
    }
    if (!cancelCheck_) {
        const RecordsetPtr siblings =
            GetDataFlowInfo(*module_).GetSubSystem_All(Variant(subSystemGroupId_));
        siblings->Filter(SiblingNameFilter(column, name));
        if (siblings->RecordCount() >= 1 && previousName != name) {
            RaiseLocalized(*module_, duplicateError);
        }
        siblings->Close();
    }
    if (!dictName_) {
        dictName_ = Dictionary::Create();
    }
    dictName_->Item(language, name);
}

void SubSystem::Name(const std::string& vNewValue) {
    const std::string language = GetLanguageOrDefault(*module_);
    const std::string column = language == "CHS" ? "FName" : "FName_" + language;
    SetNameChecked(language, column, vNewValue, SubSystemName_Old(), errors::kSubSystemNameTaken);
}

void SubSystem::NameCHS(const std::string& vNewValue) {
    // The simplified name is compared on FName and with the previous name of the current
    // language, unlike DictName, which uses FName_CHS and the previous simplified name.
    SetNameChecked("CHS", "FName", vNewValue, SubSystemName_Old(), errors::kSubSystemNameTaken);
}

void SubSystem::NameCHT(const std::string& vNewValue) {
    SetNameChecked("CHT", "FName_CHT", vNewValue, SubSystemNameCHT_Old(),
                   errors::kSubSystemNameCHTTaken);
}

void SubSystem::NameEN(const std::string& vNewValue) {
    SetNameChecked("EN", "FName_EN", vNewValue, SubSystemNameEN_Old(),
                   errors::kSubSystemNameENTaken);
}

void SubSystem::DictName(DictionaryPtr vNewValue) {
    if (!vNewValue) {
        dictName_ = nullptr;
        return;
    }
    struct LanguageRule {
        const char* code;
        std::string previous;
        const ErrorDefinition& duplicate;
    };
    const std::array<LanguageRule, 3> rules{{
        {"CHS", SubSystemNameCHS_Old(), errors::kSubSystemNameTaken},
        {"CHT", SubSystemNameCHT_Old(), errors::kSubSystemNameCHTTaken},
        {"EN", SubSystemNameEN_Old(), errors::kSubSystemNameENTaken},
    }};
    std::array<std::string, rules.size()> names;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        names[i] = vNewValue->Item(rules[i].code).TextOrEmpty();
        if (!text::IsValidUtf8(names[i])) {
            RaiseLocalized(*module_, errors::kSubSystemNameNotText);
        }
    }
    if (cancelCheck_) {
        dictName_ = std::move(vNewValue);
        return;
    }
    const RecordsetPtr siblings =
        GetDataFlowInfo(*module_).GetSubSystem_All(Variant(subSystemGroupId_));
    for (std::size_t i = 0; i < rules.size(); ++i) {
        siblings->Filter(SiblingNameFilter(std::string("FName_") + rules[i].code, names[i]));
        if (siblings->RecordCount() >= 1 && names[i] != rules[i].previous) {
            RaiseLocalized(*module_, rules[i].duplicate);
        }
    }
    siblings->Close();
    dictName_ = std::move(vNewValue);
}

void SubSystem::Modified(bool vNewValue) {
    if (!ranges::kCustomerSubSystems.Contains(id_) && !ranges::kBroxSubSystems.Contains(id_)) {
        RaiseLocalized(*module_, errors::kSubSystemNotModifiable);
    }
    modified_ = vNewValue;
}

void SubSystem::Deleted(bool vNewValue) {
    if (!ranges::kCustomerSubSystems.Contains(id_)) {
        RaiseLocalized(*module_, errors::kSubSystemNotDeletable);
    }
    const RecordsetPtr subFunctions = GetDataFlowInfo(*module_).GetSubFunc_All(id_);
    if (subFunctions && subFunctions->RecordCount() > 0) {
        RaiseLocalized(*module_, errors::kSubSystemHasSubFunctions);
    }
    deleted_ = vNewValue;
}

}  // namespace quarn::subsysmgr
