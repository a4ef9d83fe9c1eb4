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
#include "exchange/ReleaseUpgrade.h"
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

// Hands over each group the viewer is shown (every group without a viewer), then each subsystem
// shown under it, in the tree's order as it is read.
void EachShown(const std::shared_ptr<ModuleState>& module, const std::optional<Viewer>& viewer,
               const TreeReader::OnGroup& group, const TreeReader::OnSubSystem& subSystem) {
    bool groupShown = false;
    ShownFields groupFields;
    std::string groupTypes;  // what groupFields refers to
    TreeReader(module).EachInTree(
        [&](const GroupItem& item) {
            if (viewer) {
                groupTypes = FormatAccountTypes(item.accountTypes);
                groupFields = ShownFields{item.visible, item.web, groupTypes};
            }
            groupShown = !viewer || IsShown(groupFields, *viewer);
            if (groupShown) {
                group(item);
            }
        },
        [&](const SubSystemItem& item) {
            if (!groupShown) {
                return;
            }
            if (viewer) {
                const std::string types = FormatAccountTypes(item.accountTypes);
                if (!IsShown(ShownFields{item.visible, item.web, types}, groupFields, *viewer)) {
                    return;
                }
            }
            subSystem(item);
        });
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
    const InvalidBytes shown = ShownInvalidBytes(context);
    if (context.options.json) {
        Json groups = Json::array();
        EachShown(
            module, viewer,
            [&](const GroupItem& group) {
                WarnOfInvalidText(context, group, shown);
                groups.push_back(ToJson(group));
                groups.back()["subsystems"] = Json::array();
            },
            [&](const SubSystemItem& subSystem) {
                WarnOfInvalidText(context, subSystem, shown);
                groups.back()["subsystems"].push_back(ToJson(subSystem));
            });
        context.Print(Json{{"groups", std::move(groups)}});
        return;
    }
    // A reminder that blocks nothing: the delivered items are older than this program's.
    if (const ReleaseState state = ReleaseUpgrade::StateOf(*module); state.Older()) {
        const ExchangeText& text = context.Text();
        context.out << (state.database
                            ? text.Format(
                                  "The database is on release %1 (%2), older than this "
                                  "program's %3 (%4): subsysmgr upgrade brings it up to date.",
                                  {state.database->name, state.database->date, state.program.name,
                                   state.program.date})
                            : text.Format("The database records no release, this program's is %1 "
                                          "(%2): subsysmgr upgrade brings it up to date.",
                                          {state.program.name, state.program.date}))
                    << '\n';
    }
    // Printed as read: the tree is never held whole.
    const std::string& language = context.options.language;
    std::string line;
    EachShown(
        module, viewer,
        [&](const GroupItem& group) {
            WarnOfInvalidText(context, group, shown);
            line.clear();
            fmt::format_to(std::back_inserter(line), "{:>5}  ", group.id);
            AppendPrintable(line, group.names.In(language));
            line += '\n';
            context.out << line;
        },
        [&](const SubSystemItem& subSystem) {
            WarnOfInvalidText(context, subSystem, shown);
            line.clear();
            fmt::format_to(std::back_inserter(line), "      {:>6}  ", subSystem.id);
            AppendPrintable(line, subSystem.names.In(language));
            line += '\n';
            context.out << line;
        });
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
