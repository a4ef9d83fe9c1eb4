#include "exchange/ReleaseUpgrade.h"

#include <algorithm>
#include <map>
#include <set>

#include "exchange/ExchangeErrors.h"
#include "exchange/ExchangeImport.h"
#include "exchange/TreeReader.h"
#include "host/IDatasUpdate.h"
#include "host/ProgIds.h"
#include "model/IdRanges.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::exchange {

namespace {

// The note of every log row an upgrade writes, before the release's name.
constexpr std::string_view kNotePrefix = "upgrade to release ";

constexpr std::string_view kLanguages[] = {"CHS", "CHT", "EN"};

Json ToJson(const AccountTypeItem& type) {
    return Json{{"code", type.code}, {"names", exchange::ToJson(type.names)}};
}
template <class Item>
Json ToJson(const Item& item) {
    return exchange::ToJson(item);
}

int32_t IdOf(const AccountTypeItem& type) {
    return type.code;
}
template <class Item>
int32_t IdOf(const Item& item) {
    return item.id;
}

template <class Item>
std::map<int32_t, Item> ById(const std::vector<Item>& items) {
    std::map<int32_t, Item> byId;
    for (const Item& item : items) {
        byId.emplace(IdOf(item), item);
    }
    return byId;
}

// Every item of either side by identifier: what the release adds, changes, moves or removes.
template <class Item>
void CompareAll(std::string_view kind, const std::map<int32_t, Item>& stored,
                const std::map<int32_t, Item>& released, std::vector<UpgradeItem>& items) {
    std::set<int32_t> ids;
    for (const auto& entry : stored) {
        ids.insert(entry.first);
    }
    for (const auto& entry : released) {
        ids.insert(entry.first);
    }
    for (const int32_t id : ids) {
        const auto before = stored.find(id);
        const auto after = released.find(id);
        UpgradeItem item{kind, id, {}, UpgradeOutcome::Unchanged, {}, {}};
        item.names = after == released.end() ? before->second.names : after->second.names;
        if (after == released.end()) {
            item.outcome = UpgradeOutcome::Removed;
        } else if (before == stored.end()) {
            item.outcome = UpgradeOutcome::Added;
        } else if (!(before->second == after->second)) {
            item.changes = CompareItems(ToJson(before->second), ToJson(after->second));
            const bool moved = std::ranges::any_of(
                item.changes, [](const FieldDifference& change) { return change.key == "group"; });
            item.outcome = moved ? UpgradeOutcome::Moved : UpgradeOutcome::Changed;
        }
        items.push_back(std::move(item));
    }
}

bool Renames(const UpgradeItem& item) {
    return item.outcome == UpgradeOutcome::Added || item.outcome == UpgradeOutcome::Moved ||
           std::ranges::any_of(item.changes, [](const FieldDifference& change) {
               return change.key.starts_with("names.");
           });
}

// The names of a delivered item that customer items hold among its siblings.
template <class Item>
void NameConflicts(const Names& names, const std::vector<const Item*>& siblings,
                   TreeItemRef::Kind kind, std::vector<UpgradeConflict>& conflicts) {
    for (const Item* sibling : siblings) {
        for (const std::string_view language : kLanguages) {
            if (sibling->names.In(language) == names.In(language)) {
                conflicts.push_back({ConflictKind::NameTaken, TreeItemRef{kind, sibling->id},
                                     sibling->names, std::string(language), 0, std::nullopt});
            }
        }
    }
}

std::shared_ptr<IReleaseStore> StoreOf(ModuleState& module) {
    return module.registry->Create<IReleaseStore>(progid::kReleaseStore);
}

int32_t ShowSysType(bool visible, bool web) {
    return (visible ? 1 : 0) + (web ? 2 : 0);
}

DictionaryPtr GroupRow(const GroupItem& group) {
    const DictionaryPtr row = Dictionary::Create();
    row->Item("FTopClassID", group.id);
    row->Item("FtopClassName", group.names.chs);
    row->Item("FTopClassName_CHS", group.names.chs);
    row->Item("FTopClassName_CHT", group.names.cht);
    row->Item("FTopClassName_EN", group.names.en);
    row->Item("FIndex", group.index);
    row->Item("FVisible", int32_t{group.visible ? 1 : 0});
    row->Item("FShowSysType", ShowSysType(group.visible, group.web));
    row->Item("FAcctType", FormatAccountTypes(group.accountTypes));
    return row;
}

DictionaryPtr SubSystemRow(const SubSystemItem& subSystem) {
    const DictionaryPtr row = Dictionary::Create();
    row->Item("FSubSysID", subSystem.id);
    row->Item("FTopClassID", subSystem.group);
    row->Item("FName", subSystem.names.chs);
    row->Item("FName_CHS", subSystem.names.chs);
    row->Item("FName_CHT", subSystem.names.cht);
    row->Item("FName_EN", subSystem.names.en);
    row->Item("FSUBID", subSystem.number.empty() ? Variant::Null() : Variant(subSystem.number));
    row->Item("FVisible", int32_t{subSystem.visible ? 1 : 0});
    row->Item("FIndex", subSystem.index);
    row->Item("FAcctType", FormatAccountTypes(subSystem.accountTypes));
    row->Item("FShowSysType", ShowSysType(subSystem.visible, subSystem.web));
    return row;
}

}  // namespace

