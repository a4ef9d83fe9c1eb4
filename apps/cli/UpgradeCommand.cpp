// upgrade [--release FILE] [--dry-run] [--move-orphans-to ID]: the delivered groups, subsystems
// and account types brought to a release of the suite (the program's own without a file), with a
// preview of every item and of every conflict with a customer or platform item.

#include <CLI/CLI.hpp>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "Commands.h"
#include "DecimalNumber.h"
#include "Findings.h"
#include "Printable.h"
#include "exchange/FieldText.h"
#include "exchange/ReleaseUpgrade.h"
#include "suite/DataPaths.h"

namespace quarn::subsysmgr::cli {

namespace {

struct UpgradeOptions {
    std::string file;
    bool dryRun = false;
    std::optional<int32_t> moveOrphansTo;
};

constexpr UpgradeOutcome kOutcomes[] = {UpgradeOutcome::Added, UpgradeOutcome::Changed,
                                        UpgradeOutcome::Moved, UpgradeOutcome::Removed,
                                        UpgradeOutcome::Unchanged};

const char* KindOf(const TreeItemRef& item) {
    return item.kind == TreeItemRef::Kind::Group ? "group" : "subsystem";
}

Json ReleaseJson(const std::optional<SuiteRelease>& release) {
    if (!release) {
        return nullptr;
    }
    return Json{{"name", release->name}, {"date", release->date}};
}

Json ItemJson(const UpgradeItem& item) {
    Json entry{{"kind", item.kind},
               {"id", item.id},
               {"names", ToJson(item.names)},
               {"outcome", OutcomeName(item.outcome)}};
    if (!item.changes.empty()) {
        Json changes = Json::array();
        for (const FieldDifference& change : item.changes) {
            changes.push_back(
                {{"field", change.key}, {"old", change.before}, {"new", change.after}});
        }
        entry["changes"] = std::move(changes);
    }
    if (!item.conflicts.empty()) {
        Json conflicts = Json::array();
        for (const UpgradeConflict& conflict : item.conflicts) {
            Json one{{"kind", ConflictName(conflict.kind)}, {"resolved", conflict.Resolved()}};
            if (conflict.other) {
                one["other"] = {{"kind", KindOf(*conflict.other)},
                                {"id", conflict.other->id},
                                {"names", ToJson(conflict.otherNames)}};
            }
            if (!conflict.language.empty()) {
                one["language"] = conflict.language;
            }
            if (conflict.kind == ConflictKind::StillUsed) {
                one["uses"] = conflict.uses;
            }
            if (conflict.movedTo) {
                one["movedTo"] = *conflict.movedTo;
            }
            conflicts.push_back(std::move(one));
        }
        entry["conflicts"] = std::move(conflicts);
    }
    return entry;
}

// A conflict in words: the customer or platform item named by kind, identifier and name.
std::string ConflictLine(const ExchangeText& text, const std::string& language,
                         const UpgradeConflict& conflict) {
    const auto other = [&] {
        return std::vector<Variant>{text.Text(KindOf(*conflict.other)), conflict.other->id,
                                    Printable(conflict.otherNames.In(language))};
    };
    switch (conflict.kind) {
        case ConflictKind::Orphan:
            if (conflict.movedTo) {
                auto arguments = other();
                arguments.push_back(*conflict.movedTo);
                return text.Format("%1 %2 %3 is moved to group %4", arguments);
            }
            return text.Format(
                "conflict: %1 %2 %3 is still in this group (--move-orphans-to names a customer "
                "group to move it to)",
                other());
        case ConflictKind::NameTaken: {
            auto arguments = other();
            arguments.push_back(text.Text(conflict.language == "CHS"   ? "simplified Chinese"
                                          : conflict.language == "CHT" ? "traditional Chinese"
                                                                       : "English"));
            return text.Format("conflict: %1 %2 %3 already has this %4 name", arguments);
        }
        case ConflictKind::StillUsed:
            return text.Format("conflict: %1 business objects, reports or flows refer to it",
                               {conflict.uses});
        case ConflictKind::AccountTypeInUse:
            break;
    }
    return text.Format("conflict: %1 %2 %3 uses this account type", other());
}

void PrintItem(CliContext& context, const FieldText& fields, const UpgradeItem& item) {
    const ExchangeText& text = context.Text();
    const std::string& language = context.options.language;
    const bool accountType = item.kind == "accountType";
    context.out << text.Text(accountType ? "account type" : item.kind) << ' ' << item.id << ' '
                << Printable(item.names.In(language)) << ": "
                << text.Text(OutcomeName(item.outcome)) << '\n';
    const auto kind =
        item.kind == "subsystem" ? TreeItemRef::Kind::SubSystem : TreeItemRef::Kind::Group;
    for (const FieldDifference& change : item.changes) {
        context.out << "  "
                    << (accountType ? fields.RecordCaption(change.key)
                                    : fields.Caption(kind, change.key))
                    << ": " << Printable(fields.Value(change.key, change.before)) << " -> "
                    << Printable(fields.Value(change.key, change.after)) << '\n';
    }
    for (const UpgradeConflict& conflict : item.conflicts) {
        context.out << "  " << ConflictLine(text, language, conflict) << '\n';
    }
}

void PrintCheckAfter(CliContext& context, const std::vector<TreeFinding>& findings) {
    const ExchangeText& text = context.Text();
    if (findings.empty()) {
        context.out << text.Text("After the upgrade, check would find no problems.") << '\n';
        return;
    }
    context.out << text.Format(findings.size() == 1
                                   ? "After the upgrade, check would find %1 problem:"
                                   : "After the upgrade, check would find %1 problems:",
                               {static_cast<int64_t>(findings.size())})
                << '\n';
    for (const TreeFinding& finding : findings) {
        context.out << "  " << FindingLine(finding) << '\n';
    }
}

void Report(CliContext& context, const UpgradePlan& plan, bool dryRun, bool applied,
            const std::optional<std::vector<TreeFinding>>& checkAfter) {
    std::map<UpgradeOutcome, int64_t> counts;
    for (const UpgradeItem& item : plan.items) {
        ++counts[item.outcome];
    }
    const auto conflicts = static_cast<int64_t>(plan.Conflicts());
    if (context.options.json) {
        Json items = Json::array();
        for (const UpgradeItem& item : plan.items) {
            items.push_back(ItemJson(item));
        }
        Json report{{"dryRun", dryRun},
                    {"applied", applied},
                    {"release", ReleaseJson(plan.release.header)},
                    {"from", ReleaseJson(plan.from)},
                    {"items", std::move(items)}};
        for (const UpgradeOutcome outcome : kOutcomes) {
            report[std::string(OutcomeName(outcome))] = counts[outcome];
        }
        report["conflicts"] = conflicts;
        if (checkAfter) {
            Json findings = Json::array();
            for (const TreeFinding& finding : *checkAfter) {
                findings.push_back(FindingJson(finding));
            }
            report["checkAfter"] = std::move(findings);
        }
        context.Print(report);
        return;
    }
    const ExchangeText& text = context.Text();
    const FieldText fields(context.Session(), text);
    context.out << (plan.from ? text.Format("Release %1 (%2) over release %3 (%4).",
                                            {plan.release.header.name, plan.release.header.date,
                                             plan.from->name, plan.from->date})
                              : text.Format("Release %1 (%2) over a database that records no "
                                            "release.",
                                            {plan.release.header.name, plan.release.header.date}))
                << '\n';
    for (const UpgradeItem& item : plan.items) {
        if (item.outcome != UpgradeOutcome::Unchanged || !item.conflicts.empty()) {
            PrintItem(context, fields, item);
        }
    }
    std::vector<Variant> numbers;
    for (const UpgradeOutcome outcome : kOutcomes) {
        numbers.emplace_back(counts[outcome]);
    }
    numbers.emplace_back(conflicts);
    if (dryRun) {
        context.out << text.Format(
            "Dry run, nothing was written: %1 to add, %2 to change, %3 to "
            "move, %4 to remove, %5 unchanged, %6 conflicts.",
            numbers);
    } else if (applied) {
        numbers.insert(numbers.begin(), plan.release.header.name);
        context.out << text.Format(
            "Upgraded to release %1: %2 added, %3 changed, %4 moved, %5 "
            "removed, %6 unchanged.",
            numbers);
    } else if (conflicts == 0) {
        context.out << text.Format("The database is on release %1 already; nothing to do.",
                                   {plan.release.header.name});
    } else {
        context.out << text.Format(
            "%6 conflicts: %1 to add, %2 to change, %3 to move, %4 to "
            "remove, %5 unchanged; nothing was written.",
            numbers);
    }
    context.out << '\n';
    if (checkAfter) {
        PrintCheckAfter(context, *checkAfter);
    }
}

void Upgrade(CliContext& context, const UpgradeOptions& options) {
    const std::string file =
        options.file.empty() ? suite::ShippedReleaseFile().string() : options.file;
    Release release =
        ReadRelease(ReadInput(context, file), file == "-" ? "<stdin>" : file, context.Text());
    ReleaseUpgrade upgrade(context.Session(), context.Text());
    const UpgradePlan plan = upgrade.Plan(std::move(release), options.moveOrphansTo);
    const bool refused = plan.Conflicts() > 0;
    const bool applied = !options.dryRun && !refused && !plan.NothingToDo();
    if (applied) {
        upgrade.Apply(plan);
    }
    std::optional<std::vector<TreeFinding>> checkAfter;
    if (options.dryRun && !refused && !plan.NothingToDo()) {
        checkAfter = upgrade.CheckAfter(plan);
    }
    Report(context, plan, options.dryRun, applied, checkAfter);
    if (refused) {
        context.exitCode = kExitDataError;
        if (!options.dryRun) {
            upgrade.Apply(plan);  // raises the refusal, naming the release and the conflicts
        }
    }
}

}  // namespace

void AddUpgradeCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<UpgradeOptions>();
    auto* upgrade = app.add_subcommand(
        "upgrade", "Bring the delivered groups, subsystems and account types to a release");
    upgrade->add_option("--release", options->file,
                        "The release file (- for the input); without it this program's release");
    upgrade->add_flag("--dry-run", options->dryRun,
                      "Show what the upgrade would do, field by field, and write nothing");
    upgrade
        ->add_option("--move-orphans-to", options->moveOrphansTo,
                     "Move customer and platform subsystems out of groups the release removes "
                     "into this customer group")
        ->transform(DecimalNumber());
    upgrade->callback([&context, options] { Upgrade(context, *options); });
}

}  // namespace quarn::subsysmgr::cli
