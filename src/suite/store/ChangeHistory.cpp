#include "suite/store/ChangeHistory.h"

#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "suite/store/Database.h"

namespace quarn::suite {

namespace {

using Type = ColumnSpec::Type;
using Json = nlohmann::ordered_json;

constexpr const char* kGroupTable = "t_DataFlowTopClass";
constexpr const char* kSubSystemTable = "t_DataFlowSubSystem";

// The log came with schema version 2, its notes with version 4.
constexpr int kFirstLoggedVersion = 2;
constexpr int kFirstNotedVersion = 4;

const std::vector<ColumnSpec> kColumns{
    {"FSeq", Type::Integer}, {"FTime", Type::Text},      {"FDbUser", Type::Text},
    {"FClient", Type::Text}, {"FTableName", Type::Text}, {"FItemID", Type::Integer},
    {"FOld", Type::Text},    {"FNew", Type::Text},       {"FNote", Type::Text},
};

// A change with the first log number it was joined from.
struct Joined {
    ItemChange change;
    int64_t first = 0;
};

int SchemaVersion(Database& database) {
    const auto version = database.QueryTyped("SELECT max(FVersion) FROM t_SchemaVersion",
                                             {{"FVersion", Type::Integer}});
    const auto rows = version->LiveRows();
    return rows.empty() || version->Value(rows.front(), 0).IsNull()
               ? 0
               : version->Value(rows.front(), 0).ToInt32();
}

Variant ValueOf(const Json& value) {
    if (value.is_null()) {
        return Variant::Null();
    }
    if (value.is_boolean()) {
        return value.get<bool>();
    }
    if (value.is_number_integer()) {
        return value.get<int64_t>();
    }
    if (value.is_number_float()) {
        return value.get<double>();
    }
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// The logged values of one side of a change; nullptr where the item did not exist. Values that
// are no JSON object (written by hand) give an empty side rather than a failed read.
DictionaryPtr ValuesOf(const Variant& logged) {
    if (logged.IsNull() || logged.IsEmpty()) {
        return nullptr;
    }
    const DictionaryPtr values = Dictionary::Create();
    const Json json = Json::parse(logged.ToText(), nullptr, false);
    if (json.is_object()) {
        for (const auto& [column, value] : json.items()) {
            values->Item(column, ValueOf(value));
        }
    }
    return values;
}

ItemChange::Operation OperationOf(const ItemChange& change) {
    if (!change.before) {
        return ItemChange::Operation::Added;
    }
    return change.after ? ItemChange::Operation::Changed : ItemChange::Operation::Deleted;
}

// Adds a log row to the changes so far (oldest first), joined with the earlier row of the same
// item that it continues: on PostgreSQL any row of the same transaction (a rewrite's delete
// among them), on SQLite, which numbers every row, the delete just before an insert.
void Append(std::vector<Joined>& changes, Joined row, bool numberPerRow) {
    for (auto it = changes.rbegin();
         it != changes.rend() && it->change.number >= row.change.number - 1; ++it) {
        ItemChange& earlier = it->change;
        if (earlier.item != row.change.item) {
            continue;
        }
        const bool sameTransaction = earlier.number == row.change.number;
        // All rows of a transaction carry its note: a delete and an insert noted apart are two
        // changes, such as a deletion and the revert that brings the item back.
        const bool rewrite =
            numberPerRow && !earlier.after && !row.change.before && earlier.note == row.change.note;
        if (!sameTransaction && !rewrite) {
            break;
        }
        earlier.number = row.change.number;
        earlier.after = row.change.after;
        if (earlier.note.empty()) {
            earlier.note = row.change.note;
        }
        if (!earlier.before && !earlier.after) {
            changes.erase(std::next(it).base());  // added and deleted again: nothing changed
            return;
        }
        earlier.operation = OperationOf(earlier);
        return;
    }
    row.change.operation = OperationOf(row.change);
    changes.push_back(std::move(row));
}

// The log rows that `where` selects (its parameters after it), joined, oldest first; nothing for
// a database without a log.
std::vector<Joined> Read(SuiteSession& session, const std::string& propsString,
                         const std::string& where, const std::vector<Variant>& parameters) {
    const std::shared_ptr<Database> database = session.StoreFor(propsString);
    return database->Reading([&] {
        std::vector<Joined> changes;
        const int version = SchemaVersion(*database);
        if (version < kFirstLoggedVersion) {
            return changes;
        }
        // PostgreSQL numbers a transaction once: its rows keep the order they were logged in.
        const std::string sql =
            std::string("SELECT FSeq, FTime, FDbUser, FClient, FTableName, FItemID, FOld, FNew, ") +
            (version >= kFirstNotedVersion ? "FNote" : "CAST(NULL AS TEXT) AS FNote") +
            " FROM t_DataFlowChangeLog WHERE " + where + " ORDER BY FSeq" +
            (database->IsPostgreSQL() ? ", FChangeID" : "");
        const auto rows = database->QueryTyped(sql, kColumns, parameters);
        for (const uint32_t row : rows->LiveRows()) {
            Joined change;
            change.first = rows->Value(row, 0).ToInt64();
            change.change.number = change.first;
            change.change.time = rows->Value(row, 1).TextOrEmpty();
            change.change.databaseUser = rows->Value(row, 2).TextOrEmpty();
            change.change.client = rows->Value(row, 3).TextOrEmpty();
            change.change.item = {rows->Value(row, 4).TextOrEmpty() == kGroupTable
                                      ? TreeItemRef::Kind::Group
                                      : TreeItemRef::Kind::SubSystem,
                                  rows->Value(row, 5).ToInt32()};
            change.change.before = ValuesOf(rows->Value(row, 6));
            change.change.after = ValuesOf(rows->Value(row, 7));
            change.change.note = rows->Value(row, 8).TextOrEmpty();
            Append(changes, std::move(change), !database->IsPostgreSQL());
        }
        return changes;
    });
}

}  // namespace

bool ChangeHistory::IsLogged(const std::string& propsString) {
    return session_->Localizing([&] {
        const std::shared_ptr<Database> database = session_->StoreFor(propsString);
        return database->Reading([&] { return SchemaVersion(*database); }) >= kFirstLoggedVersion;
    });
}

std::vector<ItemChange> ChangeHistory::Changes(const std::string& propsString,
                                               std::optional<TreeItemRef> item,
                                               const std::string& since) {
    std::string where = "1 = 1";
    std::vector<Variant> parameters;
    if (item) {
        parameters.emplace_back(item->kind == TreeItemRef::Kind::Group ? kGroupTable
                                                                       : kSubSystemTable);
        parameters.emplace_back(item->id);
        where += " AND FTableName = $1 AND FItemID = $2";
    }
    if (!since.empty()) {
        parameters.emplace_back(since);
        where += " AND FTime >= $" + std::to_string(parameters.size());
    }
    const std::vector<Joined> joined =
        session_->Localizing([&] { return Read(*session_, propsString, where, parameters); });
    std::vector<ItemChange> changes;
    changes.reserve(joined.size());
    for (auto it = joined.rbegin(); it != joined.rend(); ++it) {
        changes.push_back(it->change);
    }
    return changes;
}

std::vector<ItemChange> ChangeHistory::Change(const std::string& propsString, int64_t number) {
    // A rewrite on SQLite spans two numbers: the neighbours tell which half `number` is.
    const std::vector<Joined> joined = session_->Localizing([&] {
        return Read(*session_, propsString, "FSeq BETWEEN $1 AND $2", {number - 1, number + 1});
    });
    std::vector<ItemChange> changes;
    for (const Joined& candidate : joined) {
        if (candidate.first <= number && number <= candidate.change.number) {
            changes.push_back(candidate.change);
        }
    }
    return changes;
}

void ChangeHistory::NoteNextWrite(const std::string& note) {
    session_->Localizing([&] { session_->Store()->NoteNextWrite(note); });
}

}  // namespace quarn::suite
