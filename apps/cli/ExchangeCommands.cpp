// export and import of the customer-made groups and subsystems (and those of the Brox
// platform), to move customisations from one database to another.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "CliErrors.h"
#include "Commands.h"
#include "ExchangeFile.h"
#include "GroupWriter.h"
#include "SubSystemWriter.h"
#include "TreeReader.h"
#include "model/IdRanges.h"

namespace quarn::subsysmgr::cli {

namespace {

bool Exported(const GroupItem& group) {
    return ranges::kCustomerGroups.Contains(group.id) || ranges::kBroxGroups.Contains(group.id);
}

bool Exported(const SubSystemItem& subSystem) {
    return ranges::kCustomerSubSystems.Contains(subSystem.id) ||
           ranges::kBroxSubSystems.Contains(subSystem.id);
}

// Ordered by identifier: the positions are sorted, then each item is moved once.
template <class Item>
void SortById(std::vector<Item>& items) {
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return items[a].id < items[b].id; });
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (const std::size_t position : order) {
        sorted.push_back(std::move(items[position]));
    }
    items = std::move(sorted);
}

void Export(CliContext& context, const std::string& file) {
    TreeReader reader(context.Session());
    Exchange exchange;
    std::unordered_set<int32_t> groups;  // a subsystem is exported with the tree it shows in
    for (GroupItem& group : reader.Groups()) {
        groups.insert(group.id);
        if (Exported(group)) {
            exchange.groups.push_back(std::move(group));
        }
    }
    for (SubSystemItem& subSystem : reader.SubSystems()) {
        if (Exported(subSystem) && groups.count(subSystem.group) > 0) {
            exchange.subSystems.push_back(std::move(subSystem));
        }
    }
    SortById(exchange.groups);
    SortById(exchange.subSystems);
    const std::string content = WriteExchange(exchange);
    if (file.empty()) {
        context.out << content;
        return;
    }
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream << content;
    stream.close();
    if (!stream) {
        context.Text().Raise(errors::kFileUnwritable, {file});
    }
}

// What happened to one item of the file.
struct Outcome {
    std::string_view kind;  // "group" or "subsystem"
    int32_t id;
    std::string_view outcome;  // "added", "updated", "unchanged" or "refused"
    std::optional<ComError> error;
};

// Adds an item that was not stored, rewrites one stored otherwise (as it was found), leaves
// one stored as it is in the file.
template <class Item, class Writer>
Outcome ImportItem(std::string_view kind, const Item& item, const TreeReader::Stored<Item>* found,
                   Writer& writer) {
    try {
        if (!found) {
            writer.Add(item);
            return {kind, item.id, "added", std::nullopt};
        }
        if (found->item == item) {
            return {kind, item.id, "unchanged", std::nullopt};
        }
        writer.Update(item, found->version);
        return {kind, item.id, "updated", std::nullopt};
    } catch (const ComError& error) {
        return {kind, item.id, "refused", error};
    }
}

// The stored items by identifier.
template <class Item>
std::unordered_map<int32_t, TreeReader::Stored<Item>> ById(
    std::vector<TreeReader::Stored<Item>> stored) {
    std::unordered_map<int32_t, TreeReader::Stored<Item>> byId;
    byId.reserve(stored.size());
    for (TreeReader::Stored<Item>& entry : stored) {
        const int32_t id = entry.item.id;
        byId.emplace(id, std::move(entry));
    }
    return byId;
}

template <class Item>
const TreeReader::Stored<Item>* Find(
    const std::unordered_map<int32_t, TreeReader::Stored<Item>>& stored, int32_t id) {
    const auto it = stored.find(id);
    return it == stored.end() ? nullptr : &it->second;
}

void Report(CliContext& context, const std::vector<Outcome>& outcomes) {
    constexpr std::string_view kOutcomes[] = {"added", "updated", "unchanged", "refused"};
    std::map<std::string_view, int32_t> counts;
    for (const Outcome& outcome : outcomes) {
        ++counts[outcome.outcome];
    }
    if (counts["refused"] > 0) {
        context.exitCode = kExitRefused;
    }
    if (context.options.json) {
        Json items = Json::array();
        for (const Outcome& outcome : outcomes) {
            Json item{{"kind", outcome.kind}, {"id", outcome.id}, {"outcome", outcome.outcome}};
            if (outcome.error) {
                item["error"] = ErrorJson(*outcome.error);
            }
            items.push_back(std::move(item));
        }
        Json report{{"items", std::move(items)}};
        for (const std::string_view name : kOutcomes) {
            report[std::string(name)] = counts[name];
        }
        context.Print(report);
        return;
    }
    const CliText& text = context.Text();
    for (const Outcome& outcome : outcomes) {
        context.out << text.Text(outcome.kind) << ' ' << outcome.id << ": "
                    << text.Text(outcome.outcome);
        if (outcome.error) {
            context.out << ", " << ErrorLine(*outcome.error);
        }
        context.out << '\n';
    }
    context.out << text.Format(
                       "%1 added, %2 updated, %3 unchanged, %4 refused.",
                       {counts["added"], counts["updated"], counts["unchanged"], counts["refused"]})
                << '\n';
}

void Import(CliContext& context, const std::string& file) {
    // Each item is decided on the database as the import found it and written over only while
    // it is still so: an item that someone else changes or deletes meanwhile is refused with
    // error 1042 instead of losing their change. Reading writes nothing, so this may come
    // before the file is read.
    const auto module = context.Session();
    TreeReader reader(module);
    const auto storedGroups = ById(reader.StoredGroups());
    const auto storedSubSystems = ById(reader.StoredSubSystems());

    std::ostringstream content;
    if (file == "-") {
        content << context.in.rdbuf();
    } else {
        std::ifstream stream(file, std::ios::binary);
        content << stream.rdbuf();
        if (!stream) {
            context.Text().Raise(errors::kFileUnreadable, {file});
        }
    }
    // The whole file is read before anything is written: a malformed one changes nothing.
    const Exchange exchange =
        ReadExchange(content.str(), file == "-" ? "<stdin>" : file, context.Text());

    GroupWriter groups(module, context.Text());
    SubSystemWriter subSystems(module, context.Text());
    std::vector<Outcome> outcomes;
    // Groups first: a subsystem of the file may belong to a group of the file.
    for (const GroupItem& group : exchange.groups) {
        outcomes.push_back(ImportItem("group", group, Find(storedGroups, group.id), groups));
    }
    for (const SubSystemItem& subSystem : exchange.subSystems) {
        outcomes.push_back(
            ImportItem("subsystem", subSystem, Find(storedSubSystems, subSystem.id), subSystems));
    }
    Report(context, outcomes);
}

}  // namespace

void AddExchangeCommands(CLI::App& app, CliContext& context) {
    auto* exportCommand = app.add_subcommand(
        "export", "Write the customer-made and Brox groups and subsystems as JSON");
    auto exportFile = std::make_shared<std::string>();
    exportCommand->add_option("--file", *exportFile, "Write to this file instead of the output");
    exportCommand->callback([&context, exportFile] { Export(context, *exportFile); });

    auto* importCommand =
        app.add_subcommand("import", "Add or update the groups and subsystems of an export file");
    auto importFile = std::make_shared<std::string>();
    importCommand->add_option("--file", *importFile, "The export file (- for the input)")
        ->required();
    importCommand->callback([&context, importFile] { Import(context, *importFile); });
}

}  // namespace quarn::subsysmgr::cli
