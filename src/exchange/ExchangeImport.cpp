#include "exchange/ExchangeImport.h"

#include "exchange/GroupWriter.h"
#include "exchange/SubSystemWriter.h"

namespace quarn::subsysmgr::exchange {

namespace {

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

void Compare(const Json& stored, const Json& imported, const std::string& path,
             std::vector<FieldDifference>& changes) {
    for (const auto& [key, value] : stored.items()) {
        const std::string field = path.empty() ? key : path + "." + key;
        const auto other = imported.find(key);
        const Json& importedValue = other == imported.end() ? Json() : *other;
        if (value.is_object() && importedValue.is_object()) {
            Compare(value, importedValue, field, changes);
        } else if (value != importedValue) {
            changes.push_back({field, value, importedValue});
        }
    }
}

// Adds an item that is not stored, rewrites one stored otherwise (as it was read) and leaves one
// stored as it is in the file; a refusal becomes the item's outcome.
template <class Item, class Writer>
ImportedItem TakeItem(std::string_view kind, const Item& item,
                      const std::unordered_map<int32_t, TreeReader::Stored<Item>>& stored,
                      Writer& writer) {
    ImportedItem result{kind, item.id, ImportOutcome::Unchanged, {}, std::nullopt};
    const auto found = stored.find(item.id);
    try {
        if (found == stored.end()) {
            writer.Add(item);
            result.outcome = ImportOutcome::Added;
        } else if (!(found->second.item == item)) {
            result.changes = CompareItems(ToJson(found->second.item), ToJson(item));
            writer.Update(item, found->second.version);
            result.outcome = ImportOutcome::Updated;
        }
    } catch (const ComError& error) {
        result.outcome = ImportOutcome::Refused;
        result.error = error;
    }
    return result;
}

}  // namespace

std::string_view OutcomeName(ImportOutcome outcome) {
    switch (outcome) {
        case ImportOutcome::Added:
            return "added";
        case ImportOutcome::Updated:
            return "updated";
        case ImportOutcome::Unchanged:
            return "unchanged";
        case ImportOutcome::Refused:
            return "refused";
    }
    return "refused";
}

std::vector<FieldDifference> CompareItems(const Json& stored, const Json& imported) {
    std::vector<FieldDifference> changes;
    Compare(stored, imported, "", changes);
    return changes;
}

ExchangeImport::ExchangeImport(std::shared_ptr<ModuleState> module, const ExchangeText& text)
    : module_(std::move(module)), text_(text) {
    TreeReader reader(module_);
    groups_ = ById(reader.StoredGroups());
    subSystems_ = ById(reader.StoredSubSystems());
}

std::vector<ImportedItem> ExchangeImport::Run(const Exchange& exchange, const ImportStep& step) {
    return Take(exchange, WriteMode::Save, step);
}

std::vector<ImportedItem> ExchangeImport::Preview(const Exchange& exchange,
                                                  const ImportStep& step) {
    return Take(exchange, WriteMode::CheckOnly, step);
}

std::vector<ImportedItem> ExchangeImport::Take(const Exchange& exchange, WriteMode mode,
                                               const ImportStep& step) {
    GroupWriter groups(module_, text_, mode);
    SubSystemWriter subSystems(module_, text_, mode);
    std::vector<ImportedItem> results;
    const std::size_t total = exchange.groups.size() + exchange.subSystems.size();
    const auto goOn = [&] { return !step || step(results.size(), total); };
    // Groups first: a subsystem of the file may belong to a group of the file.
    for (const GroupItem& group : exchange.groups) {
        results.push_back(TakeItem("group", group, groups_, groups));
        if (mode == WriteMode::CheckOnly && results.back().outcome == ImportOutcome::Added) {
            subSystems.AssumeGroup(group.id);
        }
        if (!goOn()) {
            return results;
        }
    }
    for (const SubSystemItem& subSystem : exchange.subSystems) {
        results.push_back(TakeItem("subsystem", subSystem, subSystems_, subSystems));
        if (!goOn()) {
            return results;
        }
    }
    return results;
}

}  // namespace quarn::subsysmgr::exchange
