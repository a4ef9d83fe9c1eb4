#include "GroupWriter.h"

#include "CliErrors.h"
#include "InputChecks.h"
#include "TreeReader.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "ui/GroupEditorTexts.h"

namespace quarn::subsysmgr::cli {

namespace {

// The fields after the identifier, in the order the editor sets them.
void SetFields(SubSysGroup& group, InputChecks& checks, const GroupItem& item) {
    const Names names = checks.RequiredNames(item.names, kGroupNameRules);
    checks.NoForbiddenChars(item.names, kGroupNameRules);
    checks.Index(item.index, group_editor::kIndexCaption);
    group.DictName(NameDictionary(names));
    group.Index(item.index);
    group.Visible(item.visible);
    group.WebVisible(item.web);
    group.FitAccountType(FormatAccountTypes(item.accountTypes));
}

}  // namespace

GroupWriter::GroupWriter(std::shared_ptr<ModuleState> module, const CliText& text)
    : module_(std::move(module)), text_(text) {}

void GroupWriter::Add(const GroupItem& item) {
    InputChecks checks(module_, text_);
    checks.AccountTypes(item.accountTypes, group_editor::kNoAccountType);
    SubSysGroup group(module_);
    group.Id(item.id);
    if (!group.IsNew()) {
        RaiseLocalized(*module_, group_editor::kCodeExists);
    }
    SetFields(group, checks, item);
    // The group stays new, so Save only creates it and never replaces one that has the code.
    group.OptType(enm_OptType_Group);
    group.Save();
}

void GroupWriter::Update(const GroupItem& item, int64_t version) {
    SubSysGroup group(module_);
    if (!group.initial(item.id)) {
        RaiseLocalized(*module_, subsysmgr::errors::kGroupChangedElsewhere);
    }
    // The save's check covers what was read then, not what is stored now.
    group.Version(version);
    Write(group, item);
}

int32_t GroupWriter::Edit(int32_t id, const std::function<void(GroupItem&)>& change) {
    SubSysGroup group(module_);
    if (!group.initial(id)) {
        text_.Raise(errors::kUnknownGroup, {id});
    }
    GroupItem item = TreeReader::ItemOf(group);
    change(item);
    Write(group, item);
    return item.id;
}

void GroupWriter::Write(SubSysGroup& group, const GroupItem& item) {
    InputChecks checks(module_, text_);
    checks.AccountTypes(item.accountTypes, group_editor::kNoAccountType);
    group.CancelCheck(true);
    group.Id(item.id);
    SetFields(group, checks, item);
    group.Modified(true);
    group.OptType(enm_OptType_Group);
    group.Save();
}

void GroupWriter::Delete(int32_t id) {
    SubSysGroup group(module_);
    if (!group.initial(id)) {
        text_.Raise(errors::kUnknownGroup, {id});
    }
    group.Deleted(true);
    group.OptType(enm_OptType_Group);
    if (!group.Save()) {
        text_.Raise(errors::kGroupNotDeleted, {id});
    }
}

}  // namespace quarn::subsysmgr::cli
