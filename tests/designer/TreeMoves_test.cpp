#include "TreeMoves.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace quarn::designer {
namespace {

using Position = subsysmgr::exchange::TreeActions::Position;

std::vector<int32_t> OrderOf(const Placement& placement) {
    std::vector<int32_t> ids;
    for (const Position& item : placement.order) {
        ids.push_back(item.id);
    }
    return ids;
}

TEST(TreeMoves, GroupsGoBetweenGroupsAndSubsystemsIntoAGroup) {
    EXPECT_TRUE(CanDrop(ItemKind::Group, std::nullopt));
    EXPECT_FALSE(CanDrop(ItemKind::Group, ItemKind::Group));
    EXPECT_TRUE(CanDrop(ItemKind::SubSystem, ItemKind::Group));
    EXPECT_FALSE(CanDrop(ItemKind::SubSystem, std::nullopt));
    EXPECT_FALSE(CanDrop(ItemKind::SubSystem, ItemKind::SubSystem));
    EXPECT_FALSE(CanDrop(ItemKind::BusinessObject, ItemKind::Group));
}

TEST(TreeMoves, DroppedItemsGoBeforeTheItemDroppedOnInTheOrderDragged) {
    // The orders stay as they were: TreeActions::Reindexed gives the new ones.
    const std::vector<Position> siblings{{1, 10}, {2, 20}, {3, 30}, {4, 40}};
    // Down within the parent, two at once, in the order they were dragged.
    const Placement down = Dropped(siblings, {{2, 20}, {1, 10}}, 4);
    EXPECT_EQ(OrderOf(down), (std::vector<int32_t>{3, 2, 1, 4}));
    EXPECT_EQ(down.placed, (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(down.order[1], (Position{2, 20}));
    // At the end for 0 and for an item that is not there (any more).
    EXPECT_EQ(OrderOf(Dropped(siblings, {{1, 10}}, 0)), (std::vector<int32_t>{2, 3, 4, 1}));
    EXPECT_EQ(OrderOf(Dropped(siblings, {{1, 10}}, 99)), (std::vector<int32_t>{2, 3, 4, 1}));
    // From another parent.
    EXPECT_EQ(OrderOf(Dropped(siblings, {{7, 5}}, 2)), (std::vector<int32_t>{1, 7, 2, 3, 4}));
    // Onto one of themselves: nothing moves.
    const Placement onto = Dropped(siblings, {{2, 20}, {3, 30}}, 3);
    EXPECT_TRUE(onto.placed.empty());
    EXPECT_TRUE(Dropped(siblings, {}, 2).placed.empty());
}

TEST(TreeMoves, AStepSwapsTheItemWithItsNeighbourWithinTheParent) {
    const std::vector<Position> siblings{{1, 10}, {2, 20}, {3, 30}};
    const Placement up = Stepped(siblings, 2, -1);
    EXPECT_EQ(OrderOf(up), (std::vector<int32_t>{2, 1, 3}));
    EXPECT_EQ(up.placed, std::vector<int32_t>{2});
    EXPECT_EQ(OrderOf(Stepped(siblings, 2, 1)), (std::vector<int32_t>{1, 3, 2}));
    EXPECT_TRUE(Stepped(siblings, 1, -1).placed.empty());
    EXPECT_TRUE(Stepped(siblings, 3, 1).placed.empty());
    EXPECT_TRUE(Stepped(siblings, 9, 1).placed.empty());
}

}  // namespace
}  // namespace quarn::designer
