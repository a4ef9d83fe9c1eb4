#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "TreeRows.h"
#include "exchange/TreeActions.h"

namespace quarn::designer {

/// Whether items of the kind `dragged` may be dropped onto an item of the kind `target` (none:
/// onto the tree itself, between its groups): groups go between groups, subsystems into a group.
bool CanDrop(ItemKind dragged, std::optional<ItemKind> target);

/// One parent's items in a new order, and the items that were put in their place (the first of
/// them is the one to show).
struct Placement {
    std::vector<subsysmgr::exchange::TreeActions::Position> order;
    std::vector<int32_t> placed;
};

/// The order of a parent's items (`siblings`, in display order) once `moved` (in the order they
/// were dragged, from this parent or another) are put before the item `beforeId`, or at the end
/// for 0 or an item that is not there. Nothing is placed when they are dropped onto one of
/// themselves.
Placement Dropped(std::vector<subsysmgr::exchange::TreeActions::Position> siblings,
                  const std::vector<subsysmgr::exchange::TreeActions::Position>& moved,
                  int32_t beforeId);

/// The order of a parent's items once the item `id` has moved `step` places (-1: one up, 1: one
/// down). Nothing is placed when it is not there or cannot go that far.
Placement Stepped(std::vector<subsysmgr::exchange::TreeActions::Position> siblings, int32_t id,
                  int step);

}  // namespace quarn::designer
