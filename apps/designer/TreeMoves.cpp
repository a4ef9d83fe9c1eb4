#include "TreeMoves.h"

#include <algorithm>
#include <cstddef>

namespace quarn::designer {

using Position = subsysmgr::exchange::TreeActions::Position;

bool CanDrop(ItemKind dragged, std::optional<ItemKind> target) {
    if (dragged == ItemKind::Group) {
        return !target;
    }
    return dragged == ItemKind::SubSystem && target == ItemKind::Group;
}

Placement Dropped(std::vector<Position> siblings, const std::vector<Position>& moved,
                  int32_t beforeId) {
    const auto isMoved = [&moved](const Position& item) {
        return std::any_of(moved.begin(), moved.end(),
                           [&item](const Position& each) { return each.id == item.id; });
    };
    if (std::any_of(moved.begin(), moved.end(),
                    [beforeId](const Position& item) { return item.id == beforeId; })) {
        return {};
    }
    std::erase_if(siblings, isMoved);
    const auto before =
        std::find_if(siblings.begin(), siblings.end(),
                     [beforeId](const Position& item) { return item.id == beforeId; });
    siblings.insert(before, moved.begin(), moved.end());
    Placement placement{std::move(siblings), {}};
    for (const Position& item : moved) {
        placement.placed.push_back(item.id);
    }
    return placement;
}

Placement Stepped(std::vector<Position> siblings, int32_t id, int step) {
    const auto at = std::find_if(siblings.begin(), siblings.end(),
                                 [id](const Position& item) { return item.id == id; });
    const auto position = at - siblings.begin();
    if (at == siblings.end() || position + step < 0 ||
        position + step >= static_cast<std::ptrdiff_t>(siblings.size())) {
        return {};
    }
    std::swap(siblings[static_cast<std::size_t>(position)],
              siblings[static_cast<std::size_t>(position + step)]);
    return {std::move(siblings), {id}};
}

}  // namespace quarn::designer
