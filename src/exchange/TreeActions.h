#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "exchange/ExchangeText.h"
#include "foundation/ComError.h"
#include "host/IChangeHistory.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// What became of one item of an action on several: done, or refused with the reason.
struct ItemOutcome {
    TreeItemRef item;
    bool done = false;
    /// The message the objects showed, or else the error's description.
    std::string refusal;
    /// The error the item was refused with, whose number a person looks up.
    std::optional<ComError> error;
};

/// The actions on the tree that both programs offer: delete, move and reorder, each through the
/// business objects and the editors' input objects, as the editors write. They refuse alike
/// wherever they are called from: a rule with its numbered error, an item someone else changed
/// since it was read with 1042 (when and by whom), one someone else deleted with 2303/2304, a
/// deletion the objects refused with 2308/2309 after the message that says why.
class TreeActions {
  public:
    TreeActions(std::shared_ptr<ModuleState> module, const ExchangeText& text);

    /// Deletes a group (which must have no subsystems) or a subsystem in a transaction of its
    /// own; the objects' message on a refusal goes to the session's message box. With the
    /// version the user saw the item at, a change made since is refused and kept.
    void Delete(const TreeItemRef& item, std::optional<int64_t> seenVersion = std::nullopt);
    /// Deletes each item in a transaction of its own, subsystems before groups (so a group that
    /// the same action empties can go too), each at its version in `seenVersions` when given. A
    /// refusal's reason is the message the objects would have shown, or the error; nothing is
    /// shown.
    std::vector<ItemOutcome> Delete(const std::vector<TreeItemRef>& items,
                                    const std::vector<int64_t>& seenVersions = {});

    /// An item's place among the items of its parent.
    struct Position {
        int32_t id = 0;
        int32_t index = 0;
        bool operator==(const Position&) const = default;
    };
    /// The display orders that put `wanted` (one parent's items) in that order: an item keeps
    /// its order unless it is `placed` or no longer fits after the one before it; then it takes
    /// the least order that does (orders run by display order, then identifier).
    static std::vector<Position> Reindexed(std::vector<Position> wanted,
                                           const std::set<int32_t>& placed);
    /// Gives the items of one parent, groups or subsystems, the order of `wanted`, the `placed`
    /// subsystems moving into group `toGroup` as the subsystem editor moves them. Only the items
    /// whose display order or group changes are written, each in a transaction of its own, the
    /// placed ones first; every write is checked before the first one, so a refusal of the rules
    /// raises ComError with nothing written. A refusal of the database while writing raises too,
    /// with the items before it written.
    void Place(TreeItemRef::Kind kind, const std::vector<Position>& wanted,
               const std::set<int32_t>& placed, int32_t toGroup);

  private:
    std::shared_ptr<ModuleState> module_;
    const ExchangeText& text_;
};

}  // namespace quarn::subsysmgr::exchange
