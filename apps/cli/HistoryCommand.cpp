// history [group N | subsystem N] [--since TIME]: the changes the database logged, newest
// first, each with when, who (and through what) and field by field old -> new.
// history --verify: checks the seal of every logged change.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <tuple>

#include "CliErrors.h"
#include "Commands.h"
#include "DecimalNumber.h"
#include "Printable.h"
#include "exchange/ExchangeErrors.h"
#include "exchange/ExchangeFile.h"
#include "exchange/FieldText.h"
#include "exchange/ItemFields.h"
#include "exchange/LoggedTime.h"
#include "exchange/ReleaseUpgrade.h"
#include "host/IChangeHistory.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/ModelErrors.h"
#include "model/SealReport.h"

namespace quarn::subsysmgr::cli {

namespace {

struct HistoryOptions {
    std::string kind;  // "group", "subsystem" or "" for the whole tree
    int32_t id = 0;
    std::string since;
    bool verify = false;
    std::string against;  // an export whose head of the history to compare with
};

const char* KindName(TreeItemRef::Kind kind) {
    return kind == TreeItemRef::Kind::Group ? "group" : "subsystem";
}

const char* OperationName(ItemChange::Operation operation) {
    switch (operation) {
        case ItemChange::Operation::Added:
            return "added";
        case ItemChange::Operation::Deleted:
            return "deleted";
        case ItemChange::Operation::Changed:
            break;
    }
    return "changed";
}

// A revert's note in the session language; any other note as it was written.
std::string NoteText(const ExchangeText& text, const std::string& note) {
    const auto revert = ChangeRevert::ReadNote(note);
    if (!revert) {
        return note;
    }
    return text.Format(revert->forced ? "forced revert of change %1" : "revert of change %1",
                       {revert->change});
}

// Who made the change as the database knows it, and what it came through as the client says.
std::string WhoAndVia(const ExchangeText& text, const LoggedChange& change) {
    std::string who = change.otherProgram            ? text.Text("another program")
                      : !change.databaseUser.empty() ? Printable(change.databaseUser)
                                                     : "-";
    if (!change.client.empty()) {
        who += " " + text.Format("via %1", {Printable(change.client)});
    }
    return who;
}

// A change of the history: of an item of the tree, or of a record beside it (an account type, a
// release).
struct Entry {
    const ItemChange* item = nullptr;
    const RecordChange* record = nullptr;

