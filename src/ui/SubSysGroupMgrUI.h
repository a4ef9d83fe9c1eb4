#pragma once

#include <cstdint>

class QWidget;

namespace quarn::subsysmgr {

/// Opens the group editor.
class SubSysGroupMgrUI {
  public:
    /// Shows frmSubSysGroup modally and returns when it closes, saved or cancelled: lngStatus 1
    /// adds a group (with bIsBroxAdditon, in the Brox range 10000-19999), 2 edits group
    /// lngSubSysGroupID, any other value opens a dialog that can only be cancelled. Without a
    /// parent the dialog has no owner window. Passes on failures to load the group or the
    /// account types.
    void Show(int32_t lngStatus, int32_t lngSubSysGroupID = 0, bool bIsBroxAdditon = false,
              QWidget* parent = nullptr);
};

}  // namespace quarn::subsysmgr
