#include "model/SubSystemInput.h"

#include "foundation/Dictionary.h"
#include "host/IDatasInfo.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "model/SubSystemEditorTexts.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

using namespace subsystem_editor;

namespace {

const EditorInput::Texts kTexts{
    errors::kSubSystemNoAccountType,
    errors::kSubSystemNameEmpty,
    errors::kSubSystemNameCHTEmpty,
    errors::kSubSystemNameENEmpty,
    errors::kSubSystemNameNotText,
    kNameCaption,
    kNameCHTCaption,
    kNameENCaption,
    kIndexCaption,
    errors::kForbiddenInSubSystemName,
    errors::kForbiddenInSubSystemNameCHT,
    errors::kForbiddenInSubSystemNameEN,
    kErrorFields,
};

}  // namespace

SubSystemInput::SubSystemInput(std::shared_ptr<ModuleState> module, int32_t status,
                               bool broxAddition)
    : EditorInput(std::move(module), status, kTexts), broxAddition_(broxAddition) {
    id = CodeRange().first;
    accountTypes = DefaultAccountTypes();
}

void SubSystemInput::Use(std::shared_ptr<SubSysGroup> owner, SubSystemPtr subSystem) {
    owner_ = std::move(owner);
    subSystem_ = std::move(subSystem);
}

void SubSystemInput::Load(std::shared_ptr<SubSysGroup> owner, SubSystemPtr subSystem) {
    Use(std::move(owner), std::move(subSystem));
    SubSystem& edited = *subSystem_;
    id = edited.Id();
    nameCHS = edited.NameCHS();
    nameCHT = edited.NameCHT();
    nameEN = edited.NameEN();
    index = edited.Index();
    visible = edited.Visible();
    number = edited.Number();
    web = edited.WebVisible();
    group = edited.SubSystemGroupID();
    ChooseStoredAccountTypes(edited.FitAccountType());
    edited.SubSystemID_Old(edited.Id());
    edited.SubSystemName_Old(edited.Name());
    edited.SubSystemNameCHS_Old(edited.NameCHS());
    edited.SubSystemNameCHT_Old(edited.NameCHT());
    edited.SubSystemNameEN_Old(edited.NameEN());
}

ranges::IdRange SubSystemInput::CodeRange() const {
    return IsAddition() && broxAddition_ ? ranges::kBroxSubSystems : ranges::kCustomerSubSystems;
}

std::optional<int32_t> SubSystemInput::NextFreeCode() {
    const ranges::IdRange range = CodeRange();
    IDatasInfo& info = GetDataFlowInfo(*module_);
    for (int32_t code = range.first; code <= range.last; ++code) {
        DictionaryPtr taken;
        if (!info.GetSubSystemInfo(code, taken)) {
            return code;
        }
    }
    return std::nullopt;
}

void SubSystemInput::Apply() {
    if (!subSystem_) {
        subSystem_ = SubSystem::Create(module_);
    }
    if (!owner_) {
        owner_ = std::make_shared<SubSysGroup>(module_);
    }
    SubSystem& edited = *subSystem_;
    const std::string accountTypeList = CheckedAccountTypes();

    Checking(InputField::Group);
    edited.SubSystemGroupID(group);
    Checking(InputField::Id);
    if (IsAddition()) {
        DictionaryPtr existing;
        if (GetDataFlowInfo(*module_).GetSubSystemInfo(id, existing)) {
            RaiseLocalized(*module_, errors::kSubSystemCodeExists);
        }
    }
    edited.Id(id);

    DictionaryPtr names = RequiredNames();
    Checking(InputField::Number);
    CheckText(number, errors::kSubSystemNumberNotText);
    CheckLength(number, kNumberCaption);
    CheckForbidden(number, errors::kForbiddenInSubSystemNumber);
    CheckNamesAllowed();
    edited.DictName(std::move(names));

    CheckIndex();
    edited.Index(index);
    edited.Number(number);
    edited.Visible(visible);
    edited.WebVisible(web);
    edited.FitAccountType(accountTypeList);
}

void SubSystemInput::Write() {
    if (Status() == kStatusEdit) {
        subSystem_->Modified(true);
        owner_->UpdateSubSystem(subSystem_);
    } else {
        owner_->AddSubSystem(subSystem_);
    }
    owner_->OptType(enm_OptType_SubSystem);
    // The group skips a subsystem whose write fails and reports it only by its result; it
    // holds just this one, so false means it was not written.
    if (!owner_->Save()) {
        errors::RethrowIfChangedElsewhere(owner_->LastSaveFailure());
        RaiseLocalized(*module_, errors::kSubSystemNotSaved, owner_->LastSaveFailure());
    }
}

}  // namespace quarn::subsysmgr
