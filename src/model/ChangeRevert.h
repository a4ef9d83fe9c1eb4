#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "quarn/host/IChangeHistory.h"
#include "quarn/runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// Restores a group or subsystem to its state before a logged change (see IChangeHistory),
/// through SubSysGroup and SubSystem with every rule of theirs, as the editors would save it:
/// a changed item gets its earlier values back, an added one is deleted, a deleted one is
/// created again. The revert's own write is logged like any other, with a note that names the
/// change it reverted (see Note).
class ChangeRevert {
  public:
    /// What the revert did to the item.
    enum class Action {
        Restored,   ///< rewrote it with its values before the change
        Deleted,    ///< deleted the item the change added
        Recreated,  ///< created again the item the change deleted
        Unchanged,  ///< nothing: forced over a later deletion of an added item, which is gone
    };
    struct Outcome {
        int64_t change = 0;  ///< the change reverted, as the history numbers it
        TreeItemRef item;
        Action action = Action::Unchanged;
        bool forced = false;
    };

    /// What a note on a logged change says about a revert.
    struct RevertNote {
        int64_t change = 0;
        bool forced = false;
    };

    explicit ChangeRevert(std::shared_ptr<ModuleState> module = ModuleState::Current());

    /// Reverts change `number` (either half of a rewrite finds the whole change); `item` names
    /// the item when one PostgreSQL transaction changed several under the number.
    ///
    /// Only the item's last change is reverted: when it changed again since (or a deleted item
    /// exists again) the revert raises error 1042 and writes nothing, unless `force`, which
    /// restores the item's earlier values over whatever it holds now. Raises, writing nothing,
    /// 1043 for a number the log does not have (or whose items do not include `item`), 1047 for
    /// a number of several items without `item`, 1044 for an item delivered with the suite,
    /// 1045 for a database that keeps no change log yet, and the business objects' errors for
    /// values their rules refuse now. A deletion that Save refuses after its message box (a
    /// group that has subsystems, a subsystem that has business objects) raises 1046, as does a
    /// subsystem write that the store refused (its reason appended).
    Outcome Revert(int64_t number, bool force = false, std::optional<TreeItemRef> item = {});

    /// The note of a revert's own change in the log: "revert of change N", "forced revert of
    /// change N".
    static std::string Note(int64_t change, bool forced);
    /// What a note says, when it is the note of a revert.
    static std::optional<RevertNote> ReadNote(const std::string& note);

  private:
    std::shared_ptr<ModuleState> module_;
};

}  // namespace quarn::subsysmgr