std::string_view OutcomeName(UpgradeOutcome outcome) {
    switch (outcome) {
        case UpgradeOutcome::Added:
            return "added";
        case UpgradeOutcome::Changed:
            return "changed";
        case UpgradeOutcome::Moved:
            return "moved";
        case UpgradeOutcome::Removed:
            return "removed";
        case UpgradeOutcome::Unchanged:
            break;
    }
    return "unchanged";
}

std::string_view ConflictName(ConflictKind kind) {
    switch (kind) {
        case ConflictKind::Orphan:
            return "orphan";
        case ConflictKind::NameTaken:
            return "nameTaken";
        case ConflictKind::StillUsed:
            return "stillUsed";
        case ConflictKind::AccountTypeInUse:
            break;
    }
    return "accountTypeInUse";
}

std::size_t UpgradePlan::Conflicts() const {
    std::size_t count = 0;
    for (const UpgradeItem& item : items) {
        count += static_cast<std::size_t>(std::ranges::count_if(
            item.conflicts, [](const UpgradeConflict& conflict) { return !conflict.Resolved(); }));
    }
    return count;
}

bool UpgradePlan::NothingToDo() const {
    return from == release.header && std::ranges::all_of(items, [](const UpgradeItem& item) {
               return item.outcome == UpgradeOutcome::Unchanged;
           });
}

ReleaseUpgrade::ReleaseUpgrade(std::shared_ptr<ModuleState> module, const ExchangeText& text)
    : module_(std::move(module)), text_(text) {}

