#include "exchange/TreeActions.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <utility>

#include "exchange/ExchangeErrors.h"
#include "exchange/GroupWriter.h"
#include "exchange/MessageCollector.h"
#include "exchange/SubSystemWriter.h"
#include "host/IDatasInfo.h"
#include "model/GroupInput.h"
#include "model/SubSysGroup.h"
#include "model/SubSystemInput.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::exchange {

namespace {

// One write of Place, checked before any is made.
struct PlannedWrite {
    std::unique_ptr<EditorInput> input;
    bool placed = false;
};

PlannedWrite PlanGroup(const std::shared_ptr<ModuleState>& module,
                       const TreeActions::Position& item, bool placed) {
    // A group deleted meanwhile is refused by its save as changed elsewhere.
    auto group = std::make_shared<SubSysGroup>(module);
    group->initial(item.id);
    auto input = std::make_unique<GroupInput>(module, kStatusEdit);
    input->Load(std::move(group));
    input->index = item.index;
    return {std::move(input), placed};
}

// Nothing when the subsystem keeps its order and its group.
std::optional<PlannedWrite> PlanSubSystem(const std::shared_ptr<ModuleState>& module,
                                          const TreeActions::Position& item, bool reordered,
                                          bool placed, int32_t toGroup) {
    DictionaryPtr info;
    GetDataFlowInfo(*module).GetSubSystemInfo(item.id, info);
    const int32_t stored = info ? info->Item("FTopClassID").ToInt32() : toGroup;
    const bool regrouped = placed && stored != toGroup;
    if (!reordered && !regrouped) {
        return std::nullopt;
    }
    auto group = std::make_shared<SubSysGroup>(module);
    group->initial(stored);
    SubSystemPtr subSystem = group->GetSubSystem(item.id, false);
    auto input = std::make_unique<SubSystemInput>(module, kStatusEdit);
    input->Load(group, subSystem);
    input->index = item.index;
    input->group = toGroup;
    return PlannedWrite{std::move(input), placed};
}

}  // namespace

TreeActions::TreeActions(std::shared_ptr<ModuleState> module, const ExchangeText& text)
    : module_(std::move(module)), text_(text) {}

void TreeActions::Delete(const TreeItemRef& item, std::optional<int64_t> seenVersion) {
    if (item.kind == TreeItemRef::Kind::Group) {
        GroupWriter(module_, text_).Delete(item.id, seenVersion);
    } else {
        SubSystemWriter(module_, text_).Delete(item.id, seenVersion);
    }
}

std::vector<ItemOutcome> TreeActions::Delete(const std::vector<TreeItemRef>& items,
                                             const std::vector<int64_t>& seenVersions) {
    std::vector<std::size_t> ordered(items.size());
    std::iota(ordered.begin(), ordered.end(), std::size_t{0});
    std::stable_partition(ordered.begin(), ordered.end(), [&](std::size_t k) {
        return items[k].kind == TreeItemRef::Kind::SubSystem;
    });
    CollectedMessages messages(*module_);
    std::vector<ItemOutcome> outcomes;
    for (const std::size_t k : ordered) {
        const TreeItemRef& item = items[k];
        ItemOutcome outcome{item, false, {}, {}};
        try {
            Delete(item, k < seenVersions.size() ? std::optional(seenVersions[k]) : std::nullopt);
            outcome.done = true;
        } catch (const ComError& error) {
            outcome.refusal = error.Description();
            outcome.error = error;
        }
        // The objects' own reason says more than "was not deleted".
        const bool notDeleted =
            outcome.error && (outcome.error->Offset() == errors::kGroupNotDeleted.offset ||
                              outcome.error->Offset() == errors::kSubSystemNotDeleted.offset);
        if (std::string shown = messages.Take(); notDeleted && !shown.empty()) {
            outcome.refusal = std::move(shown);
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::vector<TreeActions::Position> TreeActions::Reindexed(std::vector<Position> wanted,
                                                          const std::set<int32_t>& placed) {
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        Position& item = wanted[k];
        const Position* before = k > 0 ? &wanted[k - 1] : nullptr;
        const bool fits =
            !before || std::pair(before->index, before->id) < std::pair(item.index, item.id);
        if (fits && !placed.contains(item.id)) {
            continue;
        }
        // The least order after the one before: the same one when the identifier breaks the tie.
        item.index = !before ? 0 : before->index + (item.id > before->id ? 0 : 1);
    }
    return wanted;
}

void TreeActions::Place(TreeItemRef::Kind kind, const std::vector<Position>& wanted,
                        const std::set<int32_t>& placed, int32_t toGroup) {
    const std::vector<Position> ordered = Reindexed(wanted, placed);
    std::vector<PlannedWrite> writes;
    for (std::size_t k = 0; k < ordered.size(); ++k) {
        const bool placedHere = placed.contains(ordered[k].id);
        const bool reordered = ordered[k].index != wanted[k].index;
        if (kind == TreeItemRef::Kind::Group) {
            if (reordered) {
                writes.push_back(PlanGroup(module_, ordered[k], placedHere));
            }
        } else if (reordered || placedHere) {
            if (auto write = PlanSubSystem(module_, ordered[k], reordered, placedHere, toGroup)) {
                writes.push_back(std::move(*write));
            }
        }
    }
    std::stable_partition(writes.begin(), writes.end(),
                          [](const PlannedWrite& write) { return write.placed; });
    for (PlannedWrite& write : writes) {
        if (const auto failure = write.input->Validate()) {
            throw failure->error;
        }
    }
    for (PlannedWrite& write : writes) {
        if (const auto failure = write.input->Save()) {
            throw failure->error;
        }
    }
}

}  // namespace quarn::subsysmgr::exchange
