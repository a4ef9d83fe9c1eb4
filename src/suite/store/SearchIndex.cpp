#include "suite/store/SearchIndex.h"

#include "suite/store/LogProtection.h"

namespace quarn::suite::search {

namespace {

constexpr const IndexedTable* kIndexedTables[] = {&kGroups, &kSubSystems};

bool IsPostgres(const Connection& connection) {
    return connection.Kind() == Connection::Engine::PostgreSQL;
}

const IndexedTable* TableNamed(std::string_view table) {
    for (const IndexedTable* indexed : kIndexedTables) {
        if (indexed->table == table) {
            return indexed;
        }
    }
    return nullptr;
}

std::string Text(std::string_view text) {
    return std::string(text);
}

// The index's columns beside its rowid, and the values of `row` ("NEW", a table alias) for them.
constexpr std::string_view kSqliteColumns = "FCode, FNameCHS, FNameCHT, FNameEN";

std::string SqliteValues(const IndexedTable& table, std::string_view row) {
    std::string values = Text(row) + "." + Text(table.idColumn);
    for (const std::string_view name : table.names) {
        values += ", " + Text(row) + "." + Text(name);
    }
    return values;
}

std::string SqliteInsert(const IndexedTable& table, std::string_view row) {
    return "INSERT INTO " + Text(table.index) + " (rowid, " + Text(kSqliteColumns) + ") VALUES (" +
           Text(row) + "." + Text(table.idColumn) + ", " + SqliteValues(table, row) + "); ";
}

std::string SqliteDelete(const IndexedTable& table) {
    return "DELETE FROM " + Text(table.index) + " WHERE rowid = OLD." + Text(table.idColumn) + "; ";
}

// Whether this program's SQLite has the full-text module (an SQLite may be built without it).
bool SqliteHasFts5(Connection& connection) {
    return connection.Run("SELECT sqlite_compileoption_used('ENABLE_FTS5')", {}) != 0;
}

void EnsureSqlite(Connection& connection) {
    if (!SqliteHasFts5(connection)) {
        return;
    }
    for (const IndexedTable* table : kIndexedTables) {
        if (connection.HasTable(table->index)) {
            continue;
        }
        // The tokenizer folds the case of every language; no ranking, so no column sizes.
        connection.Execute("CREATE VIRTUAL TABLE " + Text(table->index) + " USING fts5(" +
                           Text(kSqliteColumns) +
                           ", tokenize = 'trigram case_sensitive 0', columnsize = 0)");
        connection.Execute("INSERT INTO " + Text(table->index) + " (rowid, " +
                           Text(kSqliteColumns) + ") SELECT " + Text(table->idColumn) + ", " +
                           SqliteValues(*table, Text(table->table)) + " FROM " +
                           Text(table->table));
    }
}

// pg_trgm where the server has it and this role may create it (it is a trusted extension: the
// database's owner may); an index in the schema of the extension's operator class. Whatever
// stops either (no such extension, no right to create it) leaves the database without the
// index: searches then scan, which the store notes in the log.
void EnsurePostgres(Connection& connection) {
    connection.Execute(
        "DO $$ BEGIN CREATE EXTENSION IF NOT EXISTS pg_trgm; "
        "EXCEPTION WHEN OTHERS THEN NULL; END $$");
    for (const IndexedTable* table : kIndexedTables) {
        const std::string create = "CREATE INDEX IF NOT EXISTS " + Text(table->pgIndex) + " ON " +
                                   Text(table->table) + " USING gin ((" +
                                   PostgresExpression(*table) + ") ";
        connection.Execute(
            "DO $$ DECLARE opclasses text; BEGIN "
            "SELECT quote_ident(n.nspname) INTO opclasses FROM pg_extension e JOIN pg_namespace n "
            "ON n.oid = e.extnamespace WHERE e.extname = 'pg_trgm'; "
            "IF opclasses IS NOT NULL THEN EXECUTE $sql$" +
            create + "$sql$ || opclasses || '.gin_trgm_ops)'; END IF; END $$");
    }
}

}  // namespace

void Create(Connection& connection) {
    Ensure(connection);
    if (!IsPostgres(connection)) {
        // The triggers that log the tree now also keep the index.
        changelog::Protect(connection);
    }
}

void Ensure(Connection& connection) {
    if (IsPostgres(connection)) {
        EnsurePostgres(connection);
    } else {
        EnsureSqlite(connection);
    }
}

bool Indexed(Connection& connection) {
    if (IsPostgres(connection)) {
        return connection.Run(
                   "SELECT count(*) FROM pg_indexes WHERE schemaname = "
                   "current_schema() AND indexname IN ($1, $2)",
                   {Text(kGroups.pgIndex), Text(kSubSystems.pgIndex)}) == 2;
    }
    return SqliteHasFts5(connection) && connection.HasTable(kGroups.index) &&
           connection.HasTable(kSubSystems.index);
}

std::string SqliteTriggerStatements(std::string_view table, std::string_view operation) {
    const IndexedTable* indexed = TableNamed(table);
    if (!indexed) {
        return {};
    }
    if (operation == "INSERT") {
        return SqliteInsert(*indexed, "NEW");
    }
    if (operation == "DELETE") {
        return SqliteDelete(*indexed);
    }
    return SqliteDelete(*indexed) + SqliteInsert(*indexed, "NEW");
}

std::string PostgresExpression(const IndexedTable& table) {
    std::string expression = "lower(" + Text(table.idColumn) + "::text";
    for (const std::string_view name : table.names) {
        expression += " || chr(31) || coalesce(" + Text(name) + ", '')";
    }
    return expression + ")";
}

}  // namespace quarn::suite::search
