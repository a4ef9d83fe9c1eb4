#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "foundation/ComError.h"
#include "host/IChangeHistory.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// A logged change that left an item as it is now: its number, and whether the item exists
/// after it.
struct ChangeMade {
    TreeItemRef item;
    int64_t change = 0;
    bool present = false;

    bool operator==(const ChangeMade&) const = default;
};

/// The steps of undo over the change log: a step is the logged changes an action left on each
/// item, undoing it reverts them newest first through ChangeRevert (the business objects with
/// their rules; each revert is logged), and a step another user touched since is refused. An
/// item's row version is the number of its last change, so the changes of an action are found
/// from the versions of the items it may touch, without reading any history but that of the
/// items it deleted.
class ChangeSteps {
  public:
    /// The version of an item that does not exist (a row never changed since the log began has 0).
    static constexpr int64_t kAbsent = -1;

    explicit ChangeSteps(std::shared_ptr<ModuleState> module);

    /// Runs `action`, which writes to some of `items` (changing or deleting them) and to the
    /// items it appends to its argument (which did not exist before), and hands `keep` the
    /// changes it made, in the order made. What an action wrote before it raised is kept too; its
    /// exception passes on. Raises the store's ComError, running nothing, when the items cannot
    /// be read before.
    void Record(std::vector<TreeItemRef> items,
                const std::function<void(std::vector<TreeItemRef>&)>& action,
                const std::function<void(std::vector<ChangeMade>)>& keep);

    /// The row version of each item, read after revalidating the session's snapshot (only what
    /// changed since is read); kAbsent for an item that does not exist. Raises the store's
    /// ComError.
    std::vector<int64_t> Versions(const std::vector<TreeItemRef>& items);
    /// The changes that took `items` from the versions `before` (an item past the end of `before`
    /// did not exist) to what they are now, in the order they were made.
    std::vector<ChangeMade> Since(const std::vector<TreeItemRef>& items,
                                  const std::vector<int64_t>& before);

    /// Raises, reading only, the error the editors raise for a stale save (1042 of the group or
    /// the subsystem, with when and by whom the item changed last) when an item is no longer at
    /// its change: someone changed, deleted or created it again since.
    void CheckCurrent(const std::vector<ChangeMade>& changes);

    /// What reverting a step's changes did.
    struct Reverted {
        /// The reverts' own changes, in the order they were made (the step that reverts these).
        std::vector<ChangeMade> done;
        /// The changes not reverted when a revert failed, in the order they were made.
        std::vector<ChangeMade> left;
        /// Why the first of `left` (in reverse order) was not reverted.
        std::optional<ComError> failure;
    };
    /// Reverts `changes` newest first, each through ChangeRevert in a transaction of its own, and
    /// stops at the first that fails. Reverting what it returns in `done` restores them again.
    Reverted Revert(const std::vector<ChangeMade>& changes);

  private:
    ChangeMade Current(const TreeItemRef& item);
    std::optional<ItemChange> LastChange(const TreeItemRef& item);
    [[noreturn]] void RaiseStale(const TreeItemRef& item, bool stillThere);

    std::shared_ptr<ModuleState> module_;
};

}  // namespace quarn::subsysmgr::exchange
