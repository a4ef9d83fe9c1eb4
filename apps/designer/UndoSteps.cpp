#include "UndoSteps.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>
#include <QUndoCommand>
#include <QUndoStack>
#include <string>
#include <utility>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "host/IDatasInfo.h"
#include "runtime/ErrorMessage.h"
#include "runtime/SessionContext.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ModuleState;
using subsysmgr::exchange::ChangeMade;
using subsysmgr::exchange::ChangeSteps;

namespace {

void ShowError(const ComError& error, const QString& before = {}) {
    subsysmgr::ShowError(*ModuleState::Current(), error, before.toStdString());
}

}  // namespace

/// A step on the stack. Its undo and redo revert the step's changes, which then become the
/// reverts, and tell the window how it went. The stack hands out its commands const: the flags
/// steer only what the next call of the stack does.
class UndoSteps::StepCommand : public QUndoCommand {
  public:
    StepCommand(UndoSteps& owner, Step made) : step(std::move(made)), owner_(owner) {}

    void undo() override { Run(true); }
    void redo() override { Run(false); }

    Step step;
    /// The next undo or redo only moves the stack's index: the step was written already, or is
    /// put back in its place.
    mutable bool skip = false;
    /// The last undo or redo wrote nothing.
    bool refused = false;
    /// What the last undo or redo could not revert when it stopped part way.
    std::vector<ChangeMade> left;

  private:
    void Run(bool undo) {
        refused = false;
        left.clear();
        if (std::exchange(skip, false)) {
            return;
        }
        try {
            left = owner_.Apply(*this, undo);
        } catch (const ComError&) {
            refused = true;
        }
    }

    UndoSteps& owner_;
};

UndoSteps::UndoSteps(QMainWindow* window)
    : QObject(window),
      window_(window),
      stack_(new QUndoStack(this)),
      undo_(new QAction(window)),
      redo_(new QAction(window)) {
    // Our own actions rather than the stack's: their texts follow the session language when it
    // changes, and a refused step must stay where it is, which needs a word after the stack's.
    undo_->setShortcut(QKeySequence::Undo);
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(undo_, &QAction::triggered, this, &UndoSteps::Undo);
    connect(redo_, &QAction::triggered, this, &UndoSteps::Redo);
    connect(stack_, &QUndoStack::indexChanged, this, &UndoSteps::Retranslate);
    Retranslate();
}

QString UndoSteps::Named(const Name& name) const {
    return name.count ? Counted(name.text, *name.count) : Tr(name.text).arg(name.argument);
}

UndoSteps::Name UndoSteps::NameFor(std::string_view group, std::string_view subSystem,
                                   std::string_view several,
                                   const std::vector<TreeItemRef>& items) {
    if (items.size() != 1) {
        return {several, {}, static_cast<qlonglong>(items.size())};
    }
    return {items.front().kind == TreeItemRef::Kind::Group ? group : subSystem,
            QString::number(items.front().id)};
}

const UndoSteps::Step* UndoSteps::StepAt(int index) const {
    if (index < 0 || index >= stack_->count()) {
        return nullptr;
    }
    return &static_cast<const StepCommand*>(stack_->command(index))->step;
}

void UndoSteps::Retranslate() {
    const Step* undone = StepAt(stack_->index() - 1);
    const Step* redone = StepAt(stack_->index());
    undo_->setEnabled(enabled_ && undone != nullptr);
    redo_->setEnabled(enabled_ && redone != nullptr);
    undo_->setText(undone ? Tr(texts::kUndoStep).arg(Named(undone->name)) : Tr(texts::kUndo));
    redo_->setText(redone ? Tr(texts::kRedoStep).arg(Named(redone->name)) : Tr(texts::kRedo));
}

void UndoSteps::Record(Name name, std::vector<TreeItemRef> items,
                       const std::function<void(Recording&)>& action) {
    Recording recording{std::move(name), {}};
    ChangeSteps(ModuleState::Current())
        .Record(
            std::move(items),
            [&](std::vector<TreeItemRef>& added) {
                try {
                    action(recording);
                } catch (...) {
                    added = recording.added;
                    throw;
                }
                added = recording.added;
            },
            [&](std::vector<ChangeMade> changes) {
                if (changes.empty()) {
                    return;
                }
                const TreeItemRef shown = changes.front().item;
                if (recording.name.argument.isEmpty()) {
                    recording.name.argument = QString::number(shown.id);
                }
                Push({recording.name, std::move(changes), shown, nullptr});
            });
}

