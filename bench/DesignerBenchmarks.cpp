// The designer's tree on a tree of 100,000 subsystems in 1,000 groups: a refresh with nothing
// changed and after one save (with only the groups read, as after the start, and with every
// group's subsystems read), and the filter beside a plain scan of the same names in memory.
// `bench_designer tree FILE COUNT` writes such a tree of COUNT subsystems to FILE for the
// whole-process measurements of bench/designer-speed.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchmarkData.h"
#include "DesignerTexts.h"
#include "FunctionalTreeModel.h"
#include "MainWindow.h"
#include "ProfiledIterations.h"
#include "UndoSteps.h"
#include "model/SubSysGroup.h"
#include "model/SubSystemInput.h"
#include "runtime/SessionContext.h"
#include "suite/DataPaths.h"
#include "suite/HostSession.h"
#include "ui/QtPlatform.h"

namespace quarn::bench {

namespace {

constexpr TreeSize kTree{100000};  // 1,000 groups

// The tree to work on: a copy of QUARN_BENCH_DESIGNER_TREE when it names one (made by
// `bench_designer tree`), which spares counts under callgrind the making of the tree.
std::string TreeFile() {
    std::string path;
    if (const char* given = std::getenv("QUARN_BENCH_DESIGNER_TREE")) {
        path = std::filesystem::temp_directory_path() /
               ("quarn-designer-bench-" + std::to_string(getpid()) + ".sqlite");
        std::filesystem::copy_file(given, path);
    } else {
        path = CreateTreeFile(kTree);
    }
    AddAccountTypes(path);
    return path;
}

struct Designer {
    std::string file = TreeFile();
    suite::HostSession session{"sqlite:" + file, "EN"};
    std::unique_ptr<designer::MainWindow> window;
    designer::FunctionalTreeModel* model = nullptr;

    Designer() {
        session.Activate();
        subsysmgr::InstallQtPlatform(*session.Module(), session.Registry(),
                                     suite::DataDirectory() / "help");
        window = std::make_unique<designer::MainWindow>(session);
        window->resize(1000, 680);
        window->show();
        window->Reload();
        model = qobject_cast<designer::FunctionalTreeModel*>(
            window->findChild<QTreeView*>(QStringLiteral("functionalTree"))->model());
    }
    ~Designer() {
        window.reset();
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(file + suffix, ignored);
        }
    }
    // Every group's subsystems read, no filter left.
    void ReadEverything() {
        const auto go = [](int64_t, int64_t) { return true; };
        model->SetFilter(QStringLiteral("Subsystem"), go);  // found in every group
        model->SetFilter(QString(), go);
    }
};

// Made on first use, gone before the application (main resets it).
std::unique_ptr<Designer> designer;

Designer& Tree() {
    if (!designer) {
        designer = std::make_unique<Designer>();
    }
    return *designer;
}

// The names of the tree in memory, as a plain scan would hold them.
const std::vector<std::array<std::string, 3>>& Names() {
    static const std::vector<std::array<std::string, 3>> names = [] {
        std::vector<std::array<std::string, 3>> all;
        for (int32_t s = 0; s < kTree.subSystems; ++s) {
            all.push_back({SubSystemNameCHS(s), SubSystemNameCHT(s), SubSystemNameEN(s)});
        }
        return all;
    }();
    return names;
}

// Renames the subsystem to "Renamed <round>" through its input, as the editor saves it; the
// failure, if the save was refused.
std::optional<subsysmgr::InputFailure> Rename(int32_t id, int round) {
    auto group = std::make_shared<subsysmgr::SubSysGroup>();
    DictionaryPtr info;
    subsysmgr::GetDataFlowInfo(*subsysmgr::ModuleState::Current()).GetSubSystemInfo(id, info);
    group->initial(info->Item("FTopClassID").ToInt32());
    subsysmgr::SubSystemInput input(subsysmgr::ModuleState::Current(), subsysmgr::kStatusEdit);
    input.Load(group, group->GetSubSystem(id, false));
    input.nameEN = "Renamed " + std::to_string(round);
    return input.Save();
}

void BM_RefreshUnchanged(benchmark::State& state) {
    Designer& tree = Tree();
    if (state.range(0) == 1) {
        tree.ReadEverything();
    } else {
        tree.model->Load();  // only the groups, as after the start
    }
    for (auto _ : state) {
        tree.window->Reload();
    }
}
BENCHMARK(BM_RefreshUnchanged)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Apply(ProfiledIterations);

// One subsystem renamed through its input, as the editor saves it, then the refresh.
void BM_RefreshAfterSave(benchmark::State& state) {
    Designer& tree = Tree();
    if (state.range(0) == 1) {
        tree.ReadEverything();
    } else {
        tree.model->Load();
    }
    const int32_t id = SubSystemId(kTree.subSystems / 2);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (const auto failure = Rename(id, ++round)) {
            state.SkipWithError(failure->error.Description().c_str());
            break;
        }
        state.ResumeTiming();
        tree.window->Reload();
    }
}
BENCHMARK(BM_RefreshAfterSave)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Apply(ProfiledIterations);

