// revert CHANGE [group N | subsystem N] [--force]: the item of a logged change restored to what
// it was before, through the business objects.

#include <CLI/CLI.hpp>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "CliErrors.h"
#include "Commands.h"
#include "DecimalNumber.h"
#include "exchange/TreeReader.h"
#include "host/IReleaseStore.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"

namespace quarn::subsysmgr::cli {

namespace {

struct RevertOptions {
    int64_t change = 0;
    std::string kind;  // names the item when the change wrote several
    int32_t id = 0;
    bool force = false;
};

const char* ActionName(ChangeRevert::Action action) {
    switch (action) {
        case ChangeRevert::Action::Restored:
            return "restored";
        case ChangeRevert::Action::Deleted:
            return "deleted";
        case ChangeRevert::Action::Recreated:
            return "recreated";
        case ChangeRevert::Action::Unchanged:
            break;
    }
    return "unchanged";
}

// The same in words, a key of the tool's catalogs.
const char* ActionWords(ChangeRevert::Action action) {
    return action == ChangeRevert::Action::Recreated ? "added again" : ActionName(action);
}

// An upgrade is one change of many items: taken back as a whole, by the one writer of delivered
// rows. Returns false for any other change.
bool RevertUpgrade(CliContext& context, const RevertOptions& options) {
    const auto store = context.Session()->registry->Create<IReleaseStore>(progid::kReleaseStore);
    const std::optional<ReleaseChange> upgrade = store->UpgradeOf(options.change);
    if (!upgrade || !options.kind.empty()) {
        return false;
    }
    store->RevertUpgrade(options.change, options.force,
                         ChangeRevert::Note(upgrade->change, options.force));
    if (context.options.json) {
        context.Print(Json{{"change", upgrade->change},
                           {"forced", options.force},
                           {"outcome", "upgradeReverted"},
                           {"release", upgrade->release.name}});
        return true;
    }
    context.out << context.Text().Format(options.force
                                             ? "Forced the revert of change %1: the upgrade to "
                                               "release %2 taken back."
                                             : "Reverted change %1: the upgrade to release %2 "
                                               "taken back.",
                                         {upgrade->change, upgrade->release.name})
                << '\n';
    return true;
}

void Revert(CliContext& context, const RevertOptions& options) {
    if (RevertUpgrade(context, options)) {
        return;
    }
    const auto module = context.Session();
    std::optional<TreeItemRef> item;
    if (!options.kind.empty()) {
        item = TreeItemRef{
            options.kind == "group" ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem,
            options.id};
    }
    const ChangeRevert::Outcome outcome =
        ChangeRevert(module).Revert(options.change, options.force, item);
    const bool group = outcome.item.kind == TreeItemRef::Kind::Group;
    const char* kind = group ? "group" : "subsystem";
    if (!context.options.json) {
        const ExchangeText& text = context.Text();
        context.out << text.Format(outcome.forced ? "Forced the revert of change %1: %2 %3 %4."
                                                  : "Reverted change %1: %2 %3 %4.",
                                   {outcome.change, text.Text(kind), outcome.item.id,
                                    text.Text(ActionWords(outcome.action))})
                    << '\n';
        return;
    }
    TreeReader reader(module);
    Json stored = nullptr;
    if (group) {
        if (const auto found = reader.FindGroup(outcome.item.id)) {
            stored = ToJson(*found);
        }
    } else if (const auto found = reader.FindSubSystem(outcome.item.id)) {
        stored = ToJson(*found);
    }
    context.Print(Json{{"change", outcome.change},
                       {"forced", outcome.forced},
                       {"outcome", ActionName(outcome.action)},
                       {"item", {{"kind", kind}, {"id", outcome.item.id}}},
                       {"stored", stored}});
}

}  // namespace

void AddRevertCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<RevertOptions>();
    auto* revert = app.add_subcommand(
        "revert", "Restore the item of a logged change (see history) to what it was before");
    revert->add_option("change", options->change, "Change number")
        ->transform(
            DecimalNumber(std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()))
        ->required();
    revert->add_option("kind", options->kind, "group or subsystem, if the change wrote several")
        ->check(CLI::IsMember({"group", "subsystem"}));
    revert->add_option("id", options->id, "Identifier")->transform(DecimalNumber());
    revert->add_flag("--force", options->force,
                     "Revert even when the item changed again since; its later changes are lost");
    revert->callback([&context, options] {
        if (!options->kind.empty() && options->id == 0) {
            context.Text().Raise(errors::kCommandLine, {"revert " + options->kind + ": id"});
        }
        Revert(context, *options);
    });
}

}  // namespace quarn::subsysmgr::cli
