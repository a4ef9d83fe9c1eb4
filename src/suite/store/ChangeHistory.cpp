#include "suite/store/ChangeHistory.h"

#include <utf8.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "suite/store/ChangeLog.h"
#include "suite/store/ChangeSeal.h"
#include "suite/store/Database.h"

namespace quarn::suite {

namespace {

using Type = ColumnSpec::Type;
using Json = nlohmann::ordered_json;

constexpr const char* kGroupTable = "t_DataFlowTopClass";
constexpr const char* kSubSystemTable = "t_DataFlowSubSystem";
constexpr const char* kAccountTypeTable = "t_AccountType";
constexpr const char* kReleaseTable = "t_SuiteRelease";

// The log came with schema version 2, its notes with version 4.
constexpr int kFirstLoggedVersion = 2;
constexpr int kFirstNotedVersion = 4;

const std::vector<ColumnSpec> kColumns{
    {"FSeq", Type::Integer}, {"FTime", Type::Text},       {"FDbUser", Type::Text},
    {"FClient", Type::Text}, {"FTableName", Type::Text},  {"FItemID", Type::Integer},
    {"FOld", Type::Text},    {"FNew", Type::Text},        {"FNote", Type::Text},
    {"FTxn", Type::Integer}, {"FForeign", Type::Integer}, {"FSealed", Type::Integer},
};

// A change with the log numbers it was joined from and the transaction that made it.
template <class Change>
struct Joined {
    Change change;
    std::vector<int64_t> numbers;
    int64_t transaction = 0;
};

// Which row a logged row is about, by its table's name and its identifier.
void Identify(ItemChange& change, const std::string& table, int32_t id) {
    change.item = {table == kGroupTable ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem,
                   id};
}
void Identify(RecordChange& change, const std::string& table, int32_t id) {
    change.record = table == kAccountTypeTable ? RecordChange::Record::AccountType
                                               : RecordChange::Record::Release;
    change.id = id;
}
bool SameRow(const ItemChange& a, const ItemChange& b) {
    return a.item == b.item;
}
bool SameRow(const RecordChange& a, const RecordChange& b) {
    return a.record == b.record && a.id == b.id;
}

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

// Bytes of invalid UTF-8 that another program stored pass the JSON parser, which accepts only
// valid text, as code points of a private-use plane and come back as the same bytes.
constexpr uint32_t kByteMark = 0x10FE00;

std::string MarkInvalidBytes(const std::string& text) {
    std::string marked;
    auto at = text.begin();
    while (at != text.end()) {
        const auto invalid = utf8::find_invalid(at, text.end());
        marked.append(at, invalid);
        if (invalid == text.end()) {
            break;
        }
        utf8::append(kByteMark + static_cast<uint8_t>(*invalid), std::back_inserter(marked));
        at = invalid + 1;
    }
    return marked;
}

std::string UnmarkBytes(const std::string& text) {
    std::string bytes;
    auto at = text.begin();
    while (at != text.end()) {
        const auto start = at;
        const uint32_t codePoint = utf8::next(at, text.end());
        if (codePoint >= kByteMark && codePoint <= kByteMark + 0xff) {
            bytes.push_back(static_cast<char>(codePoint - kByteMark));
        } else {
            bytes.append(start, at);
        }
    }
    return bytes;
}

// The logged values of one side of a change; nullptr where the item did not exist. Values that
// are no JSON object (written by hand) give an empty side rather than a failed read; texts keep
// their bytes, valid UTF-8 or not.
DictionaryPtr ValuesOf(const Variant& logged) {
    if (logged.IsNull() || logged.IsEmpty()) {
        return nullptr;
    }
    const DictionaryPtr values = Dictionary::Create();
    const std::string text = logged.ToText();
    Json json = Json::parse(text, nullptr, false);
    // The parser refuses invalid UTF-8: only then is the text looked at byte by byte.
    const bool valid = !json.is_discarded() || utf8::is_valid(text.begin(), text.end());
    if (!valid) {
        json = Json::parse(MarkInvalidBytes(text), nullptr, false);
    }
    if (json.is_object()) {
        for (const auto& [column, value] : json.items()) {
            if (!valid && value.is_string()) {
                values->Item(column, UnmarkBytes(value.get<std::string>()));
                continue;
            }
            values->Item(column, ValueOf(value));
        }
    }
    return values;
}

LoggedChange::Operation OperationOf(const LoggedChange& change) {
    if (!change.before) {
        return LoggedChange::Operation::Added;
    }
    return change.after ? LoggedChange::Operation::Changed : LoggedChange::Operation::Deleted;
}

// Adds a log row to the changes so far (oldest first), joined with the earlier rows of the same
// item that the same transaction logged (a rewrite's delete and insert). Rows of different
// transactions are never joined, whoever made them.
template <class Change>
void Append(std::vector<Joined<Change>>& changes, Joined<Change> row) {
    for (auto it = changes.rbegin(); it != changes.rend() && it->transaction == row.transaction;
         ++it) {
        Change& earlier = it->change;
        if (!SameRow(earlier, row.change)) {
            continue;
        }
        earlier.number = row.change.number;
        earlier.after = row.change.after;
        it->numbers.push_back(row.change.number);
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

// The columns a log of schema `version` has, in the order of kColumns.
std::string SelectedColumns(int version, bool postgres) {
    std::string columns = "FSeq, FTime, FDbUser, FClient, FTableName, FItemID, FOld, FNew, ";
    columns += version >= kFirstNotedVersion ? "FNote" : "CAST(NULL AS TEXT) AS FNote";
    if (version >= changelog::kFirstSealedVersion) {
        return columns + ", FTxn, FForeign, CASE WHEN FSeal IS NULL THEN 0 ELSE 1 END AS FSealed";
    }
    // Before transactions were recorded: PostgreSQL numbered each transaction once; SQLite
    // numbered every row, and this program wrote a rewrite's delete and insert as neighbours
    // naming the same client, which another program's rows never named.
    if (postgres) {
        return columns + ", FSeq AS FTxn, 0 AS FForeign, 1 AS FSealed";
    }
    return columns +
           ", CASE WHEN FOperation = 'INSERT' AND EXISTS (SELECT 1 FROM t_DataFlowChangeLog d "
           "WHERE d.FSeq = t_DataFlowChangeLog.FSeq - 1 AND d.FOperation = 'DELETE' AND "
           "d.FTableName = t_DataFlowChangeLog.FTableName AND d.FItemID = "
           "t_DataFlowChangeLog.FItemID AND d.FClient = t_DataFlowChangeLog.FClient AND d.FNote "
           "IS t_DataFlowChangeLog.FNote) THEN FSeq - 1 ELSE FSeq END AS FTxn, CASE WHEN "
           "FClient IS NULL THEN 1 ELSE 0 END AS FForeign, 1 AS FSealed";
}

// The tables whose rows a kind of change is about, and the first schema version that logs them.
template <class Change>
struct LogOf;
template <>
struct LogOf<ItemChange> {
    static constexpr int kFirstVersion = kFirstLoggedVersion;
    static std::string Tables() {
        return std::string("'") + kGroupTable + "', '" + kSubSystemTable + "'";
    }
};
template <>
struct LogOf<RecordChange> {
    static constexpr int kFirstVersion = changelog::kFirstRecordsLoggedVersion;
    static std::string Tables() {
        return std::string("'") + kAccountTypeTable + "', '" + kReleaseTable + "'";
    }
};

// The log rows of `Change`'s tables that `where` selects for the log's schema version (its
// parameters after it), joined, oldest first; nothing for a database whose log does not record
// them. Rows of the log's own (a repair) are not changes of a row.
template <class Change>
std::vector<Joined<Change>> Read(SuiteSession& session, const std::string& propsString,
                                 const std::function<std::string(int version)>& where,
                                 const std::vector<Variant>& parameters) {
    const std::shared_ptr<Database> database = session.StoreFor(propsString);
    return database->Reading([&] {
        std::vector<Joined<Change>> changes;
        const int version = SchemaVersion(*database);
        if (version < LogOf<Change>::kFirstVersion) {
            return changes;
        }
        // PostgreSQL numbers a transaction once: its rows keep the order they were logged in.
        // SQLite would take the item index for the list of tables, and read the log of every
        // item to find one change; the unary plus leaves that term to be tested row by row.
        const std::string tables = database->IsPostgreSQL() ? "FTableName" : "+FTableName";
        const std::string sql = "SELECT " + SelectedColumns(version, database->IsPostgreSQL()) +
                                " FROM t_DataFlowChangeLog WHERE " + tables + " IN (" +
                                LogOf<Change>::Tables() + ") AND " + where(version) +
                                " ORDER BY FSeq" + (database->IsPostgreSQL() ? ", FChangeID" : "");
        const auto rows = database->QueryTyped(sql, kColumns, parameters);
        for (const uint32_t row : rows->LiveRows()) {
            Joined<Change> change;
            change.change.number = rows->Value(row, 0).ToInt64();
            change.numbers.push_back(change.change.number);
            change.change.time = rows->Value(row, 1).TextOrEmpty();
            change.change.databaseUser = rows->Value(row, 2).TextOrEmpty();
            change.change.client = rows->Value(row, 3).TextOrEmpty();
            Identify(change.change, rows->Value(row, 4).TextOrEmpty(),
                     rows->Value(row, 5).ToInt32());
            change.change.before = ValuesOf(rows->Value(row, 6));
            change.change.after = ValuesOf(rows->Value(row, 7));
            change.change.note = rows->Value(row, 8).TextOrEmpty();
            const bool sealed = rows->Value(row, 11).ToInt32() != 0;
            // An unsealed row was logged outside this program's transactions: its own change.
            change.transaction = sealed && !rows->Value(row, 9).IsNull()
                                     ? rows->Value(row, 9).ToInt64()
                                     : change.change.number;
            change.change.otherProgram = !sealed || rows->Value(row, 10).ToInt32() != 0;
            if (change.change.otherProgram) {
                change.change.databaseUser.clear();  // nothing this program saw says who
            }
            Append(changes, std::move(change));
        }
        return changes;
    });
}

template <class Change>
std::vector<Change> NewestFirst(const std::vector<Joined<Change>>& joined) {
    std::vector<Change> changes;
    changes.reserve(joined.size());
    for (auto it = joined.rbegin(); it != joined.rend(); ++it) {
        changes.push_back(it->change);
    }
    return changes;
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
    const auto joined = session_->Localizing([&] {
        return Read<ItemChange>(
            *session_, propsString, [&](int) { return where; }, parameters);
    });
    return NewestFirst(joined);
}

std::vector<RecordChange> ChangeHistory::RecordChanges(const std::string& propsString,
                                                       const std::string& since) {
    std::vector<Variant> parameters;
    std::string where = "1 = 1";
    if (!since.empty()) {
        parameters.emplace_back(since);
        where += " AND FTime >= $1";
    }
    const auto joined = session_->Localizing([&] {
        return Read<RecordChange>(
            *session_, propsString, [&](int) { return where; }, parameters);
    });
    return NewestFirst(joined);
}

std::vector<ItemChange> ChangeHistory::Change(const std::string& propsString, int64_t number) {
    // SQLite numbers every row: the change is that of the row numbered `number`, with the other
    // rows of its item that its transaction logged (before transactions were recorded, a
    // rewrite's neighbour).
    const bool postgres = session_->StoreFor(propsString)->IsPostgreSQL();
    const auto joined = session_->Localizing([&] {
        return Read<ItemChange>(
            *session_, propsString,
            [&](int version) -> std::string {
                if (postgres) {
                    return "FSeq = $1";
                }
                if (version < changelog::kFirstSealedVersion) {
                    return "FSeq BETWEEN $1 - 1 AND $1 + 1";
                }
                // A transaction's rows are numbered one after another from its first, its
                // number: they lie between that and the next row of another transaction.
                return "FSeq BETWEEN coalesce((SELECT FTxn FROM t_DataFlowChangeLog WHERE FSeq = "
                       "$1 AND FSeal IS NOT NULL), $1) AND coalesce((SELECT FSeq - 1 FROM "
                       "t_DataFlowChangeLog WHERE FSeq > $1 AND (FSeal IS NULL OR FTxn IS NOT "
                       "(SELECT FTxn FROM t_DataFlowChangeLog WHERE FSeq = $1)) ORDER BY FSeq "
                       "LIMIT 1), $1 + 1000000000)";
            },
            {number});
    });
    std::vector<ItemChange> changes;
    for (const Joined<ItemChange>& candidate : joined) {
        if (std::find(candidate.numbers.begin(), candidate.numbers.end(), number) !=
            candidate.numbers.end()) {
            changes.push_back(candidate.change);
        }
    }
    return changes;
}

void ChangeHistory::NoteNextWrite(const std::string& note) {
    session_->Localizing([&] { session_->Store()->NoteNextWrite(note); });
}

SealCheck ChangeHistory::VerifySeals(const std::string& propsString,
                                     const std::optional<ChainHead>& exported) {
    return session_->Localizing(
        [&] { return session_->StoreFor(propsString)->VerifySeals(exported); });
}

bool ChangeHistory::IsSealBroken(const std::string& propsString, int64_t number) {
    return session_->Localizing(
        [&] { return session_->StoreFor(propsString)->SealBroken(number); });
}

ChainHead ChangeHistory::SealHead(const std::string& propsString) {
    return session_->Localizing([&] { return session_->StoreFor(propsString)->SealHead(); });
}

}  // namespace quarn::suite
