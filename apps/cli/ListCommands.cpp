// tree, groups and subsystems: the tree read through the business objects, as text or JSON;
// the tree also as a user of one account type sees it in one console.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>

#include "CliErrors.h"
#include "Commands.h"
#include "DecimalNumber.h"
#include "InvalidTextWarning.h"
#include "Printable.h"
#include "exchange/ExchangeErrors.h"
#include "exchange/TreeReader.h"
#include "foundation/Recordset.h"
#include "model/ModelErrors.h"
#include "model/Visibility.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::cli {

namespace {

// Raises the editors' kAccountTypeNotOffered for an account type that the store does not know: a
// mistyped one would show an empty tree.
void RequireAccountType(ModuleState& module, int32_t accountType) {
    const RecordsetPtr types = GetAccountTypes(module);
    for (; types && types->State() != 0 && !types->Eof(); types->MoveNext()) {
        if (types->Fields("FAcctType").ToInt32() == accountType) {
            return;
        }
    }
    const ErrorDefinition& error = subsysmgr::errors::kAccountTypeNotOffered;
    throw ComError(error.Number(), std::string(error.source),
                   FormatLocalText(module, error.message, {accountType}));
}

// The groups the viewer is shown, each with the subsystems shown under it.
std::vector<GroupNode> AsSeenBy(std::vector<GroupNode> tree, const Viewer& viewer) {
    std::vector<GroupNode> seen;
    for (GroupNode& node : tree) {
        const std::string groupTypes = FormatAccountTypes(node.group.accountTypes);
        const ShownFields group{node.group.visible, node.group.web, groupTypes};
        if (!IsShown(group, viewer)) {
            continue;
        }
        std::erase_if(node.subSystems, [&](const SubSystemItem& subSystem) {
            const std::string types = FormatAccountTypes(subSystem.accountTypes);
            return !IsShown(ShownFields{subSystem.visible, subSystem.web, types}, group, viewer);
        });
        seen.push_back(std::move(node));
    }
    return seen;
}

// A warning for each text of the listed groups, or their subsystems, that is not valid UTF-8.
void WarnOfInvalidText(CliContext& context, const std::vector<GroupNode>& tree, bool groups,
                       bool subSystems) {
    const InvalidBytes shown = ShownInvalidBytes(context);
    for (const GroupNode& node : tree) {
        if (groups) {
            WarnOfInvalidText(context, node.group, shown);
        }
        if (!subSystems) {
            continue;
        }
        for (const SubSystemItem& subSystem : node.subSystems) {
            WarnOfInvalidText(context, subSystem, shown);
        }
    }
}

void PrintTree(CliContext& context, std::optional<Viewer> viewer) {
    const auto module = context.Session();
    if (viewer) {
        RequireAccountType(*module, viewer->accountType);
    }
    auto tree = TreeReader(module).Tree();
    if (viewer) {
        tree = AsSeenBy(std::move(tree), *viewer);
    }
    WarnOfInvalidText(context, tree, true, true);
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
        context.out << fmt::format("{:>5}  {}\n", node.group.id,
                                   Printable(node.group.names.In(language)));
        for (const SubSystemItem& subSystem : node.subSystems) {
            context.out << fmt::format("      {:>6}  {}\n", subSystem.id,
                                       Printable(subSystem.names.In(language)));
        }
    }
}

void PrintGroups(CliContext& context) {
    const auto tree = TreeReader(context.Session()).Tree();
    WarnOfInvalidText(context, tree, true, false);
    if (context.options.json) {
        Json groups = Json::array();
        for (const GroupNode& node : tree) {
            groups.push_back(ToJson(node.group));
        }
        context.Print(Json{{"groups", std::move(groups)}});
        return;
    }
    const ExchangeText& text = context.Text();
    context.out << fmt::format("{:>5}  {:>5}  {:<7}  {:<7}  {:<13}  {}\n", text.Text("ID"),
                               text.Text("Order"), text.Text("Desktop"), text.Text("Web"),
                               text.Text("Account types"), text.Text("Name"));
    for (const GroupNode& node : tree) {
        const GroupItem& group = node.group;
        context.out << fmt::format("{:>5}  {:>5}  {:<7}  {:<7}  {:<13}  {}\n", group.id,
                                   group.index, text.YesNo(group.visible), text.YesNo(group.web),
                                   AccountTypeText(group.accountTypes),
                                   Printable(group.names.In(context.options.language)));
    }
}

void PrintSubSystems(CliContext& context, std::optional<int32_t> groupId) {
    auto tree = TreeReader(context.Session()).Tree();
    if (groupId) {
        std::erase_if(tree, [&](const GroupNode& node) { return node.group.id != *groupId; });
        if (tree.empty()) {
            context.Text().Raise(exchange::errors::kUnknownGroup, {*groupId});
        }
    }
    WarnOfInvalidText(context, tree, false, true);
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
    const ExchangeText& text = context.Text();
    context.out << fmt::format("{:>6}  {:>5}  {:>5}  {:<10}  {:<7}  {:<7}  {:<13}  {}\n",
                               text.Text("ID"), text.Text("Group"), text.Text("Order"),
                               text.Text("Short code"), text.Text("Desktop"), text.Text("Web"),
                               text.Text("Account types"), text.Text("Name"));
    for (const GroupNode& node : tree) {
        for (const SubSystemItem& sub : node.subSystems) {
            context.out << fmt::format("{:>6}  {:>5}  {:>5}  {:<10}  {:<7}  {:<7}  {:<13}  {}\n",
                                       sub.id, sub.group, sub.index, Printable(sub.number),
                                       text.YesNo(sub.visible), text.YesNo(sub.web),
                                       AccountTypeText(sub.accountTypes),
                                       Printable(sub.names.In(context.options.language)));
        }
    }
}

}  // namespace

void AddListCommands(CLI::App& app, CliContext& context) {
    auto* tree = app.add_subcommand("tree", "Groups in display order with their subsystems");
    auto accountType = std::make_shared<int32_t>(0);
    auto console = std::make_shared<std::string>("main");
    auto* accountTypeOption = tree->add_option("--as-account-type", *accountType,
                                               "Only what a user of this account type is shown")
                                  ->transform(DecimalNumber());
    tree->add_option("--console", *console, "The console of --as-account-type (default main)")
        ->transform(CLI::IsMember({"main", "web"}, CLI::ignore_case))
        ->needs(accountTypeOption);
    tree->callback([&context, accountType, console, accountTypeOption] {
        std::optional<Viewer> viewer;
        if (accountTypeOption->count() > 0) {
            viewer = Viewer{*accountType, *console == "web" ? Console::Web : Console::Main};
        }
        PrintTree(context, viewer);
    });
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