UpgradePlan ReleaseUpgrade::Plan(Release release, std::optional<int32_t> moveOrphansTo) {
    const auto store = StoreOf(*module_);
    const std::string context = GetPropsString(*module_);
    // Read before the tree: a change that comes while it is read makes the write refuse.
    const int64_t readAt = store->LastChange(context);
    TreeReader reader(module_);
    const std::vector<GroupItem> groups = reader.Groups();
    const std::vector<SubSystemItem> subSystems = reader.SubSystems();
    if (moveOrphansTo && (!ranges::kCustomerGroups.Contains(*moveOrphansTo) ||
                          std::ranges::none_of(groups, [&](const GroupItem& g) {
                              return g.id == *moveOrphansTo;
                          }))) {
        text_.Raise(errors::kNoOrphanGroup, {*moveOrphansTo});
    }

    // The delivered side of the database, and the customer and platform items beside it.
    std::vector<GroupItem> deliveredGroups;
    std::vector<const GroupItem*> customerGroups;
    for (const GroupItem& group : groups) {
        if (IsDelivered({TreeItemRef::Kind::Group, group.id})) {
            deliveredGroups.push_back(group);
        } else {
            customerGroups.push_back(&group);
        }
    }
    std::vector<SubSystemItem> deliveredSubSystems;
    std::map<int32_t, std::vector<const SubSystemItem*>> customerSubSystems;  // by group
    for (const SubSystemItem& subSystem : subSystems) {
        if (IsDelivered({TreeItemRef::Kind::SubSystem, subSystem.id})) {
            deliveredSubSystems.push_back(subSystem);
        } else {
            customerSubSystems[subSystem.group].push_back(&subSystem);
        }
    }
    std::vector<AccountTypeItem> accountTypes;
    for (const AccountTypeRow& type : store->AccountTypes(context)) {
        accountTypes.push_back({type.code, {type.chs, type.cht, type.en}});
    }

    UpgradePlan plan{std::move(release), store->Release(context), moveOrphansTo, {}, readAt};
    const auto releasedGroups = ById(plan.release.groups);
    const auto releasedSubSystems = ById(plan.release.subSystems);
    CompareAll("group", ById(deliveredGroups), releasedGroups, plan.items);
    CompareAll("subsystem", ById(deliveredSubSystems), releasedSubSystems, plan.items);
    CompareAll("accountType", ById(accountTypes), ById(plan.release.accountTypes), plan.items);

    std::vector<int32_t> removedSubSystems;
    for (UpgradeItem& item : plan.items) {
        const bool removed = item.outcome == UpgradeOutcome::Removed;
        if (item.kind == "group" && removed) {
            for (const SubSystemItem* orphan : customerSubSystems[item.id]) {
                item.conflicts.push_back({ConflictKind::Orphan,
                                          TreeItemRef{TreeItemRef::Kind::SubSystem, orphan->id},
                                          orphan->names,
                                          {},
                                          0,
                                          moveOrphansTo});
            }
        } else if (item.kind == "group" && Renames(item)) {
            NameConflicts(releasedGroups.at(item.id).names, customerGroups,
                          TreeItemRef::Kind::Group, item.conflicts);
        } else if (item.kind == "subsystem" && removed) {
            removedSubSystems.push_back(item.id);
        } else if (item.kind == "subsystem" && Renames(item)) {
            const SubSystemItem& subSystem = releasedSubSystems.at(item.id);
            NameConflicts(subSystem.names, customerSubSystems[subSystem.group],
                          TreeItemRef::Kind::SubSystem, item.conflicts);
        } else if (item.kind == "accountType" && removed) {
            const auto uses = [&](const std::vector<int32_t>& types) {
                return std::ranges::find(types, item.id) != types.end();
            };
            for (const GroupItem* group : customerGroups) {
                if (uses(group->accountTypes)) {
                    item.conflicts.push_back({ConflictKind::AccountTypeInUse,
                                              TreeItemRef{TreeItemRef::Kind::Group, group->id},
                                              group->names,
                                              {},
                                              0,
                                              std::nullopt});
                }
            }
            for (const auto& [group, members] : customerSubSystems) {
                for (const SubSystemItem* subSystem : members) {
                    if (uses(subSystem->accountTypes)) {
                        item.conflicts.push_back(
                            {ConflictKind::AccountTypeInUse,
                             TreeItemRef{TreeItemRef::Kind::SubSystem, subSystem->id},
                             subSystem->names,
                             {},
                             0,
                             std::nullopt});
                    }
                }
            }
        }
    }
    for (const auto& [id, uses] : store->Uses(context, removedSubSystems)) {
        const auto item = std::ranges::find_if(plan.items, [id = id](const UpgradeItem& entry) {
            return entry.kind == "subsystem" && entry.id == id;
        });
        item->conflicts.push_back(
            {ConflictKind::StillUsed, std::nullopt, {}, {}, uses, std::nullopt});
    }
    return plan;
}

