#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class QTreeView;

namespace quarn::designer {

class FunctionalTreeModel;

/// What the user had open in the functional tree: the current item, the expanded groups and
/// subsystems and the scroll position, to open again after the rows were made anew.
struct OpenItems {
    int32_t group = -1;
    int32_t subSystem = 0;
    std::vector<int32_t> groups;
    std::vector<std::pair<int32_t, int32_t>> subSystems;  // group, subsystem
    int scrolled = 0;

    /// What `tree` has open now.
    static OpenItems Of(const QTreeView& tree);
    /// Opens the items again that `model` (the tree's) still shows.
    void Reopen(QTreeView& tree, FunctionalTreeModel& model) const;
};

}  // namespace quarn::designer
