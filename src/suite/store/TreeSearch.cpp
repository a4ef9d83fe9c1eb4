#include "suite/store/TreeSearch.h"

#include <string>
#include <string_view>

#include "foundation/Utf8Text.h"
#include "suite/log/DiagnosticLogComponent.h"
#include "suite/store/Database.h"
#include "suite/store/SearchIndex.h"
#include "suite/store/SqliteConnection.h"

namespace quarn::suite {

namespace {

using Type = ColumnSpec::Type;

// A trigram index finds texts of at least this many characters.
constexpr std::size_t kIndexedLength = 3;

// The text as one FTS5 phrase: quoted, its quotes doubled, so nothing in it is query syntax.
std::string Fts5Phrase(std::string_view text) {
    std::string phrase = "\"";
    for (const char c : text) {
        phrase += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return phrase + "\"";
}

// "%text%" for LIKE, the wildcards and the escape character of the text escaped.
std::string LikePattern(std::string_view text) {
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') {
            pattern += '\\';
        }
        pattern += c;
    }
    return pattern + "%";
}

// How one table's matching identifiers are selected, and the value of its parameter $1.
struct Lookup {
    std::string ids;
    Variant parameter;
};

// SQLite: the index for a text long enough; otherwise every row, the names folded as the
// tokenizer folds them (unless the text has no letter with case).
Lookup SqliteLookup(const search::IndexedTable& table, const std::string& text, bool indexed) {
    const std::string id(table.idColumn);
    if (indexed && text::CodePointCount(text) >= kIndexedLength) {
        const std::string index(table.index);
        return {"SELECT rowid FROM " + index + " WHERE " + index + " MATCH $1", Fts5Phrase(text)};
    }
    const bool caseless = text::IsCaseless(text);
    std::string condition = "instr(CAST(" + id + " AS TEXT), $1) > 0";
    for (const std::string_view name : table.names) {
        const std::string column(name);
        condition +=
            " OR instr(" +
            (caseless ? column
                      : std::string(SqliteConnection::kFoldFunction) + "(" + column + ")") +
            ", $1) > 0";
    }
    return {"SELECT " + id + " FROM " + std::string(table.table) + " WHERE " + condition,
            caseless ? text : text::FoldCase(text)};
}

// PostgreSQL: the indexed expression, which the server's index answers where it has one.
Lookup PostgresLookup(const search::IndexedTable& table, const std::string& text) {
    const std::string id(table.idColumn);
    std::string condition = search::PostgresExpression(table) + " LIKE lower($1)";
    if (text.find(search::kSeparator) != std::string::npos) {
        // Only a text with the expression's separator could match across two of its fields.
        condition = "lower(" + id + "::text) LIKE lower($1)";
        for (const std::string_view name : table.names) {
            condition += " OR lower(" + std::string(name) + ") LIKE lower($1)";
        }
    }
    return {"SELECT " + id + " FROM " + std::string(table.table) + " WHERE " + condition,
            LikePattern(text)};
}

// The matching items of both tables, groups in display order and then subsystems in the
// tree's, in one read.
std::vector<TreeMatch> FindIn(Database& database, const std::string& text, bool indexed) {
    const auto lookup = [&](const search::IndexedTable& table) {
        return database.IsPostgreSQL() ? PostgresLookup(table, text)
                                       : SqliteLookup(table, text, indexed);
    };
    const Lookup groups = lookup(search::kGroups);
    const Lookup subSystems = lookup(search::kSubSystems);
    return database.Reading([&] {
        std::vector<TreeMatch> found;
        for (const RecordTable::Row& row : database.ReadTyped(
                 "SELECT FTopClassID FROM t_DataFlowTopClass WHERE FTopClassID IN (" + groups.ids +
                     ") ORDER BY FIndex, FTopClassID",
                 {{"FTopClassID", Type::Integer}}, {groups.parameter})) {
            const int32_t id = row[0].ToInt32();
            found.push_back({{TreeItemRef::Kind::Group, id}, id});
        }
        // A subsystem whose group is missing (another program's rows) sorts last.
        for (const RecordTable::Row& row : database.ReadTyped(
                 "SELECT s.FSubSysID, s.FTopClassID FROM t_DataFlowSubSystem s LEFT JOIN "
                 "t_DataFlowTopClass g ON g.FTopClassID = s.FTopClassID WHERE s.FSubSysID IN (" +
                     subSystems.ids +
                     ") ORDER BY g.FTopClassID IS NULL, g.FIndex, s.FTopClassID, s.FIndex, "
                     "s.FSubSysID",
                 {{"FSubSysID", Type::Integer}, {"FTopClassID", Type::Integer}},
                 {subSystems.parameter})) {
            found.push_back({{TreeItemRef::Kind::SubSystem, row[0].ToInt32()}, row[1].ToInt32()});
        }
        return found;
    });
}

}  // namespace

std::vector<TreeMatch> TreeSearch::Find(const std::string& propsString, const std::string& text) {
    if (text.empty()) {
        return {};
    }
    return session_->Localizing([&] {
        const std::shared_ptr<Database> database = session_->StoreFor(propsString);
        const bool indexed = database->Reading([&] { return database->HasSearchIndex(); });
        if (!indexed && session_->FirstTime("search without index " +
                                            session_->Describe(database->Location()))) {
            DiagnosticLogComponent log(*session_);
            if (log.IsEnabled()) {
                log.LogNote("DataFlowInfo.TreeSearch: " + session_->Describe(database->Location()) +
                            " has no search index (an older schema until its first write, or an "
                            "engine without FTS5 or pg_trgm); searches read every row");
            }
        }
        return FindIn(*database, text, indexed);
    });
}

}  // namespace quarn::suite
