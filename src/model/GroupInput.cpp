#include "model/GroupInput.h"

#include <set>

#include "foundation/Dictionary.h"
#include "foundation/FoundationErrors.h"
#include "foundation/Recordset.h"
#include "model/GroupEditorTexts.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

using namespace group_editor;

namespace {

const EditorInput::Texts kTexts{
    errors::kGroupNoAccountType,
    errors::kGroupNameEmpty,
    errors::kGroupNameCHTEmpty,
    errors::kGroupNameENEmpty,
    errors::kGroupNameNotText,
    kNameCaption,
    kNameCHTCaption,
    kNameENCaption,
    kIndexCaption,
    errors::kForbiddenInGroupName,
    errors::kForbiddenInGroupNameCHT,
    errors::kForbiddenInGroupNameEN,
    kErrorFields,
};

}  // namespace

GroupInput::GroupInput(std::shared_ptr<ModuleState> module, int32_t status, bool broxAddition)
    : EditorInput(std::move(module), status, kTexts), broxAddition_(broxAddition) {
    id = CodeRange().first;
    accountTypes = DefaultAccountTypes();
}

void GroupInput::Load(std::shared_ptr<SubSysGroup> group) {
    group_ = std::move(group);
    id = group_->Id();
    nameCHS = group_->NameCHS();
    nameCHT = group_->NameCHT();
    nameEN = group_->NameEN();
    index = group_->Index();
    visible = group_->Visible();
    web = group_->WebVisible();
    ChooseStoredAccountTypes(group_->FitAccountType());
}

ranges::IdRange GroupInput::CodeRange() const {
    return IsAddition() && broxAddition_ ? ranges::kBroxGroups : ranges::kCustomerGroups;
}

std::optional<int32_t> GroupInput::NextFreeCode() {
    const ranges::IdRange range = CodeRange();
    std::set<int32_t> taken;  // a thousand groups at most: a scan of them all is quick
    const RecordsetPtr groups = GetDataFlowInfo(*module_).GetTopClass_All();
    for (; !groups->Eof(); groups->MoveNext()) {
        taken.insert(groups->Fields("FTopClassID").ToInt32());
    }
    groups->Close();
    for (int32_t code = range.first; code <= range.last; ++code) {
        if (!taken.contains(code)) {
            return code;
        }
    }
    return std::nullopt;
}

void GroupInput::Apply() {
    if (IsAddition()) {
        // A new object per attempt: whether the code exists is judged for the code entered now,
        // not by what an earlier attempt left in the object.
        group_ = std::make_shared<SubSysGroup>(module_);
    } else if (!group_) {
        throw ComError(ErrorNumber(FoundationError::MissingObject), "GroupInput.Save",
                       "There is no group to save the edit to.");
    }
    SubSysGroup& group = *group_;
    const std::string accountTypeList = CheckedAccountTypes();

    Checking(InputField::Id);
    group.CancelCheck(Status() == kStatusEdit);
    group.Id(id);
    if (IsAddition() && !group.IsNew()) {
        RaiseLocalized(*module_, errors::kGroupCodeExists);
    }

    DictionaryPtr names = RequiredNames();
    CheckNamesAllowed();
    group.DictName(std::move(names));

    CheckIndex();
    group.Index(index);
    group.Visible(visible);
    group.WebVisible(web);
    group.FitAccountType(accountTypeList);
}

void GroupInput::Write() {
    SubSysGroup& group = *group_;
    // An addition stays new, so the group's Save only creates it: it never deletes (and so
    // replaces) a group that has the code by now.
    if (!IsAddition()) {
        group.Modified(true);
    }
    group.OptType(enm_OptType_Group);
    group.Save();
}

}  // namespace quarn::subsysmgr
