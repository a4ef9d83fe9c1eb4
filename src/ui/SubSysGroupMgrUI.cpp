#include "ui/SubSysGroupMgrUI.h"

#include <memory>

#include "model/SubSysGroup.h"
#include "ui/frmSubSysGroup.h"

namespace quarn::subsysmgr {

void SubSysGroupMgrUI::Show(int32_t lngStatus, int32_t lngSubSysGroupID, bool bIsBroxAdditon,
                            QWidget* parent) {
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
}

}  // namespace quarn::subsysmgr
