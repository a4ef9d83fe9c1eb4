#include "TreeSelection.h"

#include <QItemSelectionModel>
#include <QTreeView>
#include <algorithm>

#include "FunctionalTreeModel.h"

namespace quarn::designer {

int32_t SelectedGroupId(const QTreeView& tree) {
    const QModelIndex current = tree.currentIndex();
    if (!current.isValid()) {
        return -1;
    }
    const auto kind = static_cast<ItemKind>(current.data(kKindRole).toInt());
    return kind == ItemKind::Group || kind == ItemKind::SubSystem
               ? current.data(kGroupIdRole).toInt()
               : -1;
}

int32_t SelectedSubSystemId(const QTreeView& tree) {
    const QModelIndex current = tree.currentIndex();
    if (current.data(kKindRole).toInt() != static_cast<int>(ItemKind::SubSystem)) {
        return 0;
    }
    return current.data(kIdRole).toInt();
}

QModelIndexList SelectedItems(const QTreeView& tree) {
    QModelIndexList items;
    for (const QModelIndex& index : tree.selectionModel()->selectedRows()) {
        const auto kind = static_cast<ItemKind>(index.data(kKindRole).toInt());
        if (kind == ItemKind::Group || kind == ItemKind::SubSystem) {
            items << index;
        }
    }
    std::sort(items.begin(), items.end(), [&tree](const QModelIndex& a, const QModelIndex& b) {
        return tree.visualRect(a).top() < tree.visualRect(b).top();
    });
    return items;
}

QString Labelled(const QModelIndex& index) {
    return index.siblingAtColumn(FunctionalTreeModel::kCodeColumn).data().toString() +
           QStringLiteral("  ") +
           index.siblingAtColumn(FunctionalTreeModel::kNameColumn).data().toString();
}

}  // namespace quarn::designer