ReleaseWrite ReleaseUpgrade::WriteOf(const UpgradePlan& plan) const {
    if (plan.Conflicts() > 0) {
        text_.Raise(errors::kUpgradeRefused,
                    {plan.release.header.name, static_cast<int64_t>(plan.Conflicts())});
    }
    ReleaseWrite write;
    write.release = plan.release.header;
    write.readAt = plan.readAt;
    for (const AccountTypeItem& type : plan.release.accountTypes) {
        write.accountTypes.push_back({type.code, type.names.chs, type.names.cht, type.names.en});
    }
    const auto releasedGroups = ById(plan.release.groups);
    const auto releasedSubSystems = ById(plan.release.subSystems);
    std::vector<TreeItemRef> removedGroups;
    for (const UpgradeItem& item : plan.items) {
        const bool group = item.kind == "group";
        if (item.kind == "accountType") {
            continue;
        }
        if (item.outcome == UpgradeOutcome::Removed) {
            const TreeItemRef ref{group ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem,
                                  item.id};
            (group ? removedGroups : write.removed).push_back(ref);
            for (const UpgradeConflict& conflict : item.conflicts) {
                write.moved.emplace_back(conflict.other->id, *conflict.movedTo);
            }
        } else if (item.outcome != UpgradeOutcome::Unchanged) {
            if (group) {
                write.groups.push_back(GroupRow(releasedGroups.at(item.id)));
            } else {
                write.subSystems.push_back(SubSystemRow(releasedSubSystems.at(item.id)));
            }
        }
    }
    // Subsystems go before the groups they were in.
    write.removed.insert(write.removed.end(), removedGroups.begin(), removedGroups.end());
    return write;
}

int64_t ReleaseUpgrade::Apply(const UpgradePlan& plan) {
    ReleaseWrite write = WriteOf(plan);
    if (plan.NothingToDo()) {
        return 0;
    }
    try {
        return StoreOf(*module_)->Write(write, Note(plan.release.header));
    } catch (const ComError& error) {
        if (error.Number() != kItemChangedElsewhere) {
            throw;
        }
        text_.Raise(errors::kUpgradeStale, {plan.release.header.name});
    }
}

void ReleaseUpgrade::Rehearse(const UpgradePlan& plan, const std::function<void()>& inside) {
    // Over the database as it is now, whatever was written after the plan was read.
    ReleaseWrite write = WriteOf(plan);
    write.readAt.reset();
    StoreOf(*module_)->Rehearse(write, inside);
}

std::vector<TreeFinding> ReleaseUpgrade::CheckAfter(const UpgradePlan& plan) {
    std::vector<TreeFinding> findings;
    // The rehearsal's own rows are never sealed: the seals are left out.
    Rehearse(plan, [&] { findings = CheckTree(module_, text_, {}, {}, false); });
    std::erase_if(findings, [](const TreeFinding& finding) { return finding.kind == "database"; });
    return findings;
}

std::string ReleaseUpgrade::Note(const SuiteRelease& release) {
    return std::string(kNotePrefix) + release.name;
}

std::optional<std::string> ReleaseUpgrade::ReleaseNoted(std::string_view note) {
    if (!note.starts_with(kNotePrefix)) {
        return std::nullopt;
    }
    return std::string(note.substr(kNotePrefix.size()));
}

ReleaseState ReleaseUpgrade::StateOf(ModuleState& module) {
    if (!module.registry->IsRegistered(progid::kReleaseStore)) {
        return ReleaseState{SuiteRelease{}, SuiteRelease{}};  // a host that keeps no releases
    }
    const auto store = StoreOf(module);
    return ReleaseState{store->Release(GetPropsString(module)), store->Shipped()};
}

}  // namespace quarn::subsysmgr::exchange
