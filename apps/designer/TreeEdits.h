#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "FunctionalTreeModel.h"
#include "host/IChangeHistory.h"

namespace quarn::designer {

/// What became of one item of an action on several: done, or refused with the reason.
struct ItemOutcome {
    TreeItemRef item;
    bool done = false;
    std::string refusal;
};

/// The writes of the tree's actions, each through the business objects and their rules, as the
/// editors make them.
namespace TreeEdits {

/// Deletes each item in a transaction of its own, subsystems before groups (so a group that the
/// same action empties can go too). A refusal's reason is the message the objects would have
/// shown, or the error they raised; nothing is shown.
std::vector<ItemOutcome> Delete(const std::vector<TreeItemRef>& items);

/// The display orders that put `wanted` (one parent's items) in that order: an item keeps its
/// order unless it is `placed` or no longer fits after the one before it; then it takes the
/// least order that does (orders run by FIndex, then identifier).
std::vector<TreeEntry> Reindexed(std::vector<TreeEntry> wanted, const std::set<int32_t>& placed);

/// Gives the items of one parent the order of `wanted`, groups (kind Group) or subsystems, the
/// `placed` subsystems moving into group `toGroup` as the subsystem editor moves them. Only the
/// items whose display order or group changes are written, each in a transaction of its own,
/// the placed ones first; every write is checked before the first one, so a refusal of the
/// rules raises ComError (the rule's numbered message) with nothing written. A refusal of the
/// database while writing raises too, with the items before it written.
void Place(ItemKind kind, const std::vector<TreeEntry>& wanted, const std::set<int32_t>& placed,
           int32_t toGroup);

}  // namespace TreeEdits

}  // namespace quarn::designer
