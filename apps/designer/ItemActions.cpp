#include "ItemActions.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QStatusBar>
#include <QTreeView>
#include <algorithm>
#include <set>

#include "DesignerTexts.h"
#include "FunctionalTreeModel.h"
#include "Guarded.h"
#include "MainWindow.h"
#include "SessionText.h"
#include "TreeSelection.h"
#include "UndoSteps.h"
#include "exchange/ExchangeText.h"
#include "exchange/TreeActions.h"
#include "host/IMessageBox.h"
#include "host/IReleaseStore.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/ModelErrors.h"
#include "runtime/ErrorMessage.h"
#include "runtime/MessageBox.h"
#include "ui/SubSysGroupMgrUI.h"
#include "ui/SubSystemMgrUI.h"

namespace quarn::designer {

using subsysmgr::ModuleState;
using subsysmgr::ToQString;
namespace exchange = subsysmgr::exchange;
using Position = exchange::TreeActions::Position;

namespace {

// Asks before a deletion, a revert or an overwrite. No is the default, so that Enter, pressed
// before the question was read, keeps the data.
bool ConfirmDestructive(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, Tr(texts::kWindowTitle), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

// A confirmation names this many items; the rest are counted.
constexpr int kListedItems = 20;

template <class Item>
std::vector<Position> PositionsOf(const std::vector<Item>& items) {
    std::vector<Position> positions;
    positions.reserve(items.size());
    for (const Item& item : items) {
        positions.push_back({item.id, item.index});
    }
    return positions;
}

TreeItemRef::Kind RefKind(ItemKind kind) {
    return kind == ItemKind::Group ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem;
}

// A refused item's reason followed by the error's number, on one line of a list.
QString RefusalLine(const exchange::ItemOutcome& outcome) {
    const QString reason = ToQString(outcome.refusal);
    return outcome.error
               ? reason + QStringLiteral(" (%1)").arg(ToQString(
                              subsysmgr::ErrorNumberText(*ModuleState::Current(), *outcome.error)))
               : reason;
}

// A refused item's reason in a message box of its own, numbered as an error box is.
void ShowRefusal(const exchange::ItemOutcome& outcome) {
    auto& module = *ModuleState::Current();
    if (!outcome.error) {
        subsysmgr::ShowMessage(module, outcome.refusal, kMessageBoxWarning);
        return;
    }
    subsysmgr::ShowError(
        module, ComError(outcome.error->Number(), outcome.error->Source(), outcome.refusal));
}

}  // namespace

ItemActions::ItemActions(suite::HostSession& session, MainWindow& window, QTreeView& tree,
                         FunctionalTreeModel& model, UndoSteps& undo)
    : QObject(&window),
      session_(session),
      window_(window),
      tree_(tree),
      model_(model),
      undo_(undo) {}

void ItemActions::Reload() {
    window_.Reload();
}

void ItemActions::NewGroup() {
    if (Guarded([this] {
            // Only the group this editor saved is the step's: another user's group added
            // meanwhile must not go with an undo.
            undo_.Record({texts::kStepNewGroup, {}}, {}, [this](UndoSteps::Recording& step) {
                subsysmgr::SubSysGroupMgrUI editor;
                editor.Show(1, 0, false, &window_);
                if (const auto& added = editor.AddedGroup()) {
                    step.added.push_back({TreeItemRef::Kind::Group, added->Id()});
                }
            });
        })) {
        Reload();
    }
}

void ItemActions::EditGroup() {
    const int32_t id = SelectedGroupId(tree_);
    if (id >= 0 && Guarded([this, id] {
            undo_.Record({texts::kStepEditGroup, QString::number(id)},
                         {{TreeItemRef::Kind::Group, id}}, [&](UndoSteps::Recording&) {
                             subsysmgr::SubSysGroupMgrUI().Show(2, id, false, &window_);
                         });
        })) {
        Reload();
    }
}

void ItemActions::NewSubSystem() {
    const int32_t groupId = SelectedGroupId(tree_);
    if (Guarded([this, groupId] {
            undo_.Record({texts::kStepNewSubSystem, {}}, {}, [&](UndoSteps::Recording& step) {
                const subsysmgr::SubSystemPtr added =
                    subsysmgr::SubSystemMgrUI().Show(1, groupId, 0, false, &window_);
                if (added && added->Version() != 0) {  // saved
                    step.added.push_back({TreeItemRef::Kind::SubSystem, added->Id()});
                }
            });
        })) {
        Reload();
    }
}

void ItemActions::EditSubSystem() {
    const int32_t groupId = SelectedGroupId(tree_);
    const int32_t id = SelectedSubSystemId(tree_);
    if (id != 0 && Guarded([this, groupId, id] {
            undo_.Record({texts::kStepEditSubSystem, QString::number(id)},
                         {{TreeItemRef::Kind::SubSystem, id}}, [&](UndoSteps::Recording&) {
                             subsysmgr::SubSystemMgrUI().Show(2, groupId, id, false, &window_);
                         });
        })) {
        Reload();
    }
}

void ItemActions::DeleteGroup() {
    if (SelectedItems(tree_).size() > 1) {
        DeleteSelected();
        return;
    }
    const int32_t id = SelectedGroupId(tree_);
    if (id >= 0 && ConfirmDestructive(&window_, Tr(texts::kConfirmDeleteGroup).arg(id))) {
        DeleteItems({{TreeItemRef::Kind::Group, id}},
                    {model_.ShownVersion(ItemKind::Group, id, id)});
    }
}

void ItemActions::DeleteSubSystem() {
    if (SelectedItems(tree_).size() > 1) {
        DeleteSelected();
        return;
    }
    const int32_t groupId = SelectedGroupId(tree_);
    const int32_t id = SelectedSubSystemId(tree_);
    if (id != 0 && ConfirmDestructive(&window_, Tr(texts::kConfirmDeleteSubSystem).arg(id))) {
        DeleteItems({{TreeItemRef::Kind::SubSystem, id}},
                    {model_.ShownVersion(ItemKind::SubSystem, id, groupId)});
    }
}

void ItemActions::DeleteSelected() {
    const QModelIndexList selected = SelectedItems(tree_);
    if (selected.isEmpty()) {
        return;
    }
    std::vector<TreeItemRef> items;
    std::vector<int64_t> versions;
    std::map<std::pair<int, int32_t>, QString> labels;
    QStringList listed;
    for (const QModelIndex& index : selected) {
        const auto kind = static_cast<ItemKind>(index.data(kKindRole).toInt());
        const TreeItemRef item{RefKind(kind), index.data(kIdRole).toInt()};
        items.push_back(item);
        versions.push_back(model_.ShownVersion(kind, item.id, index.data(kGroupIdRole).toInt()));
        labels[{static_cast<int>(item.kind), item.id}] = Labelled(index);
        if (listed.size() < kListedItems) {
            listed << Labelled(index);
        }
    }
    if (items.size() > static_cast<std::size_t>(kListedItems)) {
        listed << QStringLiteral("... (+%1)").arg(items.size() - kListedItems);
    }
    if (ConfirmDestructive(
            &window_, Counted(texts::kConfirmDeleteItems, static_cast<qlonglong>(items.size())) +
                          QStringLiteral("\n\n") + listed.join(u'\n'))) {
        DeleteItems(items, versions, labels);
    }
}

void ItemActions::DeleteItems(const std::vector<TreeItemRef>& items,
                              const std::vector<int64_t>& versions,
                              const std::map<std::pair<int, int32_t>, QString>& labels) {
    std::vector<exchange::ItemOutcome> outcomes;
    Guarded([&] {
        undo_.Record(
            UndoSteps::NameFor(texts::kStepDeleteGroup, texts::kStepDeleteSubSystem,
                               texts::kStepDeleteItems, items),
            items, [&](UndoSteps::Recording&) {
                const exchange::ExchangeText text(session_.Registry(), session_.Language());
                outcomes =
                    exchange::TreeActions(ModuleState::Current(), text).Delete(items, versions);
            });
    });
    Reload();
    QStringList refused;
    for (const exchange::ItemOutcome& outcome : outcomes) {
        if (outcome.done) {
            continue;
        }
        const QString reason = RefusalLine(outcome);
        const auto label = labels.find({static_cast<int>(outcome.item.kind), outcome.item.id});
        refused << (label == labels.end() ? reason : label->second + QStringLiteral(": ") + reason);
    }
    if (items.size() == 1) {
        // One item: its refusal as the objects would have shown it.
        window_.statusBar()->showMessage(
            Tr(refused.isEmpty() ? texts::kDeleted : texts::kNotSaved));
        if (!refused.isEmpty()) {
            ShowRefusal(outcomes.front());
        }
        return;
    }
    const auto deleted = static_cast<qsizetype>(outcomes.size()) - refused.size();
    window_.statusBar()->showMessage(Counted(texts::kDeletedItems, static_cast<qlonglong>(deleted))
                                         .arg(CountText(static_cast<qlonglong>(refused.size()))));
    if (!refused.isEmpty()) {
        QMessageBox::warning(
            &window_, Tr(texts::kWindowTitle),
            Tr(texts::kNotDeletedItems) + QStringLiteral("\n\n") + refused.join(u'\n'));
    }
}

void ItemActions::MoveBy(int step) {
    const QModelIndex current = tree_.currentIndex();
    const auto kind = static_cast<ItemKind>(current.data(kKindRole).toInt());
    if (kind != ItemKind::Group && kind != ItemKind::SubSystem) {
        return;
    }
    const int32_t groupId = current.data(kGroupIdRole).toInt();
    Place(kind,
          Stepped(kind == ItemKind::Group ? PositionsOf(model_.Groups())
                                          : PositionsOf(model_.SubSystemsOf(groupId)),
                  current.data(kIdRole).toInt(), step),
          groupId);
}

void ItemActions::MoveToGroup() {
    const int32_t id = SelectedSubSystemId(tree_);
    const int32_t from = SelectedGroupId(tree_);
    if (id == 0) {
        return;
    }
    QStringList choices;
    std::vector<int32_t> groups;
    for (const exchange::GroupItem& group : model_.Groups()) {
        if (group.id != from) {
            choices << QString::number(group.id) + QStringLiteral("  ") +
                           model_.NameOf(group.names);
            groups.push_back(group.id);
        }
    }
    bool chosen = false;
    const QString choice =
        QInputDialog::getItem(&window_, Tr(texts::kWindowTitle),
                              Tr(texts::kMoveToGroupPrompt).arg(id), choices, 0, false, &chosen);
    if (!chosen || !choices.contains(choice)) {
        return;
    }
    Drop(static_cast<int>(ItemKind::SubSystem), {id}, {from},
         groups[static_cast<std::size_t>(choices.indexOf(choice))], 0);
}

void ItemActions::Drop(int kind, const QList<int>& ids, const QList<int>& fromGroups, int toGroup,
                       int beforeId) {
    const bool groups = kind == static_cast<int>(ItemKind::Group);
    // The items of each parent involved, read once: groups have the tree as their one parent.
    std::map<int32_t, std::vector<Position>> parents;
    const auto siblings = [&](int32_t groupId) -> const std::vector<Position>& {
        auto found = parents.find(groups ? 0 : groupId);
        if (found == parents.end()) {
            found = parents
                        .emplace(groups ? 0 : groupId,
                                 groups ? PositionsOf(model_.Groups())
                                        : PositionsOf(model_.SubSystemsOf(groupId)))
                        .first;
        }
        return found->second;
    };
    std::vector<Position> moved;
    for (qsizetype n = 0; n < ids.size(); ++n) {
        const std::vector<Position>& source = siblings(fromGroups[n]);
        const auto found = std::find_if(source.begin(), source.end(),
                                        [&](const Position& item) { return item.id == ids[n]; });
        if (found != source.end()) {
            moved.push_back(*found);
        }
    }
    Place(static_cast<ItemKind>(kind), Dropped(siblings(toGroup), moved, beforeId), toGroup);
}

void ItemActions::Place(ItemKind kind, const Placement& placement, int32_t toGroup) {
    if (placement.placed.empty()) {
        return;
    }
    std::vector<TreeItemRef> written;  // the items Place may write
    for (const Position& item : placement.order) {
        written.push_back({RefKind(kind), item.id});
    }
    std::vector<TreeItemRef> moving;
    for (const int32_t id : placement.placed) {
        moving.push_back({RefKind(kind), id});
    }
    const bool moved = Guarded([&] {
        undo_.Record(
            UndoSteps::NameFor(texts::kStepMoveGroup, texts::kStepMoveSubSystem,
                               texts::kStepMoveItems, moving),
            written, [&](UndoSteps::Recording&) {
                const exchange::ExchangeText text(session_.Registry(), session_.Language());
                exchange::TreeActions(ModuleState::Current(), text)
                    .Place(RefKind(kind), placement.order,
                           std::set<int32_t>(placement.placed.begin(), placement.placed.end()),
                           toGroup);
            });
    });
    Reload();
    if (!moved) {
        return;
    }
    const QModelIndex first = kind == ItemKind::Group
                                  ? model_.GroupIndex(placement.placed.front())
                                  : model_.SubSystemIndex(toGroup, placement.placed.front());
    if (first.isValid()) {
        tree_.expand(first.parent());
        tree_.setCurrentIndex(first);
        tree_.scrollTo(first);
    }
    window_.statusBar()->showMessage(Tr(texts::kMoved));
}

void ItemActions::RevertChange(int64_t change, const std::optional<TreeItemRef>& item) {
    if (!ConfirmDestructive(&window_, Tr(texts::kConfirmRevert).arg(change))) {
        return;
    }
    if (RevertUpgrade(change)) {
        return;
    }
    const auto revert = [&](bool force) {
        undo_.Record(
            {texts::kStepRevert, QString::number(change)},
            item ? std::vector{*item} : std::vector<TreeItemRef>{},
            [&](UndoSteps::Recording&) { subsysmgr::ChangeRevert().Revert(change, force, item); });
    };
    bool reverted = false;
    try {
        revert(false);
        reverted = true;
    } catch (const ComError& error) {
        if (error.Offset() != subsysmgr::errors::kRevertOverLaterChange.offset) {
            Guarded([&] { throw error; });
        } else if (ConfirmDestructive(
                       &window_,
                       ToQString(subsysmgr::ErrorMessage(*ModuleState::Current(), error)) +
                           QStringLiteral("\n\n") + Tr(texts::kForceRevert))) {
            reverted = Guarded([&] { revert(true); });
        }
    }
    Reload();
    if (reverted) {
        window_.statusBar()->showMessage(Tr(texts::kReverted).arg(change));
    }
}

bool ItemActions::RevertUpgrade(int64_t change) {
    // An upgrade is taken back as a whole by the one writer of delivered rows, not item by item
    // through the business objects. It is no undo step: only the upgrade itself can write it
    // again.
    const auto store = session_.Registry().Create<IReleaseStore>(progid::kReleaseStore);
    std::optional<ReleaseChange> upgrade;
    if (!Guarded([&] { upgrade = store->UpgradeOf(change); }) || !upgrade) {
        return false;
    }
    const bool reverted = Guarded([&] {
        store->RevertUpgrade(change, false, subsysmgr::ChangeRevert::Note(upgrade->change, false));
    });
    Reload();
    if (reverted) {
        window_.statusBar()->showMessage(Tr(texts::kReverted).arg(change));
    }
    return true;
}

}  // namespace quarn::designer
