#include "suite/store/ChangeLog.h"

#include <string>
#include <utility>
#include <vector>

#include "suite/store/SearchIndex.h"

namespace quarn::suite::changelog {

const std::vector<LoggedTable>& LoggedTables() {
    static const std::vector<LoggedTable> kTables{
        {"t_DataFlowTopClass",
         "FTopClassID",
         {"FTopClassID", "FtopClassName", "FTopClassName_CHS", "FTopClassName_CHT",
          "FTopClassName_EN", "FIndex", "FVisible", "FShowSysType", "FAcctType"}},
        {"t_DataFlowSubSystem",
         "FSubSysID",
         {"FSubSysID", "FTopClassID", "FName", "FName_CHS", "FName_CHT", "FName_EN", "FSUBID",
          "FClassName", "FVisible", "FIndex", "FAcctType", "FShowSysType"}},
    };
    return kTables;
}

const std::vector<LoggedTable>& RecordTables() {
    static const std::vector<LoggedTable> kTables{
        {"t_AccountType", "FAcctType", {"FAcctType", "FDesc", "FDesc_CHT", "FDesc_EN"}},
        {"t_SuiteRelease", "FOrder", {"FOrder", "FChange", "FName", "FDate", "FAccountTypes"}},
    };
    return kTables;
}

namespace {

std::string CommaList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "" : ", ") + name;
    }
    return list;
}

void CreateSqlite(Connection& connection) {
    connection.Execute(
        "CREATE TABLE t_DataFlowChangeLog (FSeq INTEGER PRIMARY KEY, FTime TEXT NOT NULL, "
        "FDbUser TEXT, FClient TEXT, FOperation TEXT NOT NULL, FTableName TEXT NOT NULL, "
        "FItemID INTEGER NOT NULL, FOld TEXT, FNew TEXT)");
    connection.Execute("CREATE TABLE t_DataFlowChangePruned (FSeq INTEGER NOT NULL)");
    connection.Execute("INSERT INTO t_DataFlowChangePruned (FSeq) VALUES (0)");
    connection.Execute(
        "CREATE TRIGGER tr_changelog_pruned AFTER DELETE ON t_DataFlowChangeLog BEGIN "
        "UPDATE t_DataFlowChangePruned SET FSeq = max(FSeq, OLD.FSeq); END");
    for (const auto& [name, sql] : SqliteTreeTriggers()) {
        connection.Execute(sql);
    }
}

void CreatePostgres(Connection& connection) {
    connection.Execute(
        "CREATE TABLE t_DataFlowChangeLog (FChangeID BIGSERIAL PRIMARY KEY, FSeq BIGINT NOT NULL, "
        "FTime TEXT NOT NULL, FDbUser TEXT, FClient TEXT, FOperation TEXT NOT NULL, "
        "FTableName TEXT NOT NULL, FItemID INTEGER NOT NULL, FOld TEXT, FNew TEXT)");
    connection.Execute("CREATE INDEX ix_changelog_seq ON t_DataFlowChangeLog (FSeq)");
    connection.Execute("CREATE TABLE t_DataFlowChangePruned (FSeq BIGINT NOT NULL)");
    connection.Execute("INSERT INTO t_DataFlowChangePruned (FSeq) VALUES (0)");
    connection.Execute(
        "CREATE FUNCTION quarn_changelog_pruned() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "UPDATE t_DataFlowChangePruned SET FSeq = greatest(FSeq, (SELECT max(FSeq) FROM gone)); "
        "RETURN NULL; END $$");
    connection.Execute(
        "CREATE TRIGGER tr_changelog_pruned AFTER DELETE ON t_DataFlowChangeLog "
        "REFERENCING OLD TABLE AS gone FOR EACH STATEMENT EXECUTE FUNCTION "
        "quarn_changelog_pruned()");
    // The transaction's number: taken from the counter at its first write, whose row lock it
    // keeps until it ends, so that numbers follow commits.
    connection.Execute(
        "CREATE FUNCTION quarn_change_number() RETURNS bigint LANGUAGE plpgsql AS $$ "
        "DECLARE n bigint := nullif(current_setting('quarn.change_number', true), '')::bigint; "
        "BEGIN IF n IS NULL THEN "
        "UPDATE t_DataFlowChangeSeq SET FSeq = FSeq + 1 RETURNING FSeq INTO n; "
        "PERFORM set_config('quarn.change_number', n::text, true); END IF; "
        "RETURN n; END $$");
    connection.Execute(
        "CREATE FUNCTION quarn_row_version() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "NEW.FVersion := quarn_change_number(); RETURN NEW; END $$");
    for (const LoggedTable& table : LoggedTables()) {
        connection.Execute("CREATE TRIGGER tr_" + table.name +
                           "_version BEFORE INSERT OR UPDATE ON " + table.name +
                           " FOR EACH ROW EXECUTE FUNCTION quarn_row_version()");
        const std::string function = "quarn_log_" + table.name;
        connection.Execute(
            "CREATE FUNCTION " + function +
            "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
            "INSERT INTO t_DataFlowChangeLog (FSeq, FTime, FDbUser, FClient, FOperation, "
            "FTableName, FItemID, FOld, FNew) VALUES (quarn_change_number(), "
            "to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'), "
            "session_user, coalesce(nullif(current_setting('quarn.client', true), ''), "
            "nullif(current_setting('application_name'), '')), TG_OP, '" +
            table.name + "', CASE WHEN TG_OP = 'DELETE' THEN OLD." + table.idColumn + " ELSE NEW." +
            table.idColumn + " END, CASE WHEN TG_OP = 'INSERT' THEN NULL ELSE " +
            JsonOf(table, "json_build_object", "OLD") +
            "::text END, CASE WHEN TG_OP = 'DELETE' THEN NULL ELSE " +
            JsonOf(table, "json_build_object", "NEW") + "::text END); RETURN NULL; END $$");
        connection.Execute("CREATE TRIGGER tr_" + table.name +
                           "_log AFTER INSERT OR UPDATE OR DELETE ON " + table.name +
                           " FOR EACH ROW EXECUTE FUNCTION " + function + "()");
    }
}

// The triggers that log one table on SQLite; with `version` they stamp each written row with its
// change number, with `searchIndexed` they also keep the search index.
void AddSqliteTriggers(std::vector<std::pair<std::string, std::string>>& triggers,
                       const LoggedTable& table, bool version, bool searchIndexed) {
    // Numbers are given explicitly, never reused after the log was emptied by pruning.
    const std::string next = "(" + std::string(kLastChangeSqlite) + ") + 1";
    const std::string now = "strftime('%Y-%m-%dT%H:%M:%fZ', 'now')";
    const std::string log =
        "INSERT INTO t_DataFlowChangeLog (FSeq, FTime, FOperation, "
        "FTableName, FItemID, FOld, FNew) VALUES (" +
        next + ", " + now + ", ";
    const std::string stamp = version ? "UPDATE " + table.name +
                                            " SET FVersion = (SELECT max(FSeq) FROM "
                                            "t_DataFlowChangeLog) WHERE " +
                                            table.idColumn + " = NEW." + table.idColumn + "; "
                                      : std::string();
    const std::string prefix = "tr_" + table.name;
    const auto index = [&](std::string_view operation) {
        return searchIndexed ? search::SqliteTriggerStatements(table.name, operation)
                             : std::string();
    };
    triggers.emplace_back(prefix + "_insert",
                          "CREATE TRIGGER " + prefix + "_insert AFTER INSERT ON " + table.name +
                              " BEGIN " + log + "'INSERT', '" + table.name + "', NEW." +
                              table.idColumn + ", NULL, " + JsonOf(table, "json_object", "NEW") +
                              "); " + stamp + index("INSERT") + "END");
    // Only a change of the values is logged: the version stamp itself is not.
    triggers.emplace_back(
        prefix + "_update",
        "CREATE TRIGGER " + prefix + "_update AFTER UPDATE OF " + CommaList(table.columns) +
            " ON " + table.name + " BEGIN " + log + "'UPDATE', '" + table.name + "', NEW." +
            table.idColumn + ", " + JsonOf(table, "json_object", "OLD") + ", " +
            JsonOf(table, "json_object", "NEW") + "); " + stamp + index("UPDATE") + "END");
    triggers.emplace_back(prefix + "_delete",
                          "CREATE TRIGGER " + prefix + "_delete AFTER DELETE ON " + table.name +
                              " BEGIN " + log + "'DELETE', '" + table.name + "', OLD." +
                              table.idColumn + ", " + JsonOf(table, "json_object", "OLD") +
                              ", NULL); " + index("DELETE") + "END");
}

}  // namespace

