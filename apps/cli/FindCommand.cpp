// find TEXT: the groups and subsystems whose code or name in any language contains a text,
// found through the index the database keeps, each with its name in the session language and a
// subsystem with its group.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
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
    std::optional<GroupItem> group;
    std::optional<SubSystemItem> subSystem;
};

// The found items as the tree holds them, each read by its key: a search of a large tree reads
// only what it found. An item deleted since the search is left out.
std::vector<FoundItem> ItemsOf(TreeReader& reader, const std::vector<TreeMatch>& matches) {
    std::vector<FoundItem> items;
    for (const TreeMatch& match : matches) {
        if (match.item.kind == TreeItemRef::Kind::Group) {
            if (auto group = reader.FindGroup(match.item.id)) {
                items.push_back({std::move(group), std::nullopt});
            }
        } else if (auto subSystem = reader.SubSystemByKey(match.item.id)) {
            items.push_back({std::nullopt, std::move(subSystem)});
        }
    }
    return items;
}

void Find(CliContext& context, const std::string& text) {
    const auto module = context.Session();
    const auto search = context.Host().Registry().Create<ITreeSearch>(progid::kTreeSearch);
    const std::vector<TreeMatch> matches = search->Find(context.Host().Context(), text);
    TreeReader reader(module);
    const std::vector<FoundItem> items = ItemsOf(reader, matches);
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
