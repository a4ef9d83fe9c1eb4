#include "TreeEdits.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "ErrorNumberText.h"
#include "foundation/ComError.h"
#include "host/IMessageBox.h"
#include "model/GroupInput.h"
#include "model/SubSysGroup.h"
#include "model/SubSystemInput.h"
#include "runtime/SessionContext.h"

namespace quarn::designer {

using subsysmgr::ModuleState;

namespace {

// Takes the messages the business objects show while it lives, answering each as its default
// button would (No of Yes and No: the input is kept, nothing is overwritten).
class CollectedMessages : public IMessageBox {
  public:
    explicit CollectedMessages(ModuleState& module) : module_(module) {
        shown_ =
            std::exchange(module_.messageBox, std::shared_ptr<IMessageBox>(this, [](auto*) {}));
    }
    ~CollectedMessages() override { module_.messageBox = shown_; }
    CollectedMessages(const CollectedMessages&) = delete;
    CollectedMessages& operator=(const CollectedMessages&) = delete;

    int32_t Show(const std::string& prompt, int32_t flags, const std::string& /*title*/) override {
        messages_.push_back(prompt);
        constexpr int32_t kNo = 7;
        return (flags & kMessageBoxYesNo) == kMessageBoxYesNo ? kNo : kMessageBoxResultOk;
    }

    /// The messages since the last call, one a line.
    std::string Take() {
        std::string joined;
        for (const std::string& message : messages_) {
            joined += (joined.empty() ? "" : "\n") + message;
        }
        messages_.clear();
        return joined;
    }

  private:
    ModuleState& module_;
    std::shared_ptr<IMessageBox> shown_;
    std::vector<std::string> messages_;
};

std::string Described(const ComError& error) {
    return error.Description() + " (" + ErrorNumberText(error) + ")";
}

bool DeleteGroup(int32_t id) {
    subsysmgr::SubSysGroup group;
    group.initial(id);
    group.Deleted(true);  // refuses groups delivered with the suite
    group.OptType(subsysmgr::enm_OptType_Group);
    return group.Save();  // refuses, with its message, a group that has subsystems
}

bool DeleteSubSystem(int32_t id) {
    DictionaryPtr info;
    if (!subsysmgr::GetDataFlowInfo(*ModuleState::Current()).GetSubSystemInfo(id, info)) {
        return false;
    }
    subsysmgr::SubSysGroup group;
    group.CancelCheck(true);
    group.Id(info->Item("FTopClassID").ToInt32());
    group.GetSubSystem(-1);
    group.DeleteSubSystem(id);  // refuses delivered subsystems and ones with sub-functions
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    return group.Save();  // refuses, with its message, one that has business objects
}

// One write of Place, checked before any is made.
struct PlannedWrite {
    std::unique_ptr<subsysmgr::EditorInput> input;
    bool placed = false;
};

PlannedWrite PlanGroup(const TreeEntry& entry, bool placed) {
    const auto module = ModuleState::Current();
    // A group deleted meanwhile is refused by its save as changed elsewhere.
    auto group = std::make_shared<subsysmgr::SubSysGroup>(module);
    group->initial(entry.id);
    auto input = std::make_unique<subsysmgr::GroupInput>(module, subsysmgr::kStatusEdit);
    input->Load(std::move(group));
    input->index = entry.index;
    return {std::move(input), placed};
}

// Nothing when the subsystem keeps its order and its group.
std::optional<PlannedWrite> PlanSubSystem(const TreeEntry& entry, bool reordered, bool placed,
                                          int32_t toGroup) {
    const auto module = ModuleState::Current();
    DictionaryPtr info;
    subsysmgr::GetDataFlowInfo(*module).GetSubSystemInfo(entry.id, info);
    const int32_t stored = info ? info->Item("FTopClassID").ToInt32() : toGroup;
    const bool regrouped = placed && stored != toGroup;
    if (!reordered && !regrouped) {
        return std::nullopt;
    }
    auto group = std::make_shared<subsysmgr::SubSysGroup>(module);
    group->initial(stored);
    subsysmgr::SubSystemPtr subSystem = group->GetSubSystem(entry.id, false);
    auto input = std::make_unique<subsysmgr::SubSystemInput>(module, subsysmgr::kStatusEdit);
    input->Load(group, subSystem);
    input->index = entry.index;
    input->group = toGroup;
    return PlannedWrite{std::move(input), placed};
}

}  // namespace

std::vector<ItemOutcome> TreeEdits::Delete(const std::vector<TreeItemRef>& items) {
    std::vector<TreeItemRef> ordered = items;
    std::stable_partition(ordered.begin(), ordered.end(), [](const TreeItemRef& item) {
        return item.kind == TreeItemRef::Kind::SubSystem;
    });
    CollectedMessages messages(*ModuleState::Current());
    std::vector<ItemOutcome> outcomes;
    for (const TreeItemRef& item : ordered) {
        ItemOutcome outcome{item, false, {}};
        try {
            outcome.done = item.kind == TreeItemRef::Kind::Group ? DeleteGroup(item.id)
                                                                 : DeleteSubSystem(item.id);
        } catch (const ComError& error) {
            outcome.refusal = Described(error);
        }
        const std::string shown = messages.Take();
        if (!outcome.done && outcome.refusal.empty()) {
            outcome.refusal = shown;
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::vector<TreeEntry> TreeEdits::Reindexed(std::vector<TreeEntry> wanted,
                                            const std::set<int32_t>& placed) {
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        TreeEntry& item = wanted[k];
        const TreeEntry* before = k > 0 ? &wanted[k - 1] : nullptr;
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

void TreeEdits::Place(ItemKind kind, const std::vector<TreeEntry>& wanted,
                      const std::set<int32_t>& placed, int32_t toGroup) {
    const std::vector<TreeEntry> ordered = Reindexed(wanted, placed);
    std::vector<PlannedWrite> writes;
    for (std::size_t k = 0; k < ordered.size(); ++k) {
        const bool placedHere = placed.contains(ordered[k].id);
        const bool reordered = ordered[k].index != wanted[k].index;
        if (kind == ItemKind::Group) {
            if (reordered) {
                writes.push_back(PlanGroup(ordered[k], placedHere));
            }
        } else if (reordered || placedHere) {
            if (auto write = PlanSubSystem(ordered[k], reordered, placedHere, toGroup)) {
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

}  // namespace quarn::designer
