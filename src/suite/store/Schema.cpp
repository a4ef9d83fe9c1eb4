#include "suite/store/Schema.h"

#include <algorithm>
#include <array>

#include "foundation/Utf8Text.h"
#include "suite/store/ChangeLog.h"
#include "suite/store/LogProtection.h"
#include "suite/store/ReleaseMark.h"
#include "suite/store/SearchIndex.h"
#include "suite/store/StoreErrors.h"
#include "suite/store/StoreMessages.h"
#include "suite/store/ValueRules.h"

namespace quarn::suite {

namespace sql {
extern const std::string_view kSchemaV1;
extern const std::string_view kBaseData;
extern const std::string_view kDemoData;
}  // namespace sql

namespace schema {

namespace {

// The store's own tables: the schema version and the change sequence that lets readers bring
// a snapshot up to date with only what changed.
constexpr std::string_view kBookkeepingV1 = R"(
CREATE TABLE t_SchemaVersion (FVersion INTEGER NOT NULL);
CREATE TABLE t_DataFlowChangeSeq (FSeq BIGINT NOT NULL);
INSERT INTO t_DataFlowChangeSeq (FSeq) VALUES (0);
CREATE TABLE t_DataFlowChange (
    FSeq BIGINT NOT NULL,
    FTableName TEXT NOT NULL,
    FItemID INTEGER NOT NULL
);
CREATE INDEX ix_change_seq ON t_DataFlowChange (FSeq);
)";

// Step n brings version n-1 to version n.
struct Step {
    int version;
    void (*apply)(Connection& connection);
};

void RunScript(Connection& connection, std::string_view script);

const std::array kSteps{
    Step{1,
         [](Connection& connection) {
             RunScript(connection, sql::kSchemaV1);
             RunScript(connection, kBookkeepingV1);
         }},
    // Version 2: every write recorded by the database itself, and row versions.
    Step{2,
         [](Connection& connection) {
             connection.Execute("DROP TABLE t_DataFlowChange");
             changelog::Create(connection);
         }},
    // Version 3: PostgreSQL tells listening sessions when a transaction changed the tree.
    Step{3, [](Connection& connection) { changelog::Notify(connection); }},
    // Version 4: a note on logged changes (a revert names the change it reverted).
    Step{4, [](Connection& connection) { changelog::AddNotes(connection); }},
    // Version 5: a change is a transaction, stamped once and sealed; the log written only by
    // its owner's triggers (PostgreSQL).
    Step{5, [](Connection& connection) { changelog::AddSeals(connection); }},
    // Version 6: an index that finds items by a part of their code or names, kept by the
    // database where its engine can.
    Step{6, [](Connection& connection) { search::Create(connection); }},
    // Version 7: the store refuses blank names and a short code over 40 characters itself;
    // rows stored before are kept as they are.
    Step{7, [](Connection& connection) { valuerules::Create(connection); }},
    // Version 8: the release of the delivered tree the database is on.
    Step{8, [](Connection& connection) { release::Create(connection); }},
    // Version 9: the log records the account types and the releases as well, so that every
    // upgrade has a change of its own, whoever writes them.
    Step{9, [](Connection& connection) { changelog::LogRecords(connection); }},
};

// Runs a script of statements that each end with ";" at the end of a line.
void RunScript(Connection& connection, std::string_view script) {
    std::string statement;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string_view::npos) {
            end = script.size();
        }
        const std::string_view line = text::TrimBlanks(script.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.rfind("--", 0) == 0) {
            continue;
        }
        statement.append(line).push_back('\n');
        if (line.back() == ';') {
            statement.resize(statement.size() - 2);  // the semicolon and the line break
            connection.Execute(statement);
            statement.clear();
        }
    }
}

}  // namespace

int VersionOf(Connection& connection) {
    if (!connection.HasTable("t_SchemaVersion")) {
        return 0;
    }
    return static_cast<int>(connection.Run("SELECT max(FVersion) FROM t_SchemaVersion", {}));
}

void CheckReadable(int version, const DatabaseName& description) {
    if (version == 0) {
        RaiseStoreError(StoreError::NotOurs, "Database", messages::kNotOurs, description);
    }
    if (version > kCurrentVersion) {
        RaiseStoreError(StoreError::NewerSchema, "Database",
                        "%1由更新版本的程序创建，请使用更新版本的程序。", description);
    }
}

void Migrate(Connection& connection, int fromVersion, int toVersion) {
    for (const Step& step : kSteps) {
        if (step.version <= fromVersion || step.version > toVersion) {
            continue;
        }
        step.apply(connection);
        connection.Run("INSERT INTO t_SchemaVersion (FVersion) VALUES ($1)", {step.version});
    }
}

void Create(Connection& connection, bool demo, int version) {
    // The delivered rows are written into the first version's tables, before the change log
    // exists: its history starts with the first change after creation.
    Migrate(connection, 0, 1);
    RunScript(connection, sql::kBaseData);
    if (demo) {
        RunScript(connection, sql::kDemoData);
    }
    if (connection.Kind() == Connection::Engine::PostgreSQL) {
        // PostgreSQL alters no table while checks of its rows wait for the commit.
        connection.Execute("SET CONSTRAINTS ALL IMMEDIATE");
    }
    // The release a new database is on is recorded before the log records releases: the
    // history starts with the first change after creation.
    Migrate(connection, 1, std::min(version, release::kFirstVersion));
    if (version >= release::kFirstVersion) {
        release::RecordShipped(connection);
    }
    Migrate(connection, release::kFirstVersion, version);
}

}  // namespace schema
}  // namespace quarn::suite
