// history [group N | subsystem N] [--since TIME]: the changes the database logged, newest
// first, each with when, who and field by field old -> new.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>
#include <regex>
#include <string>

#include "CliErrors.h"
#include "Commands.h"
#include "DecimalNumber.h"
#include "host/IChangeHistory.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/ModelErrors.h"

namespace quarn::subsysmgr::cli {

namespace {

struct HistoryOptions {
    std::string kind;  // "group", "subsystem" or "" for the whole tree
    int32_t id = 0;
    std::string since;
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
std::string NoteText(const CliText& text, const std::string& note) {
    const auto revert = ChangeRevert::ReadNote(note);
    if (!revert) {
        return note;
    }
    return text.Format(revert->forced ? "forced revert of change %1" : "revert of change %1",
                       {revert->change});
}

Json ToJson(const Variant& value) {
    if (value.IsNull() || value.IsEmpty()) {
        return nullptr;
    }
    if (value.Type() == VariantType::Boolean) {
        return value.ToBool();
    }
    if (value.Type() == VariantType::Double) {
        return value.ToDouble();
    }
    return value.IsNumeric() ? Json(value.ToInt64()) : Json(value.ToText());
}

std::string Shown(const Json& value) {
    return value.is_null() ? "-" : value.is_string() ? value.get<std::string>() : value.dump();
}

// "2026-12-01 08:30" as the log writes times, "2026-12-01T08:30"; a UTC mark is dropped, since
// every logged time is UTC and the mark would sort after the fractions of that second.
std::string LogTime(std::string since) {
    std::replace(since.begin(), since.end(), ' ', 'T');
    if (!since.empty() && since.back() == 'Z') {
        since.pop_back();
    }
    return since;
}

void ShowHistory(CliContext& context, const HistoryOptions& options) {
    static const std::regex kTime(R"(\d{4}-\d{2}-\d{2}([T ]\d{2}:\d{2}(:\d{2}(\.\d{1,6})?)?Z?)?)");
    if (!options.since.empty() && !std::regex_match(options.since, kTime)) {
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
    const CliText& text = context.Text();
    Json json = Json::array();
    for (const ItemChange& change : history->Changes(session, item, LogTime(options.since))) {
        Json fields = Json::object();
        for (const FieldChange& field : ChangedFields(change)) {
            fields[field.column] = {{"old", ToJson(field.before)}, {"new", ToJson(field.after)}};
        }
        if (context.options.json) {
            json.push_back(
                {{"change", change.number},
                 {"time", change.time},
                 {"user", change.databaseUser},
                 {"client", change.client},
                 {"operation", OperationName(change.operation)},
                 {"item", {{"kind", KindName(change.item.kind)}, {"id", change.item.id}}},
                 {"fields", fields}});
            if (!change.note.empty()) {
                json.back()["note"] = change.note;
            }
            continue;
        }
        const std::string who = !change.client.empty()         ? change.client
                                : !change.databaseUser.empty() ? change.databaseUser
                                                               : "-";
        context.out << fmt::format("{}  {}  {}  {} {}  {}", change.number, change.time, who,
                                   text.Text(KindName(change.item.kind)), change.item.id,
                                   text.Text(OperationName(change.operation)));
        if (!change.note.empty()) {
            context.out << "  (" << NoteText(text, change.note) << ")";
        }
        context.out << '\n';
        for (const auto& [name, values] : fields.items()) {
            context.out << fmt::format("    {}: {} -> {}\n", name, Shown(values["old"]),
                                       Shown(values["new"]));
        }
    }
    if (context.options.json) {
        context.Print(json);
    }
}

}  // namespace

void AddHistoryCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<HistoryOptions>();
    auto* history = app.add_subcommand(
        "history", "The logged changes of one item or of the whole tree, newest first");
    history->add_option("kind", options->kind, "group or subsystem")
        ->check(CLI::IsMember({"group", "subsystem"}));
    history->add_option("id", options->id, "Identifier")->transform(DecimalNumber());
    history->add_option("--since", options->since, "Only changes at or after this UTC time");
    history->callback([&context, options] {
        if (!options->kind.empty() && options->id == 0) {
            context.Text().Raise(errors::kCommandLine, {"history " + options->kind + ": id"});
        }
        ShowHistory(context, *options);
    });
}

}  // namespace quarn::subsysmgr::cli
