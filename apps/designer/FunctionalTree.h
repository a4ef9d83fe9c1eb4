#pragma once

#include <QTreeWidget>
#include <functional>
#include <set>
#include <string>

namespace quarn::designer {

/// What a tree item stands for; kept in the item's data.
enum class ItemKind { Group = 1, SubSystem = 2, BusinessObjects = 3, BusinessObject = 4 };

inline constexpr int kKindRole = Qt::UserRole;
inline constexpr int kIdRole = Qt::UserRole + 1;
inline constexpr int kGroupIdRole = Qt::UserRole + 2;

struct TreeCounts {
    int groups = 0;
    int subSystems = 0;
};

/// Fills the tree with the groups in display order and their subsystems by index, read through
/// the business objects. `progress` is told how many groups are done out of how many; it returns
/// false to stop. Raises ComError when the groups cannot be read.
TreeCounts FillFunctionalTree(QTreeWidget& tree,
                              const std::function<bool(int done, int total)>& progress);

/// The groups and subsystems shown expanded, to open again after the tree was filled anew.
struct ExpandedItems {
    std::set<int32_t> groups;
    std::set<int32_t> subSystems;
};
ExpandedItems ExpandedItemsOf(const QTreeWidget& tree);
/// Expands those of `items` that the tree still holds.
void Expand(QTreeWidget& tree, const ExpandedItems& items);

/// Adds the business objects of a subsystem item under it, by kind, the first time it is
/// expanded. Raises ComError when a listing fails.
void ExpandBusinessObjects(QTreeWidgetItem& subSystemItem);

}  // namespace quarn::designer
