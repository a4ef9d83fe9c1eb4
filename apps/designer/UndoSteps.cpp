#include "UndoSteps.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>
#include <algorithm>
#include <string>

#include "DesignerTexts.h"
#include "ErrorNumberText.h"
#include "host/IDatasInfo.h"
#include "host/IMessageBox.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "runtime/SessionContext.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ModuleState;

namespace {

void ShowError(const ComError& error, const QString& before = {}) {
    subsysmgr::ShowMessage(*ModuleState::Current(), before.toStdString() + ErrorMessage(error),
                           kMessageBoxWarning);
}

}  // namespace

UndoSteps::UndoSteps(QMainWindow* window)
    : QObject(window), window_(window), undo_(new QAction(window)), redo_(new QAction(window)) {
    undo_->setShortcut(QKeySequence::Undo);
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(undo_, &QAction::triggered, this, &UndoSteps::Undo);
    connect(redo_, &QAction::triggered, this, &UndoSteps::Redo);
    Retranslate();
}

QString UndoSteps::Tr(std::string_view text) const {
    return subsysmgr::ToQString(subsysmgr::GetLocalText(*ModuleState::Current(), text));
}

QString UndoSteps::Named(const Name& name) const {
    return Tr(name.text).arg(name.argument);
}

UndoSteps::Name UndoSteps::NameFor(std::string_view group, std::string_view subSystem,
                                   std::string_view several,
                                   const std::vector<TreeItemRef>& items) {
    if (items.size() != 1) {
        return {several, QString::number(items.size())};
    }
    return {items.front().kind == TreeItemRef::Kind::Group ? group : subSystem,
            QString::number(items.front().id)};
}

void UndoSteps::Retranslate() {
    undo_->setEnabled(!done_.empty());
    redo_->setEnabled(!undone_.empty());
    undo_->setText(done_.empty() ? Tr(texts::kUndo)
                                 : Tr(texts::kUndoStep).arg(Named(done_.back().name)));
    redo_->setText(undone_.empty() ? Tr(texts::kRedo)
                                   : Tr(texts::kRedoStep).arg(Named(undone_.back().name)));
}

void UndoSteps::Record(Name name, std::vector<TreeItemRef> items,
                       const std::function<void(Recording&)>& action) {
    const std::vector<int64_t> before = UndoChanges::Versions(items);
    Recording recording{std::move(name), {}};
    const auto push = [&] {
        for (const TreeItemRef& added : recording.added) {
            if (std::find(items.begin(), items.end(), added) == items.end()) {
                items.push_back(added);
            }
        }
        std::vector<ChangeMade> changes = UndoChanges::Since(items, before);
        if (changes.empty()) {
            return;
        }
        const TreeItemRef shown = changes.front().item;
        if (recording.name.argument.isEmpty()) {
            recording.name.argument = QString::number(shown.id);
        }
        done_.push_back({recording.name, std::move(changes), shown});
        undone_.clear();
        Retranslate();
    };
    try {
        action(recording);
    } catch (...) {
        try {
            push();
        } catch (const ComError&) {
            // The action's own failure is the one to report.
        }
        throw;
    }
    push();
}

void UndoSteps::Undo() {
    Apply(done_, undone_, texts::kUndone);
}

void UndoSteps::Redo() {
    Apply(undone_, done_, texts::kRedone);
}

void UndoSteps::Clear() {
    done_.clear();
    undone_.clear();
    Retranslate();
}

void UndoSteps::Apply(std::vector<Step>& from, std::vector<Step>& to, std::string_view doneText) {
    if (from.empty()) {
        return;
    }
    const Step step = from.back();
    UndoChanges::Reverted reverted;
    try {
        UndoChanges::CheckCurrent(step.changes);
        reverted = UndoChanges::Revert(step.changes);
    } catch (const ComError& error) {
        // Refused before writing, or the store failed after a revert: a later try finds the
        // items that changed meanwhile and refuses.
        ShowError(error);
        return;
    }
    from.pop_back();
    if (!reverted.done.empty()) {
        to.push_back({step.name, reverted.done, step.shown});
    }
    if (!reverted.left.empty()) {
        from.push_back({step.name, reverted.left, step.shown});
    }
    Retranslate();
    if (!reverted.done.empty()) {
        ShowItem(step.shown);
    }
    if (!reverted.failure) {
        window_->statusBar()->showMessage(Tr(doneText).arg(Named(step.name)));
        return;
    }
    if (step.changes.size() == 1) {
        ShowError(*reverted.failure);
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
    ShowError(*reverted.failure,
              Tr(texts::kStepPartlyDone).arg(listed(reverted.done), listed(reverted.left)) +
                  QStringLiteral("\n\n"));
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
