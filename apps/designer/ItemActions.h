#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "TreeMoves.h"
#include "host/IChangeHistory.h"
#include "suite/HostSession.h"

class QTreeView;

namespace quarn::designer {

class FunctionalTreeModel;
class MainWindow;
class UndoSteps;

/// The actions on the items of the window's tree: the editors for a new or changed group or
/// subsystem, deleting, moving (a step up or down, into another group, by dragging) and
/// reverting a logged change. Each writes through the business objects as one undo step; the
/// window then shows the tree as it is now. A refusal is shown in the component's message box,
/// or, for an action on several items, listed in one of the window's.
class ItemActions : public QObject {
    Q_OBJECT

  public:
    /// All of them outlive this object (its parent is `window`).
    ItemActions(suite::HostSession& session, MainWindow& window, QTreeView& tree,
                FunctionalTreeModel& model, UndoSteps& undo);

    void NewGroup();
    void EditGroup();
    void DeleteGroup();
    void NewSubSystem();
    void EditSubSystem();
    void DeleteSubSystem();
    /// Deletes the selected groups and subsystems after one confirmation that lists them, each
    /// in a transaction of its own; says which were refused and why.
    void DeleteSelected();
    /// Moves the current group or subsystem one place up (-1) or down (1) among its siblings.
    void MoveBy(int step);
    /// Moves the current subsystem into a group the user picks, at its end.
    void MoveToGroup();
    /// Puts the dropped items (see FunctionalTreeModel::MoveRequested) in their new place.
    void Drop(int kind, const QList<int>& ids, const QList<int>& fromGroups, int toGroup,
              int beforeId);
    /// Restores `item` to its state before the logged change, after asking; over a later change
    /// only when the user confirms forcing it.
    void RevertChange(int64_t change, const std::optional<TreeItemRef>& item);

  private:
    /// Takes back the whole upgrade `change` belongs to; false, writing nothing, for another
    /// change.
    bool RevertUpgrade(int64_t change);
    /// Deletes the items, each at the version the tree shows, through TreeActions as one undo
    /// step, then says which were refused and why (`labels` names them by kind and identifier).
    void DeleteItems(const std::vector<TreeItemRef>& items, const std::vector<int64_t>& versions,
                     const std::map<std::pair<int, int32_t>, QString>& labels = {});
    /// Writes the new order of one parent's items through TreeActions::Place, the placed
    /// subsystems going into `toGroup`, then shows it with the first placed item selected.
    void Place(ItemKind kind, const Placement& placement, int32_t toGroup);
    /// Shows the tree as it is now, after a write.
    void Reload();

    suite::HostSession& session_;
    MainWindow& window_;
    QTreeView& tree_;
    FunctionalTreeModel& model_;
    UndoSteps& undo_;
};

}  // namespace quarn::designer
