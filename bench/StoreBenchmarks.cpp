// Each benchmark of ours runs beside the direct query that answers the same question on the
// same data: an indexed SQLite point lookup in memory for the checks, the bare delete and insert
// for a save (on SQLite, and with libpq on PostgreSQL), a plain scan for the cold load.
// bench/README.md lists the ratios.

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "BenchmarkData.h"
#include "ProfiledIterations.h"
#include "host/IChangeHistory.h"
#include "host/ITreeSearch.h"
#include "host/ProgIds.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "runtime/SessionContext.h"
#include "suite/HostSession.h"
#include "suite/store/Database.h"
#include "suite/store/TreeSnapshot.h"

namespace quarn::bench {

namespace {

using subsysmgr::ModuleState;
using subsysmgr::SubSysGroup;
using subsysmgr::SubSystem;

// One generated tree per size: a database file for the suite and the same data in memory for
// the direct queries.
struct Environment {
    TreeSize size;
    std::string file;
    sqlite3* memory = nullptr;
    sqlite3* onDisk = nullptr;
    std::unique_ptr<suite::HostSession> session;

    ~Environment() {
        session.reset();
        sqlite3_close(memory);
        sqlite3_close(onDisk);
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(file + suffix, ignored);
        }
    }
};

Environment& EnvironmentFor(int32_t subSystems) {
    static std::map<int32_t, std::unique_ptr<Environment>> environments;
    auto& environment = environments[subSystems];
    if (!environment) {
        environment = std::make_unique<Environment>();
        environment->size = TreeSize{subSystems};
        environment->file = CreateTreeFile(environment->size);
        environment->memory = CreateTreeInMemory(environment->size);
        sqlite3_open(environment->file.c_str(), &environment->onDisk);
        // The direct writes keep the same rules as the store's: a subsystem needs its group.
        sqlite3_db_config(environment->onDisk, SQLITE_DBCONFIG_ENABLE_FKEY, 1, nullptr);
        environment->session =
            std::make_unique<suite::HostSession>("sqlite:" + environment->file, "EN");
    }
    // Every benchmark works on the database of its size.
    environment->session->Activate();
    return *environment;
}

// A prepared statement that is reset after each use.
class Statement {
  public:
    Statement(sqlite3* database, const char* sql) {
        sqlite3_prepare_v2(database, sql, -1, &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    sqlite3_stmt* get() const { return statement_; }
    int64_t CountOnce() {
        int64_t count = 0;
        if (sqlite3_step(statement_) == SQLITE_ROW) {
            count = sqlite3_column_int64(statement_, 0);
        }
        sqlite3_reset(statement_);
        return count;
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
    ProfiledIterations(benchmark);
}

// --- The identifier check: is the new identifier taken in any group? ---

void BM_IdCheck(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    SubSysGroup warmUp;  // clears the cache, so the snapshot is read once before timing
    warmUp.GetAllSubSystem();
    const auto subSystem = SubSystem::Create();
    int32_t id = 8000;
    for (auto _ : state) {
        subSystem->Id(id);
        id = id == 8999 ? 8000 : id + 1;
    }
    (void)environment;
}
BENCHMARK(BM_IdCheck)->Apply(Sizes);

void BM_IdLookupSqliteInMemory(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    Statement lookup(environment.memory,
                     "SELECT count(*) FROM t_DataFlowSubSystem WHERE FSubSysID = ?");
    int32_t id = 8000;
    for (auto _ : state) {
        sqlite3_bind_int(lookup.get(), 1, id);
        benchmark::DoNotOptimize(lookup.CountOnce());
        id = id == 8999 ? 8000 : id + 1;
    }
}
BENCHMARK(BM_IdLookupSqliteInMemory)->Apply(Sizes);

// --- The English-name check: has another subsystem of the group this name? ---

void BM_NameENCheck(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    SubSysGroup warmUp;
    warmUp.GetAllSubSystem();
    const auto subSystem = SubSystem::Create();
    subSystem->SubSystemGroupID(GroupId(0));
    subSystem->NameEN("Warm-up");  // builds the index of the name column once
    int32_t n = 0;
    for (auto _ : state) {
        subSystem->NameEN("New name " + std::to_string(n++ % 1000));
    }
    (void)environment;
}
BENCHMARK(BM_NameENCheck)->Apply(Sizes);

void BM_NameENLookupSqliteInMemory(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    Statement lookup(environment.memory,
                     "SELECT count(*) FROM t_DataFlowSubSystem WHERE FTopClassID = ? AND "
                     "FName_EN = ?");
    int32_t n = 0;
    for (auto _ : state) {
        const std::string name = "New name " + std::to_string(n++ % 1000);
        sqlite3_bind_int(lookup.get(), 1, GroupId(0));
        sqlite3_bind_text(lookup.get(), 2, name.c_str(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        benchmark::DoNotOptimize(lookup.CountOnce());
    }
}
BENCHMARK(BM_NameENLookupSqliteInMemory)->Apply(Sizes);

// --- The three-language check of a name dictionary ---

void BM_DictNameCheck(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    SubSysGroup warmUp;
    warmUp.GetAllSubSystem();
    const auto subSystem = SubSystem::Create();
    subSystem->SubSystemGroupID(GroupId(0));
    const auto warmUpNames = Dictionary::Create();  // builds the indexes of the name columns
    warmUpNames->Item("CHS", "甲");
    subSystem->DictName(warmUpNames);
    int32_t n = 0;
    for (auto _ : state) {
        const auto names = Dictionary::Create();
        const std::string suffix = std::to_string(n++ % 1000);
        names->Item("CHS", "新子系统" + suffix);
        names->Item("CHT", "新子系統" + suffix);
        names->Item("EN", "New name " + suffix);
        subSystem->DictName(names);
    }
    (void)environment;
}
BENCHMARK(BM_DictNameCheck)->Apply(Sizes);

void BM_DictNameLookupSqliteInMemory(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    Statement chs(
        environment.memory,
        "SELECT count(*) FROM t_DataFlowSubSystem WHERE FTopClassID = ? AND FName_CHS = ?");
    Statement cht(
        environment.memory,
        "SELECT count(*) FROM t_DataFlowSubSystem WHERE FTopClassID = ? AND FName_CHT = ?");
    Statement en(environment.memory,
                 "SELECT count(*) FROM t_DataFlowSubSystem WHERE FTopClassID = ? AND FName_EN = ?");
    int32_t n = 0;
    for (auto _ : state) {
        const std::string suffix = std::to_string(n++ % 1000);
        const std::string names[] = {"新子系统" + suffix, "新子系統" + suffix,
                                     "New name " + suffix};
        Statement* statements[] = {&chs, &cht, &en};
        for (int i = 0; i < 3; ++i) {
            sqlite3_bind_int(statements[i]->get(), 1, GroupId(0));
            sqlite3_bind_text(statements[i]->get(), 2, names[i].c_str(),
                              static_cast<int>(names[i].size()), SQLITE_TRANSIENT);
            benchmark::DoNotOptimize(statements[i]->CountOnce());
        }
    }
}
BENCHMARK(BM_DictNameLookupSqliteInMemory)->Apply(Sizes);

// --- Reading one subsystem of a group, the way the subsystem editor does ---

void BM_GetSubSystemUnchecked(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    SubSysGroup group;
    group.CancelCheck(true);
    group.Id(GroupId(5 % environment.size.Groups()));
    const int32_t wanted = SubSystemId(5);
    for (auto _ : state) {
        benchmark::DoNotOptimize(group.GetSubSystem(wanted, false));
    }
}
BENCHMARK(BM_GetSubSystemUnchecked)->Apply(Sizes);

void BM_SubSystemRowSqliteInMemory(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    Statement row(environment.memory,
                  "SELECT FTopClassID, FSubSysID, FName, FName_CHS, FName_CHT, FName_EN, FSUBID, "
                  "FVisible, FAcctType, FIndex, FShowSysType FROM t_DataFlowSubSystem WHERE "
                  "FTopClassID = ? AND FSubSysID = ?");
    for (auto _ : state) {
        sqlite3_bind_int(row.get(), 1, GroupId(5 % environment.size.Groups()));
        sqlite3_bind_int(row.get(), 2, SubSystemId(5));
        while (sqlite3_step(row.get()) == SQLITE_ROW) {
            for (int column = 0; column < 11; ++column) {
                benchmark::DoNotOptimize(sqlite3_column_text(row.get(), column));
            }
        }
        sqlite3_reset(row.get());
    }
}
BENCHMARK(BM_SubSystemRowSqliteInMemory)->Apply(Sizes);

// --- Listing 1k groups ---

void BM_GetAllSubSysGroup(benchmark::State& state) {
    EnvironmentFor(100000);  // 1000 groups
    SubSysGroup group;
    for (auto _ : state) {
        benchmark::DoNotOptimize(group.GetAllSubSysGroup());
    }
}
BENCHMARK(BM_GetAllSubSysGroup)->Unit(benchmark::kMicrosecond)->Apply(ProfiledIterations);

void BM_GroupScanSqliteFile(benchmark::State& state) {
    auto& environment = EnvironmentFor(100000);
    Statement scan(environment.onDisk,
                   "SELECT FTopClassID, FtopClassName, FTopClassName_EN, FTopClassName_CHT, "
                   "FShowSysType FROM t_DataFlowTopClass ORDER BY FIndex");
    for (auto _ : state) {
        while (sqlite3_step(scan.get()) == SQLITE_ROW) {
            for (int column = 0; column < 5; ++column) {
                benchmark::DoNotOptimize(sqlite3_column_text(scan.get(), column));
            }
        }
        sqlite3_reset(scan.get());
    }
}
BENCHMARK(BM_GroupScanSqliteFile)->Unit(benchmark::kMicrosecond)->Apply(ProfiledIterations);

// --- Search: the store's index beside the direct full-text query and a LIKE scan ---

// The texts searched, in turn: each names a few subsystems of the 100k tree.
const char* SearchedText(int round) {
    return round % 2 ? "4711" : "4712";
}

void BM_TreeSearch(benchmark::State& state) {
    auto& environment = EnvironmentFor(100000);
    const auto search = environment.session->Registry().Create<ITreeSearch>(progid::kTreeSearch);
    const std::string context = environment.session->Context();
    int round = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(search->Find(context, SearchedText(++round)).data());
    }
}
BENCHMARK(BM_TreeSearch)->Unit(benchmark::kMicrosecond)->Apply(ProfiledIterations);

// Steps a prepared statement with one text parameter to its end, touching each value.
void StepAll(sqlite3_stmt* statement, const std::string& parameter) {
    sqlite3_bind_text(statement, 1, parameter.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        benchmark::DoNotOptimize(sqlite3_column_int(statement, 0));
    }
    sqlite3_reset(statement);
}

void BM_Fts5MatchSqliteFile(benchmark::State& state) {
    auto& environment = EnvironmentFor(100000);
    Statement groups(environment.onDisk,
                     "SELECT rowid FROM t_DataFlowTopClassSearch WHERE t_DataFlowTopClassSearch "
                     "MATCH ?1");
    Statement subSystems(environment.onDisk,
                         "SELECT rowid FROM t_DataFlowSubSystemSearch WHERE "
                         "t_DataFlowSubSystemSearch MATCH ?1");
    int round = 0;
    for (auto _ : state) {
        const std::string phrase = std::string("\"") + SearchedText(++round) + "\"";
        StepAll(groups.get(), phrase);
        StepAll(subSystems.get(), phrase);
    }
}
BENCHMARK(BM_Fts5MatchSqliteFile)->Unit(benchmark::kMicrosecond)->Apply(ProfiledIterations);

void BM_LikeScanSqliteFile(benchmark::State& state) {
    auto& environment = EnvironmentFor(100000);
    Statement groups(environment.onDisk,
                     "SELECT FTopClassID FROM t_DataFlowTopClass WHERE FTopClassName_CHS LIKE ?1 "
                     "OR FTopClassName_CHT LIKE ?1 OR FTopClassName_EN LIKE ?1");
    Statement subSystems(environment.onDisk,
                         "SELECT FSubSysID FROM t_DataFlowSubSystem WHERE FName_CHS LIKE ?1 OR "
                         "FName_CHT LIKE ?1 OR FName_EN LIKE ?1");
    int round = 0;
    for (auto _ : state) {
        const std::string pattern = std::string("%") + SearchedText(++round) + "%";
        StepAll(groups.get(), pattern);
        StepAll(subSystems.get(), pattern);
    }
}
BENCHMARK(BM_LikeScanSqliteFile)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

// --- Saving one edited subsystem, the re-read of the shared information included ---

// Edits one subsystem and saves it through the business objects, on the database of the
// installed session.
void SaveOneSubsystem(benchmark::State& state, TreeSize size) {
    SubSysGroup group;
    group.CancelCheck(true);
    group.Id(GroupId(7 % size.Groups()));
    const auto subSystem = group.GetSubSystem(SubSystemId(7), false);
    subSystem->SubSystemID_Old(subSystem->Id());
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    group.GetAllSubSystem();  // the snapshot is loaded before timing
    int32_t n = 0;
    for (auto _ : state) {
        subSystem->Index(n++);
        group.UpdateSubSystem(subSystem);
        if (!group.Save()) {  // Save reports a failed item only by its result
            state.SkipWithError("the save failed");
            break;
        }
    }
}

void BM_SaveOneSubsystem(benchmark::State& state) {
    SaveOneSubsystem(state, EnvironmentFor(static_cast<int32_t>(state.range(0))).size);
}
BENCHMARK(BM_SaveOneSubsystem)->Apply(Sizes);

// A tree of 10,000 subsystems whose first `groupSize` are in the first group and the rest in
// the second, so that one save can be measured in a small and in a large group.
Environment& GroupedEnvironment(int32_t groupSize) {
    static std::map<int32_t, std::unique_ptr<Environment>> environments;
    auto& environment = environments[groupSize];
    if (!environment) {
        environment = std::make_unique<Environment>();
        environment->size = TreeSize{10000};
        environment->file = CreateTreeFile(environment->size);
        sqlite3_open(environment->file.c_str(), &environment->onDisk);
        const std::string regroup =
            "UPDATE t_DataFlowSubSystem SET FTopClassID = CASE WHEN " +
            std::string("FSubSysID < ") + std::to_string(SubSystemId(groupSize)) + " THEN " +
            std::to_string(GroupId(0)) + " ELSE " + std::to_string(GroupId(1)) + " END";
        sqlite3_exec(environment->onDisk, regroup.c_str(), nullptr, nullptr, nullptr);
        environment->session =
            std::make_unique<suite::HostSession>("sqlite:" + environment->file, "EN");
    }
    environment->session->Activate();
    return *environment;
}

// A rename of one subsystem of a group of 10 or of 10,000, as the subsystem editor saves it:
// its place in the group's display order stays.
void BM_RenameInGroupOf(benchmark::State& state) {
    GroupedEnvironment(static_cast<int32_t>(state.range(0)));
    SubSysGroup group;
    group.CancelCheck(true);
    group.Id(GroupId(0));
    const auto subSystem = group.GetSubSystem(SubSystemId(5), false);
    subSystem->SubSystemID_Old(subSystem->Id());
    subSystem->CancelCheck(true);
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    group.GetAllSubSystem();  // the snapshot is loaded before timing
    int32_t n = 0;
    for (auto _ : state) {
        subSystem->NameEN(n++ % 2 == 0 ? "Renamed" : "Renamed again");
        group.UpdateSubSystem(subSystem);
        if (!group.Save()) {
            state.SkipWithError("the save failed");
            break;
        }
    }
}
BENCHMARK(BM_RenameInGroupOf)
    ->Arg(10)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(ProfiledIterations);

void BM_DeleteInsertSqliteFile(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    Statement erase(environment.onDisk, "DELETE FROM t_DataFlowSubSystem WHERE FSubSysID = ?");
    Statement insert(
        environment.onDisk,
        "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, "
        "FName_CHT, FName_EN, FSUBID, FClassName, FVisible, FIndex, FAcctType, "
        "FShowSysType) VALUES (?, ?, ?, ?, ?, ?, 'code', 'QuarnBroxActive.Application', "
        "1, ?, ',1,', 1)");
    const int32_t id = SubSystemId(9);
    int32_t n = 0;
    for (auto _ : state) {
        sqlite3_exec(environment.onDisk, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_bind_int(erase.get(), 1, id);
        sqlite3_step(erase.get());
        sqlite3_reset(erase.get());
        sqlite3_bind_int(insert.get(), 1, id);
        sqlite3_bind_int(insert.get(), 2, GroupId(9 % environment.size.Groups()));
        const std::string chs = SubSystemNameCHS(9);
        const std::string cht = SubSystemNameCHT(9);
        const std::string en = SubSystemNameEN(9);
        sqlite3_bind_text(insert.get(), 3, chs.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 4, chs.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 5, cht.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 6, en.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert.get(), 7, n++);
        sqlite3_step(insert.get());
        sqlite3_reset(insert.get());
        sqlite3_exec(environment.onDisk, "COMMIT", nullptr, nullptr, nullptr);
    }
}
BENCHMARK(BM_DeleteInsertSqliteFile)->Apply(Sizes);

// --- The same save on PostgreSQL, beside the bare transaction with libpq ---

// The generated tree in a database of its own on the server that QUARN_TEST_PG names (a
// superuser's libpq connection string; scripts/with-postgres sets it), dropped at exit.
struct PostgresEnvironment {
    std::string server;
    TreeSize size;
    std::string conninfo;
    std::unique_ptr<suite::HostSession> session;

    ~PostgresEnvironment() {
        session.reset();
        DropTreePostgres(server, size);
    }
};

// The environment of the size with its session installed; nullptr, with the benchmark skipped,
// without a server or when the tree cannot be made there.
PostgresEnvironment* PostgresOrSkip(benchmark::State& state) {
    const char* server = std::getenv("QUARN_TEST_PG");
    if (!server || !*server) {
        state.SkipWithError("skipped: QUARN_TEST_PG is not set (run under scripts/with-postgres)");
        return nullptr;
    }
    static std::map<int32_t, std::unique_ptr<PostgresEnvironment>> environments;
    auto& environment = environments[static_cast<int32_t>(state.range(0))];
    try {
        if (!environment) {
            auto made = std::make_unique<PostgresEnvironment>();
            made->server = server;
            made->size = TreeSize{static_cast<int32_t>(state.range(0))};
            made->conninfo = CreateTreePostgres(server, made->size);
            made->session =
                std::make_unique<suite::HostSession>("postgresql:" + made->conninfo, "EN");
            environment = std::move(made);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return nullptr;
    }
    environment->session->Activate();
    return environment.get();
}

void BM_SaveOneSubsystemPostgres(benchmark::State& state) {
    PostgresEnvironment* environment = PostgresOrSkip(state);
    if (!environment) {
        return;
    }
    SaveOneSubsystem(state, environment->size);
}
BENCHMARK(BM_SaveOneSubsystemPostgres)->Apply(Sizes);

// BEGIN, the prepared DELETE and INSERT, COMMIT: four round trips.
void BM_DeleteInsertPostgres(benchmark::State& state) {
    PostgresEnvironment* environment = PostgresOrSkip(state);
    if (!environment) {
        return;
    }
    const PostgresHandle connection = ConnectPostgres(environment->conninfo);
    PGconn* const pg = connection.get();
    const auto succeeded = [](PGresult* result) {
        const ExecStatusType status = PQresultStatus(result);
        PQclear(result);
        return status == PGRES_COMMAND_OK;
    };
    if (!succeeded(PQprepare(pg, "erase", "DELETE FROM t_DataFlowSubSystem WHERE FSubSysID = $1", 0,
                             nullptr)) ||
        !succeeded(PQprepare(pg, "insert",
                             "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, "
                             "FName_CHS, FName_CHT, FName_EN, FSUBID, FClassName, FVisible, "
                             "FIndex, FAcctType, FShowSysType) VALUES ($1, $2, $3, $4, $5, $6, "
                             "'code', 'QuarnBroxActive.Application', 1, $7, ',1,', 1)",
                             0, nullptr))) {
        state.SkipWithError(PQerrorMessage(pg));
        return;
    }
    const std::string id = std::to_string(SubSystemId(9));
    const std::string group = std::to_string(GroupId(9 % environment->size.Groups()));
    int32_t n = 0;
    for (auto _ : state) {
        const std::string chs = SubSystemNameCHS(9);
        const std::string cht = SubSystemNameCHT(9);
        const std::string en = SubSystemNameEN(9);
        const std::string index = std::to_string(n++);
        const char* erase[] = {id.c_str()};
        const char* insert[] = {id.c_str(),  group.c_str(), chs.c_str(),  chs.c_str(),
                                cht.c_str(), en.c_str(),    index.c_str()};
        if (!succeeded(PQexec(pg, "BEGIN")) ||
            !succeeded(PQexecPrepared(pg, "erase", 1, erase, nullptr, nullptr, 0)) ||
            !succeeded(PQexecPrepared(pg, "insert", 7, insert, nullptr, nullptr, 0)) ||
            !succeeded(PQexec(pg, "COMMIT"))) {
            state.SkipWithError(PQerrorMessage(pg));
            break;
        }
    }
}
BENCHMARK(BM_DeleteInsertPostgres)->Apply(Sizes);

// --- The cold load: a session's first read of the whole tree ---

void BM_ColdLoad(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    const auto database =
        suite::Database::Open(suite::StoreLocation::FromDatabaseSpec("sqlite:" + environment.file));
    for (auto _ : state) {
        benchmark::DoNotOptimize(suite::TreeSnapshot::Load(database));
    }
}
BENCHMARK(BM_ColdLoad)->Apply(Sizes);

// --- A new group object and its first read: ClearCache, then the snapshot revalidated ---

void BM_NewGroupFirstRead(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        SubSysGroup group;  // ClearCache
        benchmark::DoNotOptimize(group.GetAllSubSystem());
    }
    (void)environment;
}
BENCHMARK(BM_NewGroupFirstRead)->Apply(Sizes);

void BM_RawScanSqliteFile(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    // The same tables the snapshot reads, every column read as the snapshot reads it.
    Statement subSystems(environment.onDisk,
                         "SELECT FTopClassID, FSubSysID, FName, FName_CHS, FName_CHT, FName_EN, "
                         "FSUBID, FVisible, FAcctType, FIndex, FShowSysType, FClassName FROM "
                         "t_DataFlowSubSystem ORDER BY FTopClassID, FIndex, FSubSysID");
    Statement groups(environment.onDisk,
                     "SELECT FTopClassID, FtopClassName, FTopClassName_CHS, FTopClassName_CHT, "
                     "FTopClassName_EN, FIndex, FVisible, FShowSysType, FAcctType FROM "
                     "t_DataFlowTopClass ORDER BY FIndex, FTopClassID");
    for (auto _ : state) {
        for (Statement* statement : {&groups, &subSystems}) {
            const int columns = sqlite3_column_count(statement->get());
            while (sqlite3_step(statement->get()) == SQLITE_ROW) {
                for (int column = 0; column < columns; ++column) {
                    benchmark::DoNotOptimize(sqlite3_column_text(statement->get(), column));
                }
            }
            sqlite3_reset(statement->get());
        }
    }
}
BENCHMARK(BM_RawScanSqliteFile)->Apply(Sizes);

// --- The history of one item in a log that grows with the whole tree's changes ---

// The log of the tree of this size holds 20 changes of subsystem 7 among 10,000 changes of
// others, made by another program (an SQL console) once before the first history read.
void FillChangeLog(Environment& environment) {
    static std::map<sqlite3*, bool> filled;
    if (filled[environment.onDisk]) {
        return;
    }
    filled[environment.onDisk] = true;
    sqlite3_exec(environment.onDisk, "BEGIN", nullptr, nullptr, nullptr);
    Statement change(environment.onDisk,
                     "UPDATE t_DataFlowSubSystem SET FIndex = FIndex + 1 WHERE FSubSysID = ?");
    for (int32_t n = 0; n < 10020; ++n) {
        const int32_t ordinal = n % 501 == 0 ? 7 : 11 + n % (environment.size.subSystems - 11);
        sqlite3_bind_int(change.get(), 1, SubSystemId(ordinal));
        sqlite3_step(change.get());
        sqlite3_reset(change.get());
    }
    sqlite3_exec(environment.onDisk, "COMMIT", nullptr, nullptr, nullptr);
}

void BM_HistoryOfOneSubsystem(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    FillChangeLog(environment);
    const auto history =
        environment.session->Registry().Create<IChangeHistory>(progid::kChangeHistory);
    const std::string context = environment.session->Context();
    const TreeItemRef item{TreeItemRef::Kind::SubSystem, SubSystemId(7)};
    for (auto _ : state) {
        benchmark::DoNotOptimize(history->Changes(context, item));
    }
}
BENCHMARK(BM_HistoryOfOneSubsystem)->Apply(Sizes);

void BM_HistoryRowsSqliteFile(benchmark::State& state) {
    auto& environment = EnvironmentFor(static_cast<int32_t>(state.range(0)));
    FillChangeLog(environment);
    Statement rows(environment.onDisk,
                   "SELECT FSeq, FTime, FDbUser, FClient, FOld, FNew, FNote FROM "
                   "t_DataFlowChangeLog WHERE FTableName = 't_DataFlowSubSystem' AND FItemID = ? "
                   "ORDER BY FSeq");
    for (auto _ : state) {
        sqlite3_bind_int(rows.get(), 1, SubSystemId(7));
        while (sqlite3_step(rows.get()) == SQLITE_ROW) {
            for (int column = 0; column < 7; ++column) {
                benchmark::DoNotOptimize(sqlite3_column_text(rows.get(), column));
            }
        }
        sqlite3_reset(rows.get());
    }
}
BENCHMARK(BM_HistoryRowsSqliteFile)->Apply(Sizes);

}  // namespace

}  // namespace quarn::bench

BENCHMARK_MAIN();