void UndoSteps::PushWhole(Name name, TreeItemRef shown, WholeStep step) {
    Push({std::move(name), {}, shown, std::make_shared<WholeStep>(std::move(step))});
}

void UndoSteps::Push(Step step) {
    auto* command = new StepCommand(*this, std::move(step));
    command->skip = true;
    stack_->push(command);
}

void UndoSteps::Undo() {
    Move(true);
}

void UndoSteps::Redo() {
    Move(false);
}

void UndoSteps::Clear() {
    stack_->clear();
    Retranslate();
}

void UndoSteps::Enable(bool enabled) {
    enabled_ = enabled;
    Retranslate();
}

void UndoSteps::Move(bool undo) {
    if (undo ? !stack_->canUndo() : !stack_->canRedo()) {
        return;
    }
    undo ? stack_->undo() : stack_->redo();
    const auto* command = static_cast<const StepCommand*>(
        stack_->command(undo ? stack_->index() : stack_->index() - 1));
    if (command->refused) {
        command->skip = true;
        undo ? stack_->redo() : stack_->undo();
    } else if (!command->left.empty()) {
        Insert({command->step.name, command->left, command->step.shown, nullptr}, undo);
    }
}

void UndoSteps::Insert(Step step, bool undoSide) {
    std::vector<Step> above;
    for (int k = stack_->index(); k < stack_->count(); ++k) {
        above.push_back(*StepAt(k));
    }
    if (undoSide) {
        Push(std::move(step));
    } else {
        above.insert(above.begin(), std::move(step));
    }
    for (Step& again : above) {
        Push(std::move(again));
    }
    for (std::size_t k = 0; k < above.size(); ++k) {
        static_cast<const StepCommand*>(stack_->command(stack_->index() - 1))->skip = true;
        stack_->undo();
    }
}

std::vector<ChangeMade> UndoSteps::Apply(StepCommand& command, bool undo) {
    Step& step = command.step;
    const std::string_view doneText = undo ? texts::kUndone : texts::kRedone;
    if (step.whole) {
        try {
            undo ? step.whole->undo() : step.whole->redo();
        } catch (const ComError& error) {
            ShowError(error);
            throw;
        }
        ShowItem(step.shown);
        window_->statusBar()->showMessage(Tr(doneText).arg(Named(step.name)));
        return {};
    }
    ChangeSteps::Reverted reverted;
    try {
        ChangeSteps steps(ModuleState::Current());
        steps.CheckCurrent(step.changes);
        reverted = steps.Revert(step.changes);
    } catch (const ComError& error) {
        // Refused before writing, or the store failed after a revert: a later try finds the
        // items that changed meanwhile and refuses.
        ShowError(error);
        throw;
    }
    if (reverted.done.empty()) {
        ShowFailure(*reverted.failure, step, reverted.done, reverted.left);
        throw *reverted.failure;
    }
    ShowItem(step.shown);
    if (reverted.failure) {
        ShowFailure(*reverted.failure, step, reverted.done, reverted.left);
    } else {
        window_->statusBar()->showMessage(Tr(doneText).arg(Named(step.name)));
    }
    step.changes = std::move(reverted.done);
    return std::move(reverted.left);
}

void UndoSteps::ShowFailure(const ComError& error, const Step& step,
                            const std::vector<ChangeMade>& done,
                            const std::vector<ChangeMade>& left) {
    if (step.changes.size() == 1) {
        ShowError(error);
        return;
    }
    const auto listed = [this](const std::vector<ChangeMade>& changes) {
        QStringList items;
        for (const ChangeMade& made : changes) {
            items << Tr(made.item.kind == TreeItemRef::Kind::Group ? texts::kItemGroup
                                                                   : texts::kItemSubSystem)
                         .arg(made.item.id);
        }
        return items.isEmpty() ? Tr(texts::kNoItems) : items.join(Tr(texts::kItemSeparator));
    };
    ShowError(error, Tr(texts::kStepPartlyDone).arg(listed(done), listed(left)));
}

void UndoSteps::ShowItem(const TreeItemRef& item) {
    if (item.kind == TreeItemRef::Kind::Group) {
        emit Applied(item.id, 0);
        return;
    }
    DictionaryPtr row;
    try {
        if (subsysmgr::GetDataFlowInfo(*ModuleState::Current()).GetSubSystemInfo(item.id, row)) {
            emit Applied(row->Item("FTopClassID").ToInt32(), item.id);
            return;
        }
    } catch (const ComError&) {
        // The refresh that follows reports the store's failure.
    }
    emit Applied(-1, 0);
}

}  // namespace quarn::designer
