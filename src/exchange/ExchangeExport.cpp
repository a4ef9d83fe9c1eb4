#include "exchange/ExchangeExport.h"

#include <algorithm>
#include <numeric>

#include "exchange/TreeReader.h"
#include "host/ProgIds.h"
#include "model/IdRanges.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::exchange {

namespace {

// Ordered by identifier: the positions are sorted, then each item is moved once.
template <class Item>
void SortById(std::vector<Item>& items) {
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return items[a].id < items[b].id; });
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (const std::size_t position : order) {
        sorted.push_back(std::move(items[position]));
    }
    items = std::move(sorted);
}

// The stored groups and subsystems that `takeGroup` and `takeSubSystem` (which is also told
// whether the subsystem's group was taken) keep, ordered by identifier.
template <class TakeGroup, class TakeSubSystem>
Exchange Items(const std::shared_ptr<ModuleState>& module, TakeGroup takeGroup,
               TakeSubSystem takeSubSystem) {
    Exchange exchange;
    exchange.history = ExportHead(module);
    TreeReader reader(module);
    std::unordered_set<int32_t> stored;
    std::unordered_set<int32_t> taken;
    for (GroupItem& group : reader.Groups()) {
        stored.insert(group.id);
        if (takeGroup(group)) {
            taken.insert(group.id);
            exchange.groups.push_back(std::move(group));
        }
    }
    for (SubSystemItem& subSystem : reader.SubSystems()) {
        // A subsystem is exported with the tree it shows in.
        if (stored.contains(subSystem.group) &&
            takeSubSystem(subSystem, taken.contains(subSystem.group))) {
            exchange.subSystems.push_back(std::move(subSystem));
        }
    }
    SortById(exchange.groups);
    SortById(exchange.subSystems);
    return exchange;
}

}  // namespace

std::optional<ChainHead> ExportHead(const std::shared_ptr<ModuleState>& module) {
    const auto history = module->registry->Create<IChangeHistory>(progid::kChangeHistory);
    const std::string context = GetPropsString(*module);
    if (!history->IsLogged(context)) {
        return std::nullopt;
    }
    ChainHead head = history->SealHead(context);
    if (head.change == 0) {
        return std::nullopt;
    }
    return head;
}

void EachCustomerItem(const std::shared_ptr<ModuleState>& module, const TreeReader::OnGroup& group,
                      const TreeReader::OnSubSystem& subSystem) {
    using ranges::IdRange;
    const auto span = [](const IdRange& range) { return IdSpan{range.first, range.last}; };
    TreeReader(module).EachInRanges(
        {span(ranges::kCustomerGroups), span(ranges::kBroxGroups)},
        {span(ranges::kCustomerSubSystems), span(ranges::kBroxSubSystems)}, group, subSystem);
}

Exchange CustomerItems(const std::shared_ptr<ModuleState>& module) {
    Exchange exchange;
    exchange.history = ExportHead(module);
    EachCustomerItem(
        module, [&](const GroupItem& group) { exchange.groups.push_back(group); },
        [&](const SubSystemItem& subSystem) { exchange.subSystems.push_back(subSystem); });
    return exchange;
}

Exchange ChosenItems(const std::shared_ptr<ModuleState>& module,
                     const std::unordered_set<int32_t>& groups,
                     const std::unordered_set<int32_t>& subSystems) {
    return Items(
        module, [&](const GroupItem& group) { return groups.contains(group.id); },
        [&](const SubSystemItem& subSystem, bool groupTaken) {
            return groupTaken || subSystems.contains(subSystem.id);
        });
}

}  // namespace quarn::subsysmgr::exchange
