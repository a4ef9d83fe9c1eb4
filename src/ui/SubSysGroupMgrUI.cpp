#include "ui/SubSysGroupMgrUI.h"

#include <memory>

#include "model/SubSysGroup.h"
#include "runtime/SessionContext.h"
#include "ui/QtTranslations.h"
#include "ui/frmSubSysGroup.h"

namespace quarn::subsysmgr {

void SubSysGroupMgrUI::Show(int32_t lngStatus, int32_t lngSubSysGroupID, bool bIsBroxAdditon,
                            QWidget* parent) {
    // A host of the component may have changed the session's language since the last dialog.
    InstallQtTranslations(GetLanguageOrDefault(*ModuleState::Current()));
    frmSubSysGroup dialog(parent);
    std::shared_ptr<SubSysGroup> group;
    if (lngStatus == kStatusEdit) {
        group = std::make_shared<SubSysGroup>();
        group->initial(lngSubSysGroupID);
    }
    dialog.objSubSysGroup = group;
    dialog.bIsBroxAdditon = bIsBroxAdditon;
    dialog.lngStatus = lngStatus;
    dialog.Form_Load();
    dialog.exec();
    // In add mode the dialog holds a group only once one was saved.
    addedGroup_ = lngStatus == kStatusAdd ? dialog.objSubSysGroup : nullptr;
}

}  // namespace quarn::subsysmgr
