#include "suite/store/LogProtection.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "suite/store/ChangeLog.h"
#include "suite/store/ChangeSeal.h"
#include "suite/store/Schema.h"
#include "suite/store/SearchIndex.h"

namespace quarn::suite::changelog {

namespace {

using Type = ColumnSpec::Type;

bool IsPostgres(const Connection& connection) {
    return connection.Kind() == Connection::Engine::PostgreSQL;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The tables only the log's triggers (and its owner) may write.
constexpr std::string_view kLogTables[] = {"t_DataFlowChangeLog", "t_DataFlowChangeSeq",
                                           "t_DataFlowChangePruned", "t_SchemaVersion"};

// Whether the log records the account types and releases too (schema version 9 on).
bool RecordsLogged(Connection& connection) {
    return schema::VersionOf(connection) >= kFirstRecordsLoggedVersion;
}

// ---- SQLite -------------------------------------------------------------------------------

constexpr std::string_view kSqlitePruned =
    "CREATE TRIGGER tr_changelog_pruned AFTER DELETE ON t_DataFlowChangeLog BEGIN "
    "UPDATE t_DataFlowChangePruned SET FSeal = CASE WHEN OLD.FSeq > FSeq THEN OLD.FSeal ELSE "
    "FSeal END, FSeq = max(FSeq, OLD.FSeq); END";

// The tree's triggers keep the search index where the database has it.
std::vector<std::pair<std::string, std::string>> SqliteTriggers(Connection& connection) {
    auto triggers = SqliteTreeTriggers(search::Indexed(connection));
    triggers.emplace_back("tr_changelog_pruned", kSqlitePruned);
    if (RecordsLogged(connection)) {
        const auto records = SqliteRecordTriggers();
        triggers.insert(triggers.end(), records.begin(), records.end());
    }
    return triggers;
}

struct StoredTrigger {
    std::string name;
    std::string table;
    std::string sql;
};

std::vector<StoredTrigger> SqliteStoredTriggers(Connection& connection) {
    const auto rows = connection.QueryTyped(
        "SELECT name, tbl_name, sql FROM sqlite_master WHERE type = 'trigger'",
        {{"name", Type::Text}, {"tbl_name", Type::Text}, {"sql", Type::Text}}, {});
    std::vector<StoredTrigger> triggers;
    for (const uint32_t row : rows->LiveRows()) {
        triggers.push_back({rows->Value(row, 0).TextOrEmpty(), rows->Value(row, 1).TextOrEmpty(),
                            rows->Value(row, 2).TextOrEmpty()});
    }
    return triggers;
}

bool IsLogTable(std::string_view table) {
    return std::any_of(std::begin(kLogTables), std::end(kLogTables), [&](std::string_view log) {
        return Lower(std::string(log)) == Lower(std::string(table));
    });
}

std::vector<std::string> SqliteMissing(Connection& connection) {
    std::vector<std::string> missing;
    const std::vector<StoredTrigger> stored = SqliteStoredTriggers(connection);
    const auto expected = SqliteTriggers(connection);
    for (const auto& [name, sql] : expected) {
        const auto found = std::find_if(stored.begin(), stored.end(),
                                        [&](const StoredTrigger& t) { return t.name == name; });
        if (found == stored.end()) {
            missing.push_back("trigger " + name + " is missing");
        } else if (found->sql != sql) {
            missing.push_back("trigger " + name + " was altered");
        }
    }
    for (const StoredTrigger& trigger : stored) {
        const bool ours = std::any_of(expected.begin(), expected.end(),
                                      [&](const auto& e) { return e.first == trigger.name; });
        if (!ours && IsLogTable(trigger.table)) {
            missing.push_back("trigger " + trigger.name + " on " + trigger.table +
                              " is not this program's");
        }
    }
    return missing;
}

void SqliteProtect(Connection& connection) {
    const auto expected = SqliteTriggers(connection);
    for (const StoredTrigger& trigger : SqliteStoredTriggers(connection)) {
        const bool ours = std::any_of(expected.begin(), expected.end(),
                                      [&](const auto& e) { return e.first == trigger.name; });
        if (ours || IsLogTable(trigger.table)) {
            connection.Execute("DROP TRIGGER \"" + trigger.name + "\"");
        }
    }
    for (const auto& [name, sql] : expected) {
        connection.Execute(sql);
    }
}

// ---- PostgreSQL ---------------------------------------------------------------------------

struct Function {
    std::string name;
    std::string returns;
    std::string body;
};

// The function that logs the rows of `table`.
Function LogFunction(const LoggedTable& table) {
    return {"quarn_log_" + Lower(table.name), "trigger",
            " BEGIN INSERT INTO t_DataFlowChangeLog (FOperation, FTableName, FItemID, FOld, FNew) "
            "VALUES (TG_OP, '" +
                table.name + "', CASE WHEN TG_OP = 'DELETE' THEN OLD." + table.idColumn +
                " ELSE NEW." + table.idColumn + " END, CASE WHEN TG_OP = 'INSERT' THEN NULL ELSE " +
                JsonOf(table, "json_build_object", "OLD") +
                "::text END, CASE WHEN TG_OP = 'DELETE' THEN NULL ELSE " +
                JsonOf(table, "json_build_object", "NEW") + "::text END); RETURN NULL; END "};
}

// The functions the triggers run, as the owner, each with its body exactly as stored; with
// `records`, those that log the account types and releases too.
std::vector<Function> PostgresFunctions(bool records) {
    std::vector<Function> functions;
    // The transaction's number: taken from the counter at its first write, whose row lock it
    // keeps until it ends, so that numbers follow commits. The counter row names the transaction
    // that holds it, so no setting of the caller can pick the number.
    functions.push_back(
        {"quarn_change_number", "bigint",
         " DECLARE n bigint; BEGIN "
         "SELECT FSeq INTO n FROM t_DataFlowChangeSeq WHERE FTxid = txid_current(); "
         "IF n IS NULL THEN "
         "UPDATE t_DataFlowChangeSeq SET FSeq = FSeq + 1, FTxid = txid_current() "
         "RETURNING FSeq INTO n; "
         "PERFORM pg_notify('" +
             std::string(kChangedChannel) +
             "', n::text); END IF; "
             "RETURN n; END "});
    functions.push_back({"quarn_row_version", "trigger",
                         " BEGIN NEW.FVersion := quarn_change_number(); RETURN NEW; END "});
    for (const LoggedTable& table : LoggedTables()) {
        functions.push_back(LogFunction(table));
    }
    for (const LoggedTable& table : records ? RecordTables() : std::vector<LoggedTable>{}) {
        functions.push_back(LogFunction(table));
    }
    // Every logged row, whoever inserts it, is numbered, stamped once for its transaction (its
    // start time, the authenticated user, the client label and note the transaction set) and
    // sealed after the row before it.
    functions.push_back(
        {"quarn_seal_change", "trigger",
         " DECLARE previous text; BEGIN "
         "NEW.FSeq := quarn_change_number(); "
         "NEW.FChangeID := nextval('t_dataflowchangelog_fchangeid_seq'); "
         "NEW.FTxn := NEW.FSeq; "
         "NEW.FTime := to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'); "
         "NEW.FDbUser := session_user; "
         "NEW.FClient := coalesce(nullif(current_setting('quarn.client', true), ''), "
         "nullif(current_setting('application_name'), '')); "
         "NEW.FNote := nullif(current_setting('quarn.note', true), ''); "
         "NEW.FForeign := 0; "
         "SELECT FSeal INTO previous FROM t_DataFlowChangeLog "
         "ORDER BY FSeq DESC, FChangeID DESC LIMIT 1; "
         "IF NOT FOUND THEN SELECT FSeal INTO previous FROM t_DataFlowChangePruned; END IF; "
         "NEW.FSeal := " +
             PostgresSealExpression("NEW", "previous") + "; RETURN NEW; END "});
    functions.push_back(
        {"quarn_changelog_pruned", "trigger",
         " BEGIN UPDATE t_DataFlowChangePruned p SET FSeq = g.FSeq, FSeal = g.FSeal FROM "
         "(SELECT FSeq, FSeal FROM gone ORDER BY FSeq DESC, FChangeID DESC LIMIT 1) g "
         "WHERE g.FSeq > p.FSeq; RETURN NULL; END "});
    return functions;
}

struct Trigger {
    std::string name;
    std::string table;
    std::string timing;  // what CREATE TRIGGER says between the name and ON
    std::string forEach;
    std::string function;
    int type;  // pg_trigger.tgtype: 1 row, 2 before, 4 insert, 8 delete, 16 update
};

Trigger LogTrigger(const LoggedTable& table) {
    return {"tr_" + table.name + "_log",        table.name,
            "AFTER INSERT OR UPDATE OR DELETE", "FOR EACH ROW",
            "quarn_log_" + Lower(table.name),   1 | 4 | 8 | 16};
}

std::vector<Trigger> PostgresTriggers(bool records) {
    std::vector<Trigger> triggers;
    for (const LoggedTable& table : LoggedTables()) {
        triggers.push_back({"tr_" + table.name + "_version", table.name, "BEFORE INSERT OR UPDATE",
                            "FOR EACH ROW", "quarn_row_version", 1 | 2 | 4 | 16});
        triggers.push_back(LogTrigger(table));
    }
    for (const LoggedTable& table : records ? RecordTables() : std::vector<LoggedTable>{}) {
        triggers.push_back(LogTrigger(table));
    }
    triggers.push_back({"tr_changelog_seal", "t_DataFlowChangeLog", "BEFORE INSERT", "FOR EACH ROW",
                        "quarn_seal_change", 1 | 2 | 4});
    triggers.push_back({"tr_changelog_pruned", "t_DataFlowChangeLog", "AFTER DELETE",
                        "REFERENCING OLD TABLE AS gone FOR EACH STATEMENT",
                        "quarn_changelog_pruned", 8});
    return triggers;
}

// The schema the tables are in, quoted as an identifier: the functions search only it.
std::string QuotedSchema(Connection& connection) {
    const auto rows =
        connection.QueryTyped("SELECT quote_ident(current_schema())", {{"schema", Type::Text}}, {});
    return rows->Value(rows->LiveRows().front(), 0).TextOrEmpty();
}

std::string SearchPath(Connection& connection) {
    return "pg_catalog, " + QuotedSchema(connection) + ", pg_temp";
}

// A grant beyond reading on one of the log's tables; the grantee quoted as an identifier.
struct Grant {
    std::string privilege;
    std::string table;
    std::string grantee;
};

std::vector<Grant> ForeignGrants(Connection& connection) {
    std::string tables;
    for (const std::string_view table : kLogTables) {
        tables += (tables.empty() ? "'" : ", '") + Lower(std::string(table)) + "'";
    }
    const auto rows = connection.QueryTyped(
        "SELECT a.privilege_type, c.relname, CASE WHEN a.grantee = 0 THEN 'PUBLIC' "
        "ELSE quote_ident(pg_get_userbyid(a.grantee)) END FROM pg_class c "
        "CROSS JOIN LATERAL aclexplode(c.relacl) a WHERE c.relnamespace = "
        "current_schema()::regnamespace AND c.relname IN (" +
            tables +
            ") AND a.grantee <> c.relowner AND a.privilege_type <> 'SELECT' ORDER BY 2, 3, 1",
        {{"privilege", Type::Text}, {"table", Type::Text}, {"grantee", Type::Text}}, {});
    std::vector<Grant> grants;
    for (const uint32_t row : rows->LiveRows()) {
        grants.push_back({rows->Value(row, 0).TextOrEmpty(), rows->Value(row, 1).TextOrEmpty(),
                          rows->Value(row, 2).TextOrEmpty()});
    }
    return grants;
}

std::vector<std::string> PostgresMissing(Connection& connection) {
    std::vector<std::string> missing;
    const auto functions = connection.QueryTyped(
        "SELECT p.proname, p.prosrc, p.prosecdef::int, coalesce(array_to_string(p.proconfig, "
        "';'), '') FROM pg_proc p WHERE p.pronamespace = current_schema()::regnamespace AND "
        "p.proname LIKE 'quarn\\_%'",
        {{"name", Type::Text},
         {"body", Type::Text},
         {"definer", Type::Integer},
         {"config", Type::Text}},
        {});
    const std::string config = "search_path=" + SearchPath(connection);
    const bool records = RecordsLogged(connection);
    for (const Function& function : PostgresFunctions(records)) {
        bool found = false;
        for (const uint32_t row : functions->LiveRows()) {
            if (functions->Value(row, 0).TextOrEmpty() != function.name) {
                continue;
            }
            found = true;
            if (functions->Value(row, 1).TextOrEmpty() != function.body ||
                functions->Value(row, 2).ToInt32() != 1 ||
                functions->Value(row, 3).TextOrEmpty() != config) {
                missing.push_back("function " + function.name + " was altered");
            }
        }
        if (!found) {
            missing.push_back("function " + function.name + " is missing");
        }
    }
    const auto triggers = connection.QueryTyped(
        "SELECT t.tgname, c.relname, t.tgenabled::text, p.proname, t.tgtype::int, "
        "(t.tgqual IS NULL AND cardinality(t.tgattr::int2[]) = 0)::int "
        "FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid JOIN pg_proc p ON "
        "p.oid = t.tgfoid WHERE NOT t.tgisinternal AND c.relnamespace = "
        "current_schema()::regnamespace",
        {{"name", Type::Text},
         {"table", Type::Text},
         {"enabled", Type::Text},
         {"function", Type::Text},
         {"type", Type::Integer},
         {"unconditional", Type::Integer}},
        {});
    for (const Trigger& trigger : PostgresTriggers(records)) {
        bool found = false;
        for (const uint32_t row : triggers->LiveRows()) {
            if (triggers->Value(row, 0).TextOrEmpty() != Lower(trigger.name) ||
                triggers->Value(row, 1).TextOrEmpty() != Lower(trigger.table)) {
                continue;
            }
            found = true;
            const std::string enabled = triggers->Value(row, 2).TextOrEmpty();
            if (enabled != "O" && enabled != "A") {
                missing.push_back("trigger " + trigger.name + " is disabled");
            } else if (triggers->Value(row, 3).TextOrEmpty() != trigger.function ||
                       triggers->Value(row, 4).ToInt32() != trigger.type ||
                       triggers->Value(row, 5).ToInt32() != 1) {
                missing.push_back("trigger " + trigger.name + " was altered");
            }
        }
        if (!found) {
            missing.push_back("trigger " + trigger.name + " is missing");
        }
    }
    for (const Grant& grant : ForeignGrants(connection)) {
        missing.push_back(grant.privilege + " on " + grant.table + " granted to " + grant.grantee);
    }
    return missing;
}

// The roles a login is given: reading the suite's tables, and also writing the tree.
void PostgresRoles(Connection& connection) {
    for (const char* role : {"quarn_reader", "quarn_writer"}) {
        connection.Execute(std::string("DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE "
                                       "rolname = '") +
                           role + "') THEN CREATE ROLE " + role +
                           " NOLOGIN; END IF; EXCEPTION WHEN insufficient_privilege OR "
                           "duplicate_object OR unique_violation THEN NULL; END $$");
    }
    const std::string suiteTables =
        "t_DataFlowTopClass, t_DataFlowSubSystem, t_DataFlowSubFunc, t_AccountType, ICClassType, "
        "t_MultiCheckFlow, t_WorkFlow, t_Report, t_DataFlowChangeLog, t_DataFlowChangeSeq, "
        "t_DataFlowChangePruned, t_SchemaVersion";
    connection.Execute(
        "DO $$ BEGIN IF EXISTS (SELECT FROM pg_roles WHERE rolname = 'quarn_reader') THEN "
        "GRANT SELECT ON " +
        suiteTables +
        " TO quarn_reader; END IF; IF EXISTS (SELECT FROM pg_roles WHERE rolname = "
        "'quarn_writer') THEN GRANT SELECT ON " +
        suiteTables +
        " TO quarn_writer; GRANT INSERT, UPDATE, DELETE ON t_DataFlowTopClass, "
        "t_DataFlowSubSystem TO quarn_writer; END IF; END $$");
}

// Makes the functions, as the owner running only in the tables' schema, and the triggers anew.
void PostgresCreate(Connection& connection, const std::vector<Function>& functions,
                    const std::vector<Trigger>& triggers) {
    const std::string searchPath = SearchPath(connection);
    for (const Function& function : functions) {
        connection.Execute("CREATE OR REPLACE FUNCTION " + function.name + "() RETURNS " +
                           function.returns +
                           " LANGUAGE plpgsql SECURITY DEFINER SET search_path = " + searchPath +
                           " AS $$" + function.body + "$$");
    }
    for (const Trigger& trigger : triggers) {
        connection.Execute("DROP TRIGGER IF EXISTS " + trigger.name + " ON " + trigger.table);
        connection.Execute("CREATE TRIGGER " + trigger.name + " " + trigger.timing + " ON " +
                           trigger.table + " " + trigger.forEach + " EXECUTE FUNCTION " +
                           trigger.function + "()");
    }
}

void PostgresProtect(Connection& connection) {
    const bool records = RecordsLogged(connection);
    PostgresCreate(connection, PostgresFunctions(records), PostgresTriggers(records));
    for (const Grant& grant : ForeignGrants(connection)) {
        connection.Execute("REVOKE " + grant.privilege + " ON " + grant.table + " FROM " +
                           grant.grantee);
    }
    PostgresRoles(connection);
}

}  // namespace

void AddSeals(Connection& connection) {
    if (IsPostgres(connection)) {
        connection.Execute(
            "ALTER TABLE t_DataFlowChangeLog ADD COLUMN FTxn BIGINT, ADD COLUMN FSeal TEXT, "
            "ADD COLUMN FForeign INTEGER NOT NULL DEFAULT 0");
        connection.Execute("ALTER TABLE t_DataFlowChangePruned ADD COLUMN FSeal TEXT");
        connection.Execute("ALTER TABLE t_DataFlowChangeSeq ADD COLUMN FTxid BIGINT");
        connection.Execute("DROP INDEX ix_changelog_seq");
        connection.Execute(
            "CREATE INDEX ix_changelog_seq ON t_DataFlowChangeLog (FSeq, FChangeID)");
        // A PostgreSQL transaction always had one number.
        connection.Execute("UPDATE t_DataFlowChangeLog SET FTxn = FSeq");
    } else {
        connection.Execute("ALTER TABLE t_DataFlowChangeLog ADD COLUMN FTxn INTEGER");
        connection.Execute("ALTER TABLE t_DataFlowChangeLog ADD COLUMN FSeal TEXT");
        connection.Execute(
            "ALTER TABLE t_DataFlowChangeLog ADD COLUMN FForeign INTEGER NOT NULL DEFAULT 0");
        connection.Execute("ALTER TABLE t_DataFlowChangePruned ADD COLUMN FSeal TEXT");
        // Rows logged before: this program named itself in every row it wrote, and wrote a
        // rewrite's delete and insert as neighbours with the same client and note.
        connection.Execute(
            "UPDATE t_DataFlowChangeLog SET FTxn = FSeq, FForeign = (FClient IS NULL)");
        connection.Execute(
            "UPDATE t_DataFlowChangeLog SET FTxn = FSeq - 1 WHERE FOperation = 'INSERT' AND "
            "EXISTS (SELECT 1 FROM t_DataFlowChangeLog d WHERE d.FSeq = "
            "t_DataFlowChangeLog.FSeq - 1 AND d.FOperation = 'DELETE' AND d.FTableName = "
            "t_DataFlowChangeLog.FTableName AND d.FItemID = t_DataFlowChangeLog.FItemID AND "
            "d.FClient = t_DataFlowChangeLog.FClient AND d.FNote IS t_DataFlowChangeLog.FNote)");
    }
    SealNewRows(connection, std::nullopt);
    Protect(connection);
}

void LogRecords(Connection& connection) {
    if (IsPostgres(connection)) {
        std::vector<Function> functions;
        std::vector<Trigger> triggers;
        for (const LoggedTable& table : RecordTables()) {
            functions.push_back(LogFunction(table));
            triggers.push_back(LogTrigger(table));
        }
        PostgresCreate(connection, functions, triggers);
        return;
    }
    for (const auto& [name, sql] : SqliteRecordTriggers()) {
        connection.Execute(sql);
    }
}

std::vector<std::string> MissingProtections(Connection& connection) {
    return IsPostgres(connection) ? PostgresMissing(connection) : SqliteMissing(connection);
}

void Protect(Connection& connection) {
    if (IsPostgres(connection)) {
        PostgresProtect(connection);
    } else {
        SqliteProtect(connection);
    }
}

}  // namespace quarn::suite::changelog
