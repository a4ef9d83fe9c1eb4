#pragma once

#include <QModelIndexList>
#include <QString>
#include <cstdint>

class QTreeView;

/// What is chosen in the functional tree (a view of FunctionalTreeModel).
namespace quarn::designer {

/// The current item's group when it is a group or a subsystem; -1 otherwise.
int32_t SelectedGroupId(const QTreeView& tree);
/// The current item when it is a subsystem; 0 otherwise.
int32_t SelectedSubSystemId(const QTreeView& tree);
/// The selected groups and subsystems (column 0, in the tree's order).
QModelIndexList SelectedItems(const QTreeView& tree);
/// "code  name" of a row, as confirmations and results list items.
QString Labelled(const QModelIndex& index);

}  // namespace quarn::designer
