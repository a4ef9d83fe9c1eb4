#include "ui/SubSystemMgrUI.h"

#include <memory>

#include "model/SubSysGroup.h"
#include "ui/frmSubSystem.h"

namespace quarn::subsysmgr {

SubSystemPtr SubSystemMgrUI::Show(int32_t lngStatus, int32_t lngSubSysGroupID, int32_t lngSubSysID,
                                  bool bIsBROXAddition, QWidget* parent) {
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
