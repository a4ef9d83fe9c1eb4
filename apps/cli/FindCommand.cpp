// find TEXT: the groups and subsystems whose code or name in any language contains a text,
// found through the index the database keeps, each with its name in the session language and a
// subsystem with its group.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Commands.h"
#include "InvalidTextWarning.h"
#include "Printable.h"
#include "exchange/TreeReader.h"
#include "host/ITreeSearch.h"
#include "host/ProgIds.h"

namespace quarn::subsysmgr::cli {

namespace {

// A match with the item it names, as the tree holds it: a group, or a subsystem.
struct FoundItem {
    const GroupItem* group = nullptr;
    std::optional<SubSystemItem> subSystem;
};

// The found items as the tree holds them: every group, and the subsystems of the groups that
// have matches, read group by group (or all at once for many groups). An item deleted since
// the search is left out.
std::vector<FoundItem> ItemsOf(TreeReader& reader, const std::vector<TreeMatch>& matches,
                               std::unordered_map<int32_t, GroupItem>& groups) {
    for (TreeReader::CachedGroup& group : reader.CachedGroups()) {
        groups.emplace(group.key.id, std::move(*group.item));
    }
    std::vector<int32_t> groupIds;
    for (const TreeMatch& match : matches) {
        if (match.item.kind == TreeItemRef::Kind::SubSystem &&
            (groupIds.empty() || groupIds.back() != match.group)) {
            groupIds.push_back(match.group);
        }
    }
    const auto subSystems = reader.CachedSubSystemsOf(
        groupIds, [](int32_t, const std::vector<TreeReader::RowKey>&) { return false; },
        [](int64_t, int64_t) { return true; });
    std::vector<FoundItem> items;
    for (const TreeMatch& match : matches) {
        if (match.item.kind == TreeItemRef::Kind::Group) {
            if (const auto group = groups.find(match.group); group != groups.end()) {
                items.push_back({&group->second, std::nullopt});
            }
            continue;
        }
        const auto rows = subSystems->find(match.group);
        if (rows == subSystems->end()) {
            continue;
        }
        for (const auto& row : rows->second) {
            if (row.item.id == match.item.id) {
                items.push_back({nullptr, row.item});
            }
        }
    }
    return items;
}

void Find(CliContext& context, const std::string& text) {
    const auto module = context.Session();
    const auto search = context.Host().Registry().Create<ITreeSearch>(progid::kTreeSearch);
    const std::vector<TreeMatch> matches = search->Find(context.Host().Context(), text);
    TreeReader reader(module);
    std::unordered_map<int32_t, GroupItem> groups;
    const std::vector<FoundItem> items = ItemsOf(reader, matches, groups);
    const InvalidBytes shown = ShownInvalidBytes(context);
    for (const FoundItem& item : items) {
        item.subSystem ? WarnOfInvalidText(context, *item.subSystem, shown)
                       : WarnOfInvalidText(context, *item.group, shown);
    }
    const std::string& language = context.options.language;
    if (context.options.json) {
        Json found = Json::array();
        for (const FoundItem& item : items) {
            if (!item.subSystem) {
                found.push_back({{"kind", "group"},
                                 {"id", item.group->id},
                                 {"names", ToJson(item.group->names)}});
                continue;
            }
            found.push_back({{"kind", "subsystem"},
                             {"id", item.subSystem->id},
                             {"group", item.subSystem->group},
                             {"names", ToJson(item.subSystem->names)}});
        }
        context.Print(Json{{"matches", std::move(found)}});
        return;
    }
    const ExchangeText& words = context.Text();
    context.out << fmt::format("{:<10}  {:>6}  {:>5}  {}\n", words.Text("Kind"), words.Text("ID"),
                               words.Text("Group"), words.Text("Name"));
    for (const FoundItem& item : items) {
        if (!item.subSystem) {
            context.out << fmt::format("{:<10}  {:>6}  {:>5}  {}\n", words.Text("group"),
                                       item.group->id, "",
                                       Printable(item.group->names.In(language)));
            continue;
        }
        context.out << fmt::format("{:<10}  {:>6}  {:>5}  {}\n", words.Text("subsystem"),
                                   item.subSystem->id, item.subSystem->group,
                                   Printable(item.subSystem->names.In(language)));
    }
    context.out << (items.size() == 1
                        ? words.Text("1 match.")
                        : words.Format("%1 matches.", {static_cast<int64_t>(items.size())}))
                << '\n';
}

}  // namespace

void AddFindCommand(CLI::App& app, CliContext& context) {
    auto text = std::make_shared<std::string>();
    auto* find = app.add_subcommand(
        "find", "Groups and subsystems whose code or name in any language contains a text");
    find->add_option("text", *text, "What to look for (letters in any case)")->required();
    find->callback([&context, text] { Find(context, *text); });
}

}  // namespace quarn::subsysmgr::cli