std::vector<std::pair<std::string, std::string>> SqliteTreeTriggers(bool searchIndexed) {
    std::vector<std::pair<std::string, std::string>> triggers;
    for (const LoggedTable& table : LoggedTables()) {
        AddSqliteTriggers(triggers, table, true, searchIndexed);
    }
    return triggers;
}

std::vector<std::pair<std::string, std::string>> SqliteRecordTriggers() {
    std::vector<std::pair<std::string, std::string>> triggers;
    for (const LoggedTable& table : RecordTables()) {
        AddSqliteTriggers(triggers, table, false, false);
    }
    return triggers;
}

std::string JsonOf(const LoggedTable& table, const char* function, const char* row) {
    std::string json = std::string(function) + "(";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        json += (i ? ", '" : "'") + table.columns[i] + "', " + row + "." + table.columns[i];
    }
    return json + ")";
}

void Create(Connection& connection) {
    for (const LoggedTable& table : LoggedTables()) {
        connection.Execute("ALTER TABLE " + table.name +
                           " ADD COLUMN FVersion BIGINT NOT NULL DEFAULT 0");
    }
    if (connection.Kind() == Connection::Engine::PostgreSQL) {
        CreatePostgres(connection);
    } else {
        CreateSqlite(connection);
    }
}

void Notify(Connection& connection) {
    if (connection.Kind() != Connection::Engine::PostgreSQL) {
        return;
    }
    // A transaction announces itself once, when it takes its number; PostgreSQL delivers the
    // notification only if it commits.
    connection.Execute(
        "CREATE OR REPLACE FUNCTION quarn_change_number() RETURNS bigint LANGUAGE plpgsql AS $$ "
        "DECLARE n bigint := nullif(current_setting('quarn.change_number', true), '')::bigint; "
        "BEGIN IF n IS NULL THEN "
        "UPDATE t_DataFlowChangeSeq SET FSeq = FSeq + 1 RETURNING FSeq INTO n; "
        "PERFORM set_config('quarn.change_number', n::text, true); "
        "PERFORM pg_notify('" +
        std::string(kChangedChannel) +
        "', n::text); END IF; "
        "RETURN n; END $$");
}

void AddNotes(Connection& connection) {
    connection.Execute("ALTER TABLE t_DataFlowChangeLog ADD COLUMN FNote TEXT");
    connection.Execute(
        "CREATE INDEX ix_changelog_item ON t_DataFlowChangeLog (FTableName, FItemID)");
}

}  // namespace quarn::suite::changelog
