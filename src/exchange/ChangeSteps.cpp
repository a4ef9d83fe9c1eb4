#include "exchange/ChangeSteps.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "host/IDatasInfo.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/ModelErrors.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::exchange {

namespace {

// The store's reasons of a stale save, which the editors show after their own message.
constexpr std::string_view kChangedSince = "读取之后，该项已被其他用户修改。";
constexpr std::string_view kDeletedSince = "读取之后，该项已被其他用户删除。";
constexpr std::string_view kChangedSinceWhen = "读取之后，该项已被其他用户修改（%1）。";
constexpr std::string_view kDeletedSinceWhen = "读取之后，该项已被其他用户删除（%1）。";
constexpr std::string_view kChangedByProgram = "读取之后，该项已被其他程序修改（%1）。";
constexpr std::string_view kDeletedByProgram = "读取之后，该项已被其他程序删除（%1）。";

}  // namespace

ChangeSteps::ChangeSteps(std::shared_ptr<ModuleState> module) : module_(std::move(module)) {}

// The item's last logged change; none when the log has none.
std::optional<ItemChange> ChangeSteps::LastChange(const TreeItemRef& item) {
    std::vector<ItemChange> changes =
        module_->registry->Create<IChangeHistory>(progid::kChangeHistory)
            ->Changes(GetPropsString(*module_), item);
    if (changes.empty()) {
        return std::nullopt;
    }
    return std::move(changes.front());
}

// The change that left the item as it is now.
ChangeMade ChangeSteps::Current(const TreeItemRef& item) {
    const int64_t version = Versions({item}).front();
    if (version != ChangeSteps::kAbsent) {
        return {item, version, true};
    }
    const std::optional<ItemChange> last = LastChange(item);
    return {item, last ? last->number : 0, false};
}

void ChangeSteps::RaiseStale(const TreeItemRef& item, bool stillThere) {
    // Who the database knows made the last change, and what the client says it came through.
    std::string when;
    bool otherProgram = false;
    if (const std::optional<ItemChange> last = LastChange(item)) {
        otherProgram = last->otherProgram;
        when = last->time + (last->databaseUser.empty() ? "" : ", " + last->databaseUser) +
               (last->client.empty() ? "" : " (" + last->client + ")");
    }
    const std::string_view withWhen = otherProgram
                                          ? (stillThere ? kChangedByProgram : kDeletedByProgram)
                                          : (stillThere ? kChangedSinceWhen : kDeletedSinceWhen);
    const std::string reason =
        when.empty() ? GetLocalText(*module_, stillThere ? kChangedSince : kDeletedSince)
                     : FormatLocalText(*module_, withWhen, {when});
    const ErrorDefinition& error = item.kind == TreeItemRef::Kind::Group
                                       ? subsysmgr::errors::kGroupChangedElsewhere
                                       : subsysmgr::errors::kSubSystemChangedElsewhere;
    throw ComError(error.Number(), std::string(error.source),
                   GetLocalText(*module_, error.message) + " " + reason);
}

void ChangeSteps::Record(std::vector<TreeItemRef> items,
                         const std::function<void(std::vector<TreeItemRef>&)>& action,
                         const std::function<void(std::vector<ChangeMade>)>& keep) {
    const std::vector<int64_t> before = Versions(items);
    std::vector<TreeItemRef> added;
    const auto made = [&] {
        for (const TreeItemRef& item : added) {
            if (std::find(items.begin(), items.end(), item) == items.end()) {
                items.push_back(item);
            }
        }
        return Since(items, before);
    };
    try {
        action(added);
    } catch (...) {
        try {
            keep(made());
        } catch (const ComError&) {
            // The action's own failure is the one to report.
        }
        throw;
    }
    keep(made());
}

std::vector<int64_t> ChangeSteps::Versions(const std::vector<TreeItemRef>& items) {
    IDatasInfo& info = GetDataFlowInfo(*module_);
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

std::vector<ChangeMade> ChangeSteps::Since(const std::vector<TreeItemRef>& items,
                                           const std::vector<int64_t>& before) {
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
        const std::optional<ItemChange> last = LastChange(items[k]);
        if (last && last->number > was && !last->after) {
            changes.push_back({items[k], last->number, false});
        }
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const ChangeMade& a, const ChangeMade& b) { return a.change < b.change; });
    return changes;
}

void ChangeSteps::CheckCurrent(const std::vector<ChangeMade>& changes) {
    std::vector<TreeItemRef> items;
    for (const ChangeMade& made : changes) {
        items.push_back(made.item);
    }
    const std::vector<int64_t> now = Versions(items);
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const ChangeMade& made = changes[k];
        if (made.present ? now[k] != made.change : now[k] != kAbsent) {
            RaiseStale(made.item, now[k] != kAbsent);
        }
        if (!made.present) {
            // Created and deleted again since, which the versions cannot tell.
            const std::optional<ItemChange> last = LastChange(made.item);
            if (!last || last->number != made.change) {
                RaiseStale(made.item, false);
            }
        }
    }
}

ChangeSteps::Reverted ChangeSteps::Revert(const std::vector<ChangeMade>& changes) {
    Reverted reverted;
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
        try {
            ChangeRevert(module_).Revert(it->change, false, it->item);
        } catch (const ComError& error) {
            reverted.failure = error;
            reverted.left.assign(changes.begin(), it.base());
            break;
        }
        reverted.done.push_back(Current(it->item));
    }
    return reverted;
}

}  // namespace quarn::subsysmgr::exchange
