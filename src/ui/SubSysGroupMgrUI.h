#pragma once

#include <cstdint>
#include <memory>

class QWidget;

namespace quarn::subsysmgr {

class SubSysGroup;

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

    /// The group that the last Show added, when its save succeeded; nullptr otherwise. Tells a
    /// caller which group is its own, whatever other users added meanwhile.
    const std::shared_ptr<SubSysGroup>& AddedGroup() const { return addedGroup_; }

  private:
    std::shared_ptr<SubSysGroup> addedGroup_;
};

}  // namespace quarn::subsysmgr
