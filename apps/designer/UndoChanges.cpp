#include "UndoChanges.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/IDatasInfo.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/ModelErrors.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"

namespace quarn::designer {

using subsysmgr::ModuleState;

namespace {

// The store's reasons of a stale save, which the editors show after their own message.
constexpr std::string_view kChangedSince = "读取之后，该项已被其他用户修改。";
constexpr std::string_view kDeletedSince = "读取之后，该项已被其他用户删除。";
constexpr std::string_view kChangedSinceWhen = "读取之后，该项已被其他用户修改（%1）。";
constexpr std::string_view kDeletedSinceWhen = "读取之后，该项已被其他用户删除（%1）。";
constexpr std::string_view kChangedByProgram = "读取之后，该项已被其他程序修改（%1）。";
constexpr std::string_view kDeletedByProgram = "读取之后，该项已被其他程序删除（%1）。";

std::shared_ptr<IChangeHistory> History(ModuleState& module) {
    return module.registry->Create<IChangeHistory>(progid::kChangeHistory);
}

// The item's last logged change; none when the log has none.
std::optional<ItemChange> LastChange(ModuleState& module, const TreeItemRef& item) {
    std::vector<ItemChange> changes =
        History(module)->Changes(subsysmgr::GetPropsString(module), item);
    if (changes.empty()) {
        return std::nullopt;
    }
    return std::move(changes.front());
}

// The change that left the item as it is now.
ChangeMade Current(ModuleState& module, const TreeItemRef& item) {
    const int64_t version = UndoChanges::Versions({item}).front();
    if (version != UndoChanges::kAbsent) {
        return {item, version, true};
    }
    const std::optional<ItemChange> last = LastChange(module, item);
    return {item, last ? last->number : 0, false};
}

[[noreturn]] void RaiseStale(ModuleState& module, const TreeItemRef& item, bool stillThere) {
    // Who the database knows made the last change, and what the client says it came through.
    std::string when;
    bool otherProgram = false;
    if (const std::optional<ItemChange> last = LastChange(module, item)) {
        otherProgram = last->otherProgram;
        when = last->time + (last->databaseUser.empty() ? "" : ", " + last->databaseUser) +
               (last->client.empty() ? "" : " (" + last->client + ")");
    }
    const std::string_view withWhen = otherProgram
                                          ? (stillThere ? kChangedByProgram : kDeletedByProgram)
                                          : (stillThere ? kChangedSinceWhen : kDeletedSinceWhen);
    const std::string reason =
        when.empty() ? subsysmgr::GetLocalText(module, stillThere ? kChangedSince : kDeletedSince)
                     : subsysmgr::FormatLocalText(module, withWhen, {when});
    const subsysmgr::ErrorDefinition& error = item.kind == TreeItemRef::Kind::Group
                                                  ? subsysmgr::errors::kGroupChangedElsewhere
                                                  : subsysmgr::errors::kSubSystemChangedElsewhere;
    throw ComError(error.Number(), std::string(error.source),
                   subsysmgr::GetLocalText(module, error.message) + " " + reason);
}

}  // namespace

std::vector<int64_t> UndoChanges::Versions(const std::vector<TreeItemRef>& items) {
    IDatasInfo& info = subsysmgr::GetDataFlowInfo(*ModuleState::Current());
    info.ClearCache();
    std::optional<std::unordered_map<int32_t, int64_t>> groups;
    std::vector<int64_t> versions;
    versions.reserve(items.size());
    for (const TreeItemRef& item : items) {
        if (item.kind == TreeItemRef::Kind::SubSystem) {
            DictionaryPtr row;
            versions.push_back(info.GetSubSystemInfo(item.id, row) ? row->Item("FVersion").ToInt64()
                                                                   : kAbsent);
            continue;
        }
        if (!groups) {
            groups.emplace();
            for (const RecordsetPtr rows = info.GetTopClass_All(); !rows->Eof(); rows->MoveNext()) {
                (*groups)[rows->Fields("FTopClassID").ToInt32()] =
                    rows->Fields("FVersion").ToInt64();
            }
        }
        const auto found = groups->find(item.id);
        versions.push_back(found == groups->end() ? kAbsent : found->second);
    }
    return versions;
}

std::vector<ChangeMade> UndoChanges::Since(const std::vector<TreeItemRef>& items,
                                           const std::vector<int64_t>& before) {
    ModuleState& module = *ModuleState::Current();
    const std::vector<int64_t> after = Versions(items);
    std::vector<ChangeMade> changes;
    for (std::size_t k = 0; k < items.size(); ++k) {
        const int64_t was = k < before.size() ? before[k] : kAbsent;
        if (after[k] == was) {
            continue;
        }
        if (after[k] != kAbsent) {
            changes.push_back({items[k], after[k], true});
            continue;
        }
        // Deleted: only the log still knows the change.
        const std::optional<ItemChange> last = LastChange(module, items[k]);
        if (last && last->number > was && !last->after) {
            changes.push_back({items[k], last->number, false});
        }
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const ChangeMade& a, const ChangeMade& b) { return a.change < b.change; });
    return changes;
}

void UndoChanges::CheckCurrent(const std::vector<ChangeMade>& changes) {
    ModuleState& module = *ModuleState::Current();
    std::vector<TreeItemRef> items;
    for (const ChangeMade& made : changes) {
        items.push_back(made.item);
    }
    const std::vector<int64_t> now = Versions(items);
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const ChangeMade& made = changes[k];
        if (made.present ? now[k] != made.change : now[k] != kAbsent) {
            RaiseStale(module, made.item, now[k] != kAbsent);
        }
        if (!made.present) {
            // Created and deleted again since, which the versions cannot tell.
            const std::optional<ItemChange> last = LastChange(module, made.item);
            if (!last || last->number != made.change) {
                RaiseStale(module, made.item, false);
            }
        }
    }
}

UndoChanges::Reverted UndoChanges::Revert(const std::vector<ChangeMade>& changes) {
    ModuleState& module = *ModuleState::Current();
    Reverted reverted;
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
        try {
            subsysmgr::ChangeRevert().Revert(it->change, false, it->item);
        } catch (const ComError& error) {
            reverted.failure = error;
            reverted.left.assign(changes.begin(), it.base());
            break;
        }
        reverted.done.push_back(Current(module, it->item));
    }
    return reverted;
}

}  // namespace quarn::designer
