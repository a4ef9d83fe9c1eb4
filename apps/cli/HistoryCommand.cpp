// history [group N | subsystem N] [--since TIME]: the changes the database logged, newest
// first, each with when, who and field by field old -> new.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "CliErrors.h"
#include "Commands.h"
#include "host/IClassInfo.h"
#include "host/ProgIds.h"

namespace quarn::subsysmgr::cli {

namespace {

constexpr const char* kGroupTable = "t_DataFlowTopClass";
constexpr const char* kSubSystemTable = "t_DataFlowSubSystem";

struct HistoryOptions {
    std::string kind;  // "group", "subsystem" or "" for the whole tree
    int32_t id = 0;
    std::string since;
};

// One change of one item: a rewrite (delete and insert of the same item, one after the other)
// shows as one change.
struct Change {
    int64_t number = 0;
    std::string time;
    std::string user;
    std::string client;
    std::string operation;  // added, changed, deleted
    std::string table;
    int32_t id = 0;
    Json old = nullptr;
    Json now = nullptr;
};

Json ParsedOrNull(const Variant& value) {
    return value.IsNull() || value.IsEmpty() ? Json(nullptr)
                                             : Json::parse(value.ToText(), nullptr, false);
}

// The log's rows oldest first, rewrites joined.
std::vector<Change> ReadChanges(CliContext& context, const HistoryOptions& options) {
    std::string sql =
        "SELECT FSeq, FTime, FDbUser, FClient, FOperation, FTableName, FItemID, FOld, FNew FROM "
        "t_DataFlowChangeLog WHERE 1 = 1";
    if (!options.kind.empty()) {
        sql += fmt::format(" AND FTableName = '{}' AND FItemID = {}",
                           options.kind == "group" ? kGroupTable : kSubSystemTable, options.id);
    }
    if (!options.since.empty()) {
        sql += " AND FTime >= '" + options.since + "'";  // checked to be a date or time
    }
    // Within one number (a PostgreSQL transaction) a rewrite's delete comes before its insert.
    sql += " ORDER BY FSeq, CASE FOperation WHEN 'DELETE' THEN 0 ELSE 1 END";
    context.Session();
    const RecordsetPtr rows = context.Host()
                                  .Registry()
                                  .Create<IClassInfo>(progid::kClassInfo)
                                  ->GetData(context.Host().Context(), sql);
    std::vector<Change> changes;
    for (; !rows->Eof(); rows->MoveNext()) {
        Change change{
            rows->Fields("FSeq").ToInt64(),           rows->Fields("FTime").TextOrEmpty(),
            rows->Fields("FDbUser").TextOrEmpty(),    rows->Fields("FClient").TextOrEmpty(),
            rows->Fields("FOperation").TextOrEmpty(), rows->Fields("FTableName").TextOrEmpty(),
            rows->Fields("FItemID").ToInt32(),        ParsedOrNull(rows->Fields("FOld")),
            ParsedOrNull(rows->Fields("FNew"))};
        Change* previous = changes.empty() ? nullptr : &changes.back();
        if (change.operation == "INSERT" && previous && previous->operation == "deleted" &&
            previous->table == change.table && previous->id == change.id &&
            change.number - previous->number <= 1) {
            previous->operation = "changed";
            previous->number = change.number;
            previous->now = change.now;
            continue;
        }
        change.operation = change.operation == "INSERT"   ? "added"
                           : change.operation == "DELETE" ? "deleted"
                                                          : "changed";
        changes.push_back(std::move(change));
    }
    return changes;
}

// The fields whose values differ, as {name: {old, new}}; every field of an added or deleted item.
Json ChangedFields(const Change& change) {
    Json fields = Json::object();
    for (const Json* side : {&change.old, &change.now}) {
        if (!side->is_object()) {
            continue;
        }
        for (const auto& [name, value] : side->items()) {
            const Json before = change.old.is_object() ? change.old.value(name, Json()) : Json();
            const Json after = change.now.is_object() ? change.now.value(name, Json()) : Json();
            if (before != after) {
                fields[name] = {{"old", before}, {"new", after}};
            }
        }
    }
    return fields;
}

std::string Shown(const Json& value) {
    return value.is_null() ? "-" : value.is_string() ? value.get<std::string>() : value.dump();
}

void ShowHistory(CliContext& context, const HistoryOptions& options) {
    static const std::regex kTime(R"(\d{4}-\d{2}-\d{2}([T ]\d{2}:\d{2}(:\d{2}(\.\d{1,6})?)?Z?)?)");
    HistoryOptions checked = options;
    if (!checked.since.empty()) {
        if (!std::regex_match(checked.since, kTime)) {
            context.Text().Raise(errors::kNotATime, {checked.since});
        }
        std::replace(checked.since.begin(), checked.since.end(), ' ', 'T');
    }
    std::vector<Change> changes = ReadChanges(context, checked);
    const CliText& text = context.Text();
    Json json = Json::array();
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        const std::string kind = change->table == kGroupTable ? "group" : "subsystem";
        const Json fields = ChangedFields(*change);
        if (context.options.json) {
            json.push_back({{"change", change->number},
                            {"time", change->time},
                            {"user", change->user},
                            {"client", change->client},
                            {"operation", change->operation},
                            {"item", {{"kind", kind}, {"id", change->id}}},
                            {"fields", fields}});
            continue;
        }
        const std::string who = !change->client.empty() ? change->client
                                : !change->user.empty() ? change->user
                                                        : "-";
        context.out << fmt::format("{}  {}  {}  {} {}  {}\n", change->number, change->time, who,
                                   text.Text(kind), change->id, text.Text(change->operation));
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
    history->add_option("id", options->id, "Identifier");
    history->add_option("--since", options->since, "Only changes at or after this UTC time");
    history->callback([&context, options] {
        if (!options->kind.empty() && options->id == 0) {
            context.Text().Raise(errors::kCommandLine, {"history " + options->kind + ": id"});
        }
        ShowHistory(context, *options);
    });
}

}  // namespace quarn::subsysmgr::cli
