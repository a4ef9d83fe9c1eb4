// An upgrade of a release of 10,000 delivered subsystems in 100 groups, every one renamed, over a
// tree of 100,000 subsystems (90,000 of the platform), beside the bare writer of the same rows:
// one SQLite transaction that deletes and inserts each row with prepared statements, through the
// same log triggers. The tree's log is sealed, so each upgrade seals only its own rows.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "BenchmarkData.h"
#include "ProfiledIterations.h"
#include "exchange/ReleaseUpgrade.h"
#include "suite/HostSession.h"

namespace quarn::bench {
namespace {

using namespace quarn::subsysmgr::exchange;

constexpr int32_t kGroups = 100;
constexpr int32_t kPerGroup = 100;
constexpr int32_t kFirstSubSystem = 200000;  // beyond the platform's range: delivered

// The delivered items as the release names them: the stored names with a suffix.
GroupItem DeliveredGroup(int32_t group, const std::string& suffix) {
    const std::string name = "Delivered group " + std::to_string(group) + suffix;
    return {group, {name, name, name}, group, true, true, {1}};
}
SubSystemItem DeliveredSubSystem(int32_t index, const std::string& suffix) {
    const int32_t group = 1 + index / kPerGroup;
    const std::string name = "Delivered " + std::to_string(index) + suffix;
    return {kFirstSubSystem + index, group, "d",  {name, name, name},
            index % kPerGroup,       true,  true, {1}};
}

// The tree's files (about 350 MB with the copy), removed at exit.
struct RemovedAtExit {
    std::string path;
    ~RemovedAtExit() {
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm", ".work", ".work-wal", ".work-shm"}) {
            std::filesystem::remove(path + suffix, ignored);
        }
    }
};

// The tree: the platform's 900 groups of 100 and the delivered 100 groups of 100, made once.
const std::string& Template() {
    static const std::string file = [] {
        const std::string path = CreateTreeFile(TreeSize{90000});
        sqlite3* database = nullptr;
        sqlite3_open(path.c_str(), &database);
        std::string sql =
            "BEGIN; UPDATE t_DataFlowSubSystem SET FTopClassID = FTopClassID - 90000; "
            "UPDATE t_DataFlowTopClass SET FTopClassID = FTopClassID - 90000;";
        for (int32_t group = 1; group <= kGroups; ++group) {
            const GroupItem item = DeliveredGroup(group, "");
            sql +=
                "INSERT INTO t_DataFlowTopClass (FTopClassID, FtopClassName, FTopClassName_CHS, "
                "FTopClassName_CHT, FTopClassName_EN, FIndex, FVisible, FShowSysType, "
                "FAcctType) VALUES (" +
                std::to_string(group) + ", '" + item.names.chs + "', '" + item.names.chs + "', '" +
                item.names.cht + "', '" + item.names.en + "', " + std::to_string(group) +
                ", 1, 3, ',1,');";
        }
        for (int32_t index = 0; index < kGroups * kPerGroup; ++index) {
            const SubSystemItem item = DeliveredSubSystem(index, "");
            sql +=
                "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, "
                "FName_CHT, FName_EN, FSUBID, FVisible, FIndex, FAcctType, FShowSysType) "
                "VALUES (" +
                std::to_string(item.id) + ", " + std::to_string(item.group) + ", '" +
                item.names.chs + "', '" + item.names.chs + "', '" + item.names.cht + "', '" +
                item.names.en + "', 'd', 1, " + std::to_string(item.index) + ", ',1,', 3);";
        }
        sql += "COMMIT;";
        sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(database);
        // Sealed, so that an upgrade seals only its own rows, as on a database it wrote before.
        SealLog(path);
        return path;
    }();
    static const RemovedAtExit removed{file};
    return file;
}

// A copy of the tree to write on, made while the timer is paused.
std::string Copy(benchmark::State& state) {
    state.PauseTiming();
    const std::string copy = Template() + ".work";
    std::filesystem::copy_file(Template(), copy, std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    return copy;
}

Release NextRelease() {
    Release release{{"bench", "2030-01-01"}, {}, {}, {}};
    for (int32_t group = 1; group <= kGroups; ++group) {
        release.groups.push_back(DeliveredGroup(group, " v2"));
    }
    for (int32_t index = 0; index < kGroups * kPerGroup; ++index) {
        release.subSystems.push_back(DeliveredSubSystem(index, " v2"));
    }
    return release;
}

void BM_UpgradeRelease(benchmark::State& state) {
    const Release release = NextRelease();
    for (auto _ : state) {
        const std::string file = Copy(state);
        state.PauseTiming();
        auto session = std::make_unique<suite::HostSession>("sqlite:" + file, "EN");
        session->Activate();
        const ExchangeText text(session->Registry(), "EN");
        Release next = release;
        const auto module = session->Module();
        state.ResumeTiming();
        ReleaseUpgrade upgrade(module, text);
        const UpgradePlan plan = upgrade.Plan(std::move(next));
        if (plan.Conflicts() > 0) {
            state.SkipWithError("the release conflicts");
            break;
        }
        upgrade.Apply(plan);
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UpgradeRelease)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

void BM_UpgradeRowsSqliteFile(benchmark::State& state) {
    for (auto _ : state) {
        const std::string file = Copy(state);
        sqlite3* database = nullptr;
        sqlite3_open(file.c_str(), &database);
        sqlite3_stmt* erase = nullptr;
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(database, "DELETE FROM t_DataFlowSubSystem WHERE FSubSysID = ?", -1,
                           &erase, nullptr);
        sqlite3_prepare_v2(database,
                           "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, "
                           "FName_CHS, FName_CHT, FName_EN, FSUBID, FVisible, FIndex, FAcctType, "
                           "FShowSysType) VALUES (?, ?, ?, ?, ?, ?, 'd', 1, ?, ',1,', 3)",
                           -1, &insert, nullptr);
        sqlite3_exec(database, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int32_t group = 1; group <= kGroups; ++group) {
            const std::string name = DeliveredGroup(group, " v2").names.en;
            const std::string sql =
                "DELETE FROM t_DataFlowTopClass WHERE FTopClassID = " + std::to_string(group) +
                "; INSERT INTO t_DataFlowTopClass (FTopClassID, "
                "FtopClassName, FTopClassName_CHS, FTopClassName_CHT, "
                "FTopClassName_EN, FIndex, FVisible, FShowSysType, FAcctType) "
                "VALUES (" +
                std::to_string(group) + ", '" + name + "', '" + name + "', '" + name + "', '" +
                name + "', " + std::to_string(group) + ", 1, 3, ',1,')";
            sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr);
        }
        for (int32_t index = 0; index < kGroups * kPerGroup; ++index) {
            const SubSystemItem item = DeliveredSubSystem(index, " v2");
            sqlite3_bind_int(erase, 1, item.id);
            sqlite3_step(erase);
            sqlite3_reset(erase);
            sqlite3_bind_int(insert, 1, item.id);
            sqlite3_bind_int(insert, 2, item.group);
            for (int column = 3; column <= 6; ++column) {
                sqlite3_bind_text(insert, column, item.names.en.c_str(), -1, SQLITE_TRANSIENT);
            }
            sqlite3_bind_int(insert, 7, item.index);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(erase);
        sqlite3_finalize(insert);
        sqlite3_close(database);
    }
}
BENCHMARK(BM_UpgradeRowsSqliteFile)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

}  // namespace
}  // namespace quarn::bench

BENCHMARK_MAIN();
