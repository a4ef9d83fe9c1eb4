// tree, groups and subsystems: the tree read through the business objects, as text or JSON.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <memory>

#include "CliErrors.h"
#include "Commands.h"
#include "DecimalNumber.h"
#include "TreeReader.h"

namespace quarn::subsysmgr::cli {

namespace {

void PrintTree(CliContext& context) {
    const auto tree = TreeReader(context.Session()).Tree();
    if (context.options.json) {
        Json groups = Json::array();
        for (const GroupNode& node : tree) {
            Json group = ToJson(node.group);
            group["subsystems"] = Json::array();
            for (const SubSystemItem& subSystem : node.subSystems) {
                group["subsystems"].push_back(ToJson(subSystem));
            }
            groups.push_back(std::move(group));
        }
        context.Print(Json{{"groups", std::move(groups)}});
        return;
    }
    const std::string& language = context.options.language;
    for (const GroupNode& node : tree) {
        context.out << fmt::format("{:>5}  {}\n", node.group.id, node.group.names.In(language));
        for (const SubSystemItem& subSystem : node.subSystems) {
            context.out << fmt::format("      {:>6}  {}\n", subSystem.id,
                                       subSystem.names.In(language));
        }
    }
}

void PrintGroups(CliContext& context) {
    const auto tree = TreeReader(context.Session()).Tree();
    if (context.options.json) {
        Json groups = Json::array();
        for (const GroupNode& node : tree) {
            groups.push_back(ToJson(node.group));
        }
        context.Print(Json{{"groups", std::move(groups)}});
        return;
    }
    const CliText& text = context.Text();
    context.out << fmt::format("{:>5}  {:>5}  {:<7}  {:<7}  {:<13}  {}\n", text.Text("ID"),
                               text.Text("Order"), text.Text("Desktop"), text.Text("Web"),
                               text.Text("Account types"), text.Text("Name"));
    for (const GroupNode& node : tree) {
        const GroupItem& group = node.group;
        context.out << fmt::format("{:>5}  {:>5}  {:<7}  {:<7}  {:<13}  {}\n", group.id,
                                   group.index, text.YesNo(group.visible), text.YesNo(group.web),
                                   AccountTypeText(group.accountTypes),
                                   group.names.In(context.options.language));
    }
}

void PrintSubSystems(CliContext& context, std::optional<int32_t> groupId) {
    auto tree = TreeReader(context.Session()).Tree();
    if (groupId) {
        std::erase_if(tree, [&](const GroupNode& node) { return node.group.id != *groupId; });
        if (tree.empty()) {
            context.Text().Raise(errors::kUnknownGroup, {*groupId});
        }
    }
    if (context.options.json) {
        Json subSystems = Json::array();
        for (const GroupNode& node : tree) {
            for (const SubSystemItem& subSystem : node.subSystems) {
                subSystems.push_back(ToJson(subSystem));
            }
        }
        context.Print(Json{{"subsystems", std::move(subSystems)}});
        return;
    }
    const CliText& text = context.Text();
    context.out << fmt::format("{:>6}  {:>5}  {:>5}  {:<10}  {:<7}  {:<7}  {:<13}  {}\n",
                               text.Text("ID"), text.Text("Group"), text.Text("Order"),
                               text.Text("Short code"), text.Text("Desktop"), text.Text("Web"),
                               text.Text("Account types"), text.Text("Name"));
    for (const GroupNode& node : tree) {
        for (const SubSystemItem& sub : node.subSystems) {
            context.out << fmt::format(
                "{:>6}  {:>5}  {:>5}  {:<10}  {:<7}  {:<7}  {:<13}  {}\n", sub.id, sub.group,
                sub.index, sub.number, text.YesNo(sub.visible), text.YesNo(sub.web),
                AccountTypeText(sub.accountTypes), sub.names.In(context.options.language));
        }
    }
}

}  // namespace

void AddListCommands(CLI::App& app, CliContext& context) {
    app.add_subcommand("tree", "Groups in display order with their subsystems")
        ->callback([&context] { PrintTree(context); });
    app.add_subcommand("groups", "Every group with its fields")->callback([&context] {
        PrintGroups(context);
    });

    auto* subSystems = app.add_subcommand("subsystems", "Subsystems with their fields");
    auto group = std::make_shared<int32_t>(0);
    auto* groupOption = subSystems->add_option("--group", *group, "Only those of this group")
                            ->transform(DecimalNumber());
    subSystems->callback([&context, group, groupOption] {
        PrintSubSystems(context, groupOption->count() > 0 ? std::optional(*group) : std::nullopt);
    });
}

}  // namespace quarn::subsysmgr::cli
