#include "ui/SubSystemMgrUI.h"

#include <memory>

#include "model/SubSysGroup.h"
#include "runtime/SessionContext.h"
#include "ui/QtTranslations.h"
#include "ui/frmSubSystem.h"

namespace quarn::subsysmgr {

SubSystemPtr SubSystemMgrUI::Show(int32_t lngStatus, int32_t lngSubSysGroupID, int32_t lngSubSysID,
                                  bool bIsBROXAddition, QWidget* parent) {
    // A host of the component may have changed the session's language since the last dialog.
    InstallQtTranslations(GetLanguageOrDefault(*ModuleState::Current()));
    frmSubSystem dialog(parent);
    auto group = std::make_shared<SubSysGroup>();
    group->Id(lngSubSysGroupID);
    SubSystemPtr subSystem;
    if (lngStatus == kStatusEdit) {
        subSystem = group->GetSubSystem(lngSubSysID, false);
    }
    dialog.objSubSysGroup = group;
    dialog.objSubSystem = subSystem;
    dialog.bIsBROXAddition = bIsBROXAddition;
    dialog.lngStatus = lngStatus;
    dialog.Form_Load();
    dialog.exec();
    return dialog.objSubSystem;
}

}  // namespace quarn::subsysmgr
