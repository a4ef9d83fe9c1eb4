#include "SubSystemWriter.h"

#include "CliErrors.h"
#include "InputChecks.h"
#include "TreeReader.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "runtime/SessionContext.h"
#include "ui/SubSystemEditorTexts.h"

namespace quarn::subsysmgr::cli {

namespace {

// The fields after the identifier, in the order the editor sets them.
void SetFields(SubSystem& subSystem, InputChecks& checks, const SubSystemItem& item) {
    const Names names = checks.RequiredNames(item.names, kSubSystemNameRules);
    checks.Number(item.number, subsystem_editor::kForbiddenInNumber);
    checks.NoForbiddenChars(item.names, kSubSystemNameRules);
    checks.Index(item.index, subsystem_editor::kIndexCaption);
    subSystem.DictName(NameDictionary(names));
    subSystem.Index(item.index);
    subSystem.Number(item.number);
    subSystem.Visible(item.visible);
    subSystem.WebVisible(item.web);
    subSystem.FitAccountType(FormatAccountTypes(item.accountTypes));
}

}  // namespace

SubSystemWriter::SubSystemWriter(std::shared_ptr<ModuleState> module, const CliText& text)
    : module_(std::move(module)), text_(text) {}

void SubSystemWriter::RequireGroup(int32_t groupId) {
    if (!TreeReader(module_).FindGroup(groupId)) {
        text_.Raise(errors::kUnknownGroup, {groupId});
    }
}

void SubSystemWriter::Add(const SubSystemItem& item) {
    InputChecks checks(module_, text_);
    checks.AccountTypes(item.accountTypes, subsystem_editor::kNoAccountType);
    RequireGroup(item.group);
    const auto subSystem = SubSystem::Create(module_);
    subSystem->SubSystemGroupID(item.group);
    DictionaryPtr existing;
    if (GetDataFlowInfo(*module_).GetSubSystemInfo(item.id, existing)) {
        RaiseLocalized(*module_, subsystem_editor::kCodeExists);
    }
    subSystem->Id(item.id);
    SetFields(*subSystem, checks, item);

    SubSysGroup group(module_);
    group.AddSubSystem(subSystem);
    group.OptType(enm_OptType_SubSystem);
    if (!group.Save()) {
        RaiseLocalized(*module_, subsystem_editor::kNotSaved, group.LastSaveFailure());
    }
}

void SubSystemWriter::Update(const SubSystemItem& item, int64_t version) {
    auto loaded = TreeReader(module_).LoadSubSystem(item.id);
    if (!loaded) {
        RaiseLocalized(*module_, subsysmgr::errors::kSubSystemChangedElsewhere);
    }
    // The save's check covers what was read then, not what is stored now.
    loaded->subSystem->Version(version);
    Write(*loaded, item);
}

int32_t SubSystemWriter::Edit(int32_t id, const std::function<void(SubSystemItem&)>& change) {
    auto loaded = TreeReader(module_).LoadSubSystem(id);
    if (!loaded) {
        text_.Raise(errors::kUnknownSubSystem, {id});
    }
    SubSystemItem item = TreeReader::ItemOf(*loaded->subSystem);
    change(item);
    Write(*loaded, item);
    return item.id;
}

void SubSystemWriter::Write(TreeReader::Loaded& loaded, const SubSystemItem& item) {
    SubSystem& subSystem = *loaded.subSystem;
    // What the editor remembers when it loads a subsystem: its own code and names stay allowed.
    subSystem.SubSystemID_Old(subSystem.Id());
    subSystem.SubSystemName_Old(subSystem.Name());
    subSystem.SubSystemNameCHS_Old(subSystem.NameCHS());
    subSystem.SubSystemNameCHT_Old(subSystem.NameCHT());
    subSystem.SubSystemNameEN_Old(subSystem.NameEN());

    InputChecks checks(module_, text_);
    checks.AccountTypes(item.accountTypes, subsystem_editor::kNoAccountType);
    if (item.group != subSystem.SubSystemGroupID()) {
        RequireGroup(item.group);
    }
    subSystem.SubSystemGroupID(item.group);
    subSystem.Id(item.id);
    SetFields(subSystem, checks, item);
    subSystem.Modified(true);
    loaded.group->UpdateSubSystem(loaded.subSystem);
    loaded.group->OptType(enm_OptType_SubSystem);
    if (!loaded.group->Save()) {
        subsysmgr::errors::RethrowIfChangedElsewhere(loaded.group->LastSaveFailure());
        RaiseLocalized(*module_, subsystem_editor::kNotSaved, loaded.group->LastSaveFailure());
    }
}

void SubSystemWriter::Delete(int32_t id) {
    const auto loaded = TreeReader(module_).LoadSubSystem(id);
    if (!loaded) {
        text_.Raise(errors::kUnknownSubSystem, {id});
    }
    loaded->group->DeleteSubSystem(id);
    loaded->group->OptType(enm_OptType_SubSystem);
    if (!loaded->group->Save()) {
        subsysmgr::errors::RethrowIfChangedElsewhere(loaded->group->LastSaveFailure());
        text_.Raise(errors::kSubSystemNotDeleted, {id});
    }
}

}  // namespace quarn::subsysmgr::cli
