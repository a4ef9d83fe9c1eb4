// The check of every stored row (what `subsysmgr check` runs) on a tree of 1,000,000 subsystems in
// 10,000 groups, beside a bare scan of the same columns of both tables, every value's text
// touched, as the database's shell prints them. `bench_check tree FILE` writes the tree to FILE.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
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

// The tree, made once (or a copy of QUARN_BENCH_CHECK_TREE when it names one, made by
// `bench_check tree FILE`, which spares counts under callgrind the making of the tree), with the
// account type its subsystems name.
struct Environment {
    std::string file;
    std::unique_ptr<suite::HostSession> session;

    Environment() {
        if (const char* given = std::getenv("QUARN_BENCH_CHECK_TREE")) {
            file = std::filesystem::temp_directory_path() /
                   ("quarn-check-bench-" + std::to_string(getpid()) + ".sqlite");
            std::filesystem::copy_file(given, file);
        } else {
            file = CreateTreeFile(kTree);
            AddAccountTypes(file);
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

Environment& Tree() {
    static Environment environment;
    environment.session->Activate();
    return environment;
}

void BM_CheckTree(benchmark::State& state) {
    Environment& tree = Tree();
    const ExchangeText text(tree.session->Registry(), "EN");
    const std::vector<std::string> missing = tree.session->MissingHistoryProtections();
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = CheckTree(tree.session->Module(), text, missing).size();
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckTree)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

void BM_CheckScanSqliteFile(benchmark::State& state) {
    sqlite3* database = nullptr;
    sqlite3_open(Tree().file.c_str(), &database);
    sqlite3_stmt* groups = nullptr;
    sqlite3_stmt* subSystems = nullptr;
    sqlite3_prepare_v2(database,
                       "SELECT FTopClassID, FTopClassName_CHS, FTopClassName_CHT, "
                       "FTopClassName_EN, FIndex, FAcctType FROM t_DataFlowTopClass",
                       -1, &groups, nullptr);
    sqlite3_prepare_v2(database,
                       "SELECT FSubSysID, FTopClassID, FSUBID, FName_CHS, FName_CHT, FName_EN, "
                       "FIndex, FAcctType FROM t_DataFlowSubSystem",
                       -1, &subSystems, nullptr);
    for (auto _ : state) {
        sqlite3_exec(database, "BEGIN", nullptr, nullptr, nullptr);
        for (sqlite3_stmt* statement : {groups, subSystems}) {
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
    sqlite3_close(database);
}
BENCHMARK(BM_CheckScanSqliteFile)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

}  // namespace
}  // namespace quarn::bench

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "tree") {
        const std::string made = quarn::bench::CreateTreeFile(quarn::bench::kTree);
        quarn::bench::AddAccountTypes(made);
        std::filesystem::rename(made, argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
