// The check of every stored row (what `subsysmgr check` runs) on a tree of 1,000,000 subsystems in
// 10,000 groups, where nearly every row breaks a rule, and on one of 100,000, where few do, beside
// a bare scan of what the check reads: the same columns of both tables and of the change log,
// whose seals the check verifies, every value's text touched, as the database's shell prints them.
// `bench_check tree FILE` writes the tree of 1,000,000 to FILE.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "BenchmarkData.h"
#include "ProfiledIterations.h"
#include "exchange/TreeCheck.h"
#include "suite/HostSession.h"

namespace quarn::bench {
namespace {

using namespace quarn::subsysmgr::exchange;

constexpr TreeSize kTree{1000000};

// A tree, made once (the large one a copy of QUARN_BENCH_CHECK_TREE when it names one, made by
// `bench_check tree FILE`, which spares counts under callgrind the making of the tree), with the
// account type its subsystems name and its change log sealed, as this program leaves it.
struct Environment {
    std::string file;
    std::unique_ptr<suite::HostSession> session;

    explicit Environment(TreeSize size) {
        const char* given = std::getenv("QUARN_BENCH_CHECK_TREE");
        if (given && size.subSystems == kTree.subSystems) {
            file = std::filesystem::temp_directory_path() /
                   ("quarn-check-bench-" + std::to_string(getpid()) + ".sqlite");
            std::filesystem::copy_file(given, file);
        } else {
            file = CreateTreeFile(size);
            AddAccountTypes(file);
            SealLog(file);
        }
        session = std::make_unique<suite::HostSession>("sqlite:" + file, "EN");
    }
    ~Environment() {
        session.reset();
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(file + suffix, ignored);
        }
    }
};

Environment& Tree(const benchmark::State& state) {
    static std::map<int64_t, Environment> trees;
    const TreeSize size{static_cast<int32_t>(state.range(0))};
    Environment& environment = trees.try_emplace(size.subSystems, size).first->second;
    environment.session->Activate();
    return environment;
}

// 100,000: 2,009 findings (the groups' codes lie outside the groups' ranges, and they name an
// account type the tree lacks). 1,000,000: 929,008, most of them subsystems' codes, which cannot
// all lie in the subsystems' ranges at that size.
void BM_CheckTree(benchmark::State& state) {
    Environment& tree = Tree(state);
    const ExchangeText text(tree.session->Registry(), "EN");
    const std::vector<std::string> missing = tree.session->MissingHistoryProtections();
    const std::vector<std::string> missingRules = tree.session->MissingValueRules();
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = CheckTree(tree.session->Module(), text, missing, missingRules).size();
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckTree)
    ->Arg(100000)
    ->Arg(kTree.subSystems)
    ->Unit(benchmark::kMillisecond)
    ->Apply(ProfiledIterations);

void BM_CheckScanSqliteFile(benchmark::State& state) {
    sqlite3* database = nullptr;
    sqlite3_open(Tree(state).file.c_str(), &database);
    sqlite3_stmt* groups = nullptr;
    sqlite3_stmt* subSystems = nullptr;
    sqlite3_stmt* log = nullptr;
    sqlite3_prepare_v2(database,
                       "SELECT FTopClassID, FTopClassName_CHS, FTopClassName_CHT, "
                       "FTopClassName_EN, FIndex, FAcctType FROM t_DataFlowTopClass",
                       -1, &groups, nullptr);
    sqlite3_prepare_v2(database,
                       "SELECT FSubSysID, FTopClassID, FSUBID, FName_CHS, FName_CHT, FName_EN, "
                       "FIndex, FAcctType FROM t_DataFlowSubSystem",
                       -1, &subSystems, nullptr);
    // The log's columns that its seals cover, with the seal, in the chain's order.
    sqlite3_prepare_v2(database,
                       "SELECT FSeq, FTxn, FTime, FDbUser, FClient, FOperation, FTableName, "
                       "FItemID, FOld, FNew, FNote, FForeign, FSeal FROM t_DataFlowChangeLog "
                       "ORDER BY FSeq",
                       -1, &log, nullptr);
    for (auto _ : state) {
        sqlite3_exec(database, "BEGIN", nullptr, nullptr, nullptr);
        for (sqlite3_stmt* statement : {groups, subSystems, log}) {
            const int columns = sqlite3_column_count(statement);
            while (sqlite3_step(statement) == SQLITE_ROW) {
                for (int column = 0; column < columns; ++column) {
                    benchmark::DoNotOptimize(sqlite3_column_text(statement, column));
                }
            }
            sqlite3_reset(statement);
        }
        sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(groups);
    sqlite3_finalize(subSystems);
    sqlite3_finalize(log);
    sqlite3_close(database);
}
BENCHMARK(BM_CheckScanSqliteFile)
    ->Arg(100000)
    ->Arg(kTree.subSystems)
    ->Unit(benchmark::kMillisecond)
    ->Apply(ProfiledIterations);

}  // namespace
}  // namespace quarn::bench

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "tree") {
        const std::string made = quarn::bench::CreateTreeFile(quarn::bench::kTree);
        quarn::bench::AddAccountTypes(made);
        quarn::bench::SealLog(made);
        std::filesystem::rename(made, argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