    const LoggedChange& Change() const {
        return item ? static_cast<const LoggedChange&>(*item) : *record;
    }
    // Which row it is about: items and records never share one.
    std::tuple<bool, int, int32_t> Row() const {
        return item ? std::tuple(false, static_cast<int>(item->item.kind), item->item.id)
                    : std::tuple(true, static_cast<int>(record->record), record->id);
    }
};

// Both lists newest first, as one; an item's change before a record's of the same number.
std::vector<Entry> Merged(const std::vector<ItemChange>& items,
                          const std::vector<RecordChange>& records) {
    std::vector<Entry> entries;
    auto item = items.begin();
    auto record = records.begin();
    while (item != items.end() || record != records.end()) {
        if (record == records.end() || (item != items.end() && item->number >= record->number)) {
            entries.push_back({&*item++, nullptr});
        } else {
            entries.push_back({nullptr, &*record++});
        }
    }
    return entries;
}

// How many changes from `first` on carry its note, each of another row: an upgrade, or the
// revert of one, writes many rows in one transaction under one note (two reverts of the same
// change one after the other meet the same row again). 0 for a change without a note.
std::size_t SameNoteRun(std::vector<Entry>::const_iterator first,
                        std::vector<Entry>::const_iterator end) {
    const std::string& note = first->Change().note;
    if (note.empty()) {
        return 0;
    }
    std::set<std::tuple<bool, int, int32_t>> rows;
    const auto last = std::find_if(first, end, [&](const Entry& entry) {
        return entry.Change().note != note || !rows.insert(entry.Row()).second;
    });
    return static_cast<std::size_t>(last - first);
}

// A change of many rows as one line, by its newest number, with how many items and account
// types it added, changed and deleted: one item's fields are in the item's own history.
void PrintRun(CliContext& context, std::span<const Entry> run) {
    const ExchangeText& text = context.Text();
    int64_t items[3] = {};
    int64_t accountTypes[3] = {};
    for (const Entry& entry : run) {
        const auto operation = static_cast<std::size_t>(entry.Change().operation);
        if (entry.item) {
            ++items[operation];
        } else if (entry.record->record == RecordChange::Record::AccountType) {
            ++accountTypes[operation];
        }
    }
    const LoggedChange& newest = run.front().Change();
    const auto release = ReleaseUpgrade::ReleaseNoted(newest.note);
    const std::string what =
        release ? text.Format("upgrade to release %1", {*release}) : NoteText(text, newest.note);
    context.out << fmt::format("{}  {}  {}  {}: ", newest.number, LocalTimeText(newest.time),
                               WhoAndVia(text, newest), Printable(what))
                << text.Format("%1 added, %2 changed, %3 deleted", {items[0], items[1], items[2]});
    if (accountTypes[0] + accountTypes[1] + accountTypes[2] > 0) {
        context.out << "; "
                    << text.Format("account types: %1 added, %2 changed, %3 deleted",
                                   {accountTypes[0], accountTypes[1], accountTypes[2]});
    }
    context.out << '\n';
}

// What a record's change is about, as the user reads it: "account type 14", "release 2027.06".
std::string RecordName(const ExchangeText& text, const RecordChange& change) {
    if (change.record == RecordChange::Record::AccountType) {
        return text.Text("account type") + " " + std::to_string(change.id);
    }
    const DictionaryPtr& side = change.after ? change.after : change.before;
    const Variant name = side ? side->Item("FName") : Variant();
    return text.Text("release") + " " +
           (name.IsEmpty() || name.IsNull() ? std::to_string(change.id) : name.TextOrEmpty());
}

// A change for --json; `row` names the item or record it is about under `rowKey`.
Json ChangeJson(const LoggedChange& change, const char* rowKey, Json row,
                const std::vector<FieldDifference>& differences) {
    Json fields = Json::object();
    for (const FieldDifference& field : differences) {
        fields[field.key] = {{"old", field.before}, {"new", field.after}};
    }
    Json json{{"change", change.number},
              {"time", change.time},
              {"user", change.databaseUser},
              {"client", change.client},
              {"otherProgram", change.otherProgram},
              {"operation", OperationName(change.operation)},
              {rowKey, std::move(row)},
              {"fields", fields}};
    if (!change.note.empty()) {
        json["note"] = change.note;
    }
    return json;
}

void PrintChange(CliContext& context, const LoggedChange& change, const std::string& subject,
                 const std::vector<FieldDifference>& differences,
                 const std::function<std::string(const std::string& key)>& caption,
                 const FieldText& fieldText) {
    const ExchangeText& text = context.Text();
    context.out << fmt::format("{}  {}  {}  {}  {}", change.number, LocalTimeText(change.time),
                               WhoAndVia(text, change), subject,
                               text.Text(OperationName(change.operation)));
    if (!change.note.empty()) {
        context.out << "  (" << Printable(NoteText(text, change.note)) << ")";
    }
    context.out << '\n';
    for (const FieldDifference& field : differences) {
        context.out << fmt::format("    {}: {} -> {}\n", caption(field.key),
                                   Printable(fieldText.Value(field.key, field.before)),
                                   Printable(fieldText.Value(field.key, field.after)));
    }
}

void ShowHistory(CliContext& context, const HistoryOptions& options) {
    const auto since =
        options.since.empty() ? std::optional<std::string>("") : UtcOfTypedTime(options.since);
    if (!since) {
        context.Text().Raise(errors::kNotATime, {options.since});
    }
    const auto module = context.Session();
    const auto history = context.Host().Registry().Create<IChangeHistory>(progid::kChangeHistory);
    const std::string session = context.Host().Context();
    if (!history->IsLogged(session)) {
        RaiseLocalized(*module, subsysmgr::errors::kNoChangeLog);
    }
    std::optional<TreeItemRef> item;
    if (!options.kind.empty()) {
        item = TreeItemRef{
            options.kind == "group" ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem,
            options.id};
    }
    const ExchangeText& text = context.Text();
    const FieldText fieldText(module, text);
    Json json = Json::array();
    const std::vector<ItemChange> changes = history->Changes(session, item, *since);
    // The account types and releases belong to the whole tree's history, not to an item's.
    const std::vector<RecordChange> records =
        item ? std::vector<RecordChange>{} : history->RecordChanges(session, *since);
    const std::vector<Entry> entries = Merged(changes, records);
    for (auto next = entries.begin(); next != entries.end(); ++next) {
        if (!context.options.json && !item) {
            if (const auto run = SameNoteRun(next, entries.end()); run > 1) {
                PrintRun(context, std::span(next, run));
                next += static_cast<std::ptrdiff_t>(run - 1);
                continue;
            }
        }
        if (const RecordChange* record = next->record) {
            const std::vector<FieldDifference> differences = LoggedFields(*record);
            if (context.options.json) {
                const char* kind =
                    record->record == RecordChange::Record::AccountType ? "accountType" : "release";
                json.push_back(ChangeJson(*record, "record", {{"kind", kind}, {"id", record->id}},
                                          differences));
                continue;
            }
            PrintChange(
                context, *record, RecordName(text, *record), differences,
                [&](const std::string& key) { return fieldText.RecordCaption(key); }, fieldText);
            continue;
        }
        const ItemChange& change = *next->item;
        const std::vector<FieldDifference> differences = LoggedFields(change);
        if (context.options.json) {
            json.push_back(ChangeJson(
                change, "item", {{"kind", KindName(change.item.kind)}, {"id", change.item.id}},
                differences));
            continue;
        }
        PrintChange(
            context, change,
            text.Text(KindName(change.item.kind)) + " " + std::to_string(change.item.id),
            differences,
            [&](const std::string& key) { return fieldText.Caption(change.item.kind, key); },
            fieldText);
    }
    if (context.options.json) {
        context.Print(json);
    }
}

const char* FindingName(SealCheck::Finding finding) {
    switch (finding) {
        case SealCheck::Finding::Intact:
            return "intact";
        case SealCheck::Finding::Altered:
            return "altered";
        case SealCheck::Finding::Removed:
            return "removed";
        case SealCheck::Finding::Unsealed:
            return "unsealed";
        case SealCheck::Finding::NotSealed:
            break;
    }
    return "not sealed";
}

// What comparing with an export's head found, in words.
std::string ExportText(const ExchangeText& text, const SealCheck& check,
                       const ChainHead& exported) {
    if (!check.matchesExport) {
        return text.Format(
            "Change %1, the newest the export saw, was pruned since: the export cannot be "
            "compared.",
            {exported.change});
    }
    return *check.matchesExport
               ? text.Format(
                     "Change %1, the newest the export saw, still has the seal the export "
                     "recorded.",
                     {exported.change})
               : text.Format(
                     "The history was rewritten after the export: change %1 no longer has "
                     "the seal the export recorded.",
                     {exported.change});
}

// Exit code 1 when a change is found altered, removed or unsealed, or the history
// no longer holds the head of the export `against` names.
int VerifyHistory(CliContext& context, const std::string& against) {
    std::optional<ChainHead> exported;
    if (!against.empty()) {
        const std::string name = against == "-" ? "<stdin>" : against;
        exported = ReadExchange(ReadInput(context, against), name, context.Text()).history;
        if (!exported) {
            context.Text().Raise(exchange::errors::kNoHistoryHead, {name});
        }
    }
    const auto module = context.Session();
    const auto history = context.Host().Registry().Create<IChangeHistory>(progid::kChangeHistory);
    const std::string session = context.Host().Context();
    if (!history->IsLogged(session)) {
        RaiseLocalized(*module, subsysmgr::errors::kNoChangeLog);
    }
    const SealCheck check = history->VerifySeals(session, exported);
    const bool sound = (check.finding == SealCheck::Finding::Intact ||
                        check.finding == SealCheck::Finding::NotSealed) &&
                       check.matchesExport != false;
    if (context.options.json) {
        Json json{{"finding", FindingName(check.finding)},
                  {"checked", check.checked},
                  {"awaitingSeal", check.awaitingSeal},
                  {"head", {{"change", check.head.change}, {"seal", check.head.seal}}}};
        if (check.finding != SealCheck::Finding::Intact &&
            check.finding != SealCheck::Finding::NotSealed) {
            json["change"] = check.change;
        }
        if (exported) {
            json["export"] = {
                {"change", exported->change},
                {"seal", exported->seal},
                {"matches", check.matchesExport ? Json(*check.matchesExport) : Json(nullptr)}};
        }
        context.Print(json);
        return sound ? kExitOk : kExitError;
    }
    const ExchangeText& text = context.Text();
    const SealReport report = DescribeSealCheck(*module, check);
    context.out << report.finding << '\n';
    if (!report.awaiting.empty()) {
        context.out << report.awaiting << '\n';
    }
    if (exported) {
        context.out << ExportText(text, check, *exported) << '\n';
    }
    if (check.head.change > 0) {
        context.out << text.Format("Newest sealed change: %1, seal %2.",
                                   {check.head.change, check.head.seal})
                    << '\n';
    }
    context.out << report.limit << '\n';
    return sound ? kExitOk : kExitError;
}

}  // namespace

void AddHistoryCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<HistoryOptions>();
    auto* history = app.add_subcommand(
        "history", "The logged changes of one item or of the whole tree, newest first");
    history->add_option("kind", options->kind, "group or subsystem")
        ->check(CLI::IsMember({"group", "subsystem"}));
    history->add_option("id", options->id, "Identifier")->transform(DecimalNumber());
    history->add_option("--since", options->since,
                        "Only changes at or after this local date or time (UTC when it ends in Z)");
    history->add_flag("--verify", options->verify,
                      "Check the seal of every logged change instead of listing them; exit code 1 "
                      "names the first change altered, removed or inserted");
    history->add_option("--against", options->against,
                        "With --verify: an export file (- for standard input) whose recorded "
                        "newest change must still have the same seal");
    history->callback([&context, options] {
        if (!options->against.empty() && !options->verify) {
            context.Text().Raise(errors::kCommandLine, {"history --against: --verify"});
        }
        if (options->verify) {
            if (!options->kind.empty() || !options->since.empty()) {
                context.Text().Raise(errors::kCommandLine, {"history --verify"});
            }
            context.exitCode = VerifyHistory(context, options->against);
            return;
        }
        if (!options->kind.empty() && options->id == 0) {
            context.Text().Raise(errors::kCommandLine, {"history " + options->kind + ": id"});
        }
        ShowHistory(context, *options);
    });
}

}  // namespace quarn::subsysmgr::cli
