#pragma once

#include <cstdint>

#include "quarn/model/SubSystem.h"

class QWidget;

namespace quarn::subsysmgr {

/// Opens the subsystem editor.
class SubSystemMgrUI {
  public:
    /// Shows frmSubSystem modally for a subsystem of group lngSubSysGroupID and returns, when it
    /// closes, the subsystem the dialog holds: lngStatus 2 edits subsystem lngSubSysID and
    /// returns it, saved or not; 1 adds one (with bIsBROXAddition, in the Brox range
    /// 100000-199990) and returns nullptr when cancelled before any save attempt, otherwise the
    /// subsystem of the attempts (stored only when a save succeeded). Without a parent the dialog
    /// has no owner window. Passes on a group identifier the group refuses, failures to load,
    /// and MissingObject when the subsystem to edit does not exist.
    SubSystemPtr Show(int32_t lngStatus, int32_t lngSubSysGroupID = -1, int32_t lngSubSysID = 0,
                      bool bIsBROXAddition = false, QWidget* parent = nullptr);
};

}  // namespace quarn::subsysmgr
