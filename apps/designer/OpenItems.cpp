#include "OpenItems.h"

#include <QScrollBar>
#include <QTreeView>

#include "FunctionalTreeModel.h"
#include "TreeSelection.h"

namespace quarn::designer {

OpenItems OpenItems::Of(const QTreeView& tree) {
    OpenItems open{SelectedGroupId(tree),
                   SelectedSubSystemId(tree),
                   {},
                   {},
                   tree.verticalScrollBar()->value()};
    const QAbstractItemModel& model = *tree.model();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex group = model.index(row, 0);
        if (!tree.isExpanded(group)) {
            continue;
        }
        open.groups.push_back(group.data(kIdRole).toInt());
        for (int child = 0; child < model.rowCount(group); ++child) {
            const QModelIndex subSystem = model.index(child, 0, group);
            if (tree.isExpanded(subSystem)) {
                open.subSystems.emplace_back(open.groups.back(), subSystem.data(kIdRole).toInt());
            }
        }
    }
    return open;
}

void OpenItems::Reopen(QTreeView& tree, FunctionalTreeModel& model) const {
    for (const int32_t id : groups) {
        tree.expand(model.GroupIndex(id));
    }
    for (const auto& [groupId, subSystemId] : subSystems) {
        tree.expand(model.SubSystemIndex(groupId, subSystemId));
    }
    const QModelIndex current =
        subSystem != 0 ? model.SubSystemIndex(group, subSystem) : model.GroupIndex(group);
    if (current.isValid()) {
        tree.setCurrentIndex(current);
    }
    tree.verticalScrollBar()->setValue(scrolled);
}

}  // namespace quarn::designer
