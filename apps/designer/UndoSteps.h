#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "exchange/ChangeSteps.h"

class QAction;
class QMainWindow;
class QUndoStack;

namespace quarn::designer {

/// The designer's undo: a QUndoStack whose commands are steps over the change log
/// (exchange::ChangeSteps). Each change made in the designer is one step: the changes it
/// logged, per item. Undo reverts them newest first through ChangeRevert (the business objects
/// with their rules; each revert is logged), redo reverts those reverts. Before writing, an
/// undo or redo checks that every item of the step still holds what the step left there: when
/// someone else changed one since, it is refused with the editors' stale-save message, writes
/// nothing and the step stays. A revert that fails part way says which items were restored and
/// which not; the restored part can be redone, the rest undone again.
///
/// Recording another action as a step (an import, say): name the items it may change or delete
/// and let it name the ones it adds as it runs:
///
///     undoSteps->Record({texts::kStepImport, QString::number(count)}, itemsInTheFile,
///                       [&](UndoSteps::Recording& step) { RunTheImport(); });
class UndoSteps : public QObject {
    Q_OBJECT

  public:
    /// A step's name: a designer text with %1 (see DesignerTexts.h) and what fills it in (the
    /// identifier of the step's first item when empty), shown in the session language at the
    /// time it is shown.
    /// A step's name: `text` with `argument`, or with `count` as a count of items.
    struct Name {
        std::string_view text;
        QString argument{};
        std::optional<qlonglong> count{};
    };
    /// The name of a step on `items`: the group's or the subsystem's text for one item, with
    /// its identifier, `several` with their count for more.
    static Name NameFor(std::string_view group, std::string_view subSystem,
                        std::string_view several, const std::vector<TreeItemRef>& items);
    /// What an action being recorded may tell while it runs.
    struct Recording {
        Name name;
        /// The items it added: they did not exist before it ran.
        std::vector<TreeItemRef> added;
    };

    /// Undo (Ctrl+Z) and redo (Ctrl+Shift+Z, Ctrl+Y) act on `window`, which shows their results
    /// in its status bar.
    explicit UndoSteps(QMainWindow* window);

    QAction* UndoAction() const { return undo_; }
    QAction* RedoAction() const { return redo_; }
    QUndoStack* Stack() const { return stack_; }

    /// Runs `action`, which writes through the business objects to some of `items` (changing or
    /// deleting them) and to the items it names in Recording::added, and pushes what it wrote as
    /// one step, emptying the redo steps; nothing when it wrote nothing. What an action wrote
    /// before it raised is a step too; its exception passes on. Raises the store's ComError,
    /// running nothing, when the items cannot be read before.
    void Record(Name name, std::vector<TreeItemRef> items,
                const std::function<void(Recording&)>& action);

    /// A step written, taken back and written again as a whole by its own functions, not item
    /// by item through the business objects: an upgrade, which only the release store writes.
    /// Each function raises ComError, writing nothing, when it is refused.
    struct WholeStep {
        std::function<void()> undo;
        std::function<void()> redo;
    };
    /// Pushes a whole step already written, about `shown`, emptying the redo steps.
    void PushWhole(Name name, TreeItemRef shown, WholeStep step);

    /// Undoes or redoes the last step; a refusal or failure is shown in the component's message
    /// box.
    void Undo();
    void Redo();
    /// Forgets every step (another database was opened).
    void Clear();
    /// Offers undo and redo only while the window has a database (`enabled`); the steps stay.
    void Enable(bool enabled);
    /// The actions' texts name their steps in the session language.
    void Retranslate();

  signals:
    /// An undo or redo wrote: the window shows the tree with the step's first item selected
    /// (subSystemId 0 for a group; groupId -1 for a subsystem that is gone).
    void Applied(int groupId, int subSystemId);

  private:
    struct Step {
        Name name;
        std::vector<subsysmgr::exchange::ChangeMade> changes;  // in the order made
        TreeItemRef shown;                                     // the item the action was about
        std::shared_ptr<WholeStep> whole;                      // instead of `changes`
    };
    class StepCommand;

    /// Reverts the changes of `command`'s step, which then holds the reverts. Returns the changes
    /// it could not revert when it stopped part way; raises when it wrote nothing.
    std::vector<subsysmgr::exchange::ChangeMade> Apply(StepCommand& command, bool undo);
    /// Undoes or redoes the next step through the stack, keeping a refused step in its place
    /// and splitting one that stopped part way.
    void Move(bool undo);
    /// Puts `step` beside the stack's index (on the undo side, or on the redo side) and moves the
    /// steps above the index after it: QUndoStack itself only appends.
    void Insert(Step step, bool undoSide);
    void Push(Step step);
    const Step* StepAt(int index) const;
    void ShowItem(const TreeItemRef& item);
    void ShowFailure(const ComError& error, const Step& step,
                     const std::vector<subsysmgr::exchange::ChangeMade>& done,
                     const std::vector<subsysmgr::exchange::ChangeMade>& left);
    QString Named(const Name& name) const;

    QMainWindow* window_;
    QUndoStack* stack_;
    QAction* undo_;
    QAction* redo_;
    bool enabled_ = true;
};

}  // namespace quarn::designer