// One subsystem renamed through its input, as the editor saves it; Arg 1: recorded as an undo
// step, undone and redone (three writes and the reads that find and check the step's change),
// Arg 0: three plain saves, for comparison.
void BM_UndoStep(benchmark::State& state) {
    Designer& tree = Tree();
    tree.model->Load();
    designer::UndoSteps steps(tree.window.get());
    const int32_t id = SubSystemId(kTree.subSystems / 3);
    int round = 0;
    const auto save = [&] {
        if (const auto failure = Rename(id, ++round)) {
            throw failure->error;
        }
    };
    for (auto _ : state) {
        if (state.range(0) == 0) {
            save();
            save();
            save();
            continue;
        }
        steps.Record({designer::texts::kStepEditSubSystem, {}},
                     {{TreeItemRef::Kind::SubSystem, id}},
                     [&](designer::UndoSteps::Recording&) { save(); });
        steps.Undo();
        steps.Redo();
    }
}
BENCHMARK(BM_UndoStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

// The model's filter over every subsystem read, as the plain scan below.
void BM_FilterModel(benchmark::State& state) {
    Designer& tree = Tree();
    tree.ReadEverything();
    int round = 0;
    for (auto _ : state) {
        tree.model->SetFilter(++round % 2 ? QStringLiteral("4711") : QStringLiteral("4712"),
                              [](int64_t, int64_t) { return true; });
    }
    tree.model->SetFilter(QString(), [](int64_t, int64_t) { return true; });
}
BENCHMARK(BM_FilterModel)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

// A search in a tree model that has read only its groups (as after the start): what the first
// search of a session costs, each iteration on a model of its own.
void BM_FirstSearch(benchmark::State& state) {
    Tree();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<designer::FunctionalTreeModel>();
        model->Load();
        state.ResumeTiming();
        model->SetFilter(++round % 2 ? QStringLiteral("4711") : QStringLiteral("4712"),
                         [](int64_t, int64_t) { return true; });
        benchmark::DoNotOptimize(model->MatchCount());
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

// Typing into the filter box: the model's filter, the view's expansion of the groups found and
// the details of the first match.
void BM_Filter(benchmark::State& state) {
    Designer& tree = Tree();
    tree.ReadEverything();
    auto* box = tree.window->findChild<QLineEdit*>(QStringLiteral("filter"));
    int round = 0;
    for (auto _ : state) {
        box->setText(++round % 2 ? QStringLiteral("4711") : QStringLiteral("4712"));
    }
    box->clear();
}
BENCHMARK(BM_Filter)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

void BM_PlainNameScan(benchmark::State& state) {
    const auto& names = Names();
    int round = 0;
    for (auto _ : state) {
        const std::string_view part = ++round % 2 ? "4711" : "4712";
        std::vector<uint32_t> found;
        for (std::size_t n = 0; n < names.size(); ++n) {
            if (Contains(names[n][0], part) || Contains(names[n][1], part) ||
                Contains(names[n][2], part)) {
                found.push_back(static_cast<uint32_t>(n));
            }
        }
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_PlainNameScan)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

}  // namespace

}  // namespace quarn::bench

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "tree") {
        const std::string made =
            quarn::bench::CreateTreeFile(quarn::bench::TreeSize{std::atoi(argv[3])});
        quarn::bench::AddAccountTypes(made);
        std::filesystem::rename(made, argv[2]);
        return 0;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    quarn::bench::designer.reset();
    return 0;
}
