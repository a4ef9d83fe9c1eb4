// Opening the subsystem editor on a tree of 1,000 groups, beside building the same widgets bare
// with the group list filled from memory: the difference is what the model and the store cost.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "BenchmarkData.h"
#include "ProfiledIterations.h"
#include "host/ComponentRegistry.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "runtime/KeyedText.h"
#include "suite/HostSession.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/frmSubSystem.h"

namespace quarn::bench {

namespace {

using subsysmgr::frmSubSystem;
using subsysmgr::ModuleState;
using subsysmgr::SubSysGroup;

constexpr TreeSize kTree{100000};  // 1,000 groups
constexpr int kAccountTypes = 3;   // of those below, shown in English

// The tree file with account types, published as the session's database.
const std::string& TreeFile() {
    static const std::string file = [] {
        std::string path = CreateTreeFile(kTree);
        sqlite3* database = nullptr;
        sqlite3_open(path.c_str(), &database);
        char* error = nullptr;
        if (sqlite3_exec(database,
                         "INSERT INTO t_AccountType (FAcctType, FDesc, FDesc_CHT, FDesc_EN) VALUES "
                         "(1, '工业企业', '工業企業', 'Industrial enterprise'), "
                         "(2, '商品流通企业', '商品流通企業', 'Commercial enterprise'), "
                         "(3, '集团公司', '集團公司', 'Group company'), "
                         "(13, '小企业', '小企業', 'Small enterprise')",
                         nullptr, nullptr, &error) != SQLITE_OK) {
            throw std::runtime_error(error ? error : "cannot add the account types");
        }
        sqlite3_close(database);
        static suite::HostSession session("sqlite:" + path, "EN");
        session.Activate();
        return path;
    }();
    return file;
}

void BM_OpenSubSystemEditor(benchmark::State& state) {
    TreeFile();
    const int32_t groupId = GroupId(0);
    const int32_t subSystemId = SubSystemId(0);
    for (auto _ : state) {
        frmSubSystem dialog;
        auto group = std::make_shared<SubSysGroup>();
        group->Id(groupId);
        dialog.objSubSysGroup = group;
        dialog.objSubSystem = group->GetSubSystem(subSystemId, false);
        dialog.lngStatus = subsysmgr::kStatusEdit;
        dialog.Form_Load();
        benchmark::DoNotOptimize(dialog.objSubSystem);
    }
    frmSubSystem check;
    check.objSubSysGroup = std::make_shared<SubSysGroup>();
    check.objSubSysGroup->Id(groupId);
    check.lngStatus = subsysmgr::kStatusAdd;
    check.Form_Load();
    if (check.inGroup->ListCount() != kTree.Groups()) {
        state.SkipWithError("the editor does not list every group");
    }
}
BENCHMARK(BM_OpenSubSystemEditor)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

void BM_BareWidgets(benchmark::State& state) {
    std::vector<QString> groups;
    for (int32_t g = 0; g < kTree.Groups(); ++g) {
        groups.push_back(subsysmgr::ToQString(
            subsysmgr::MakeKeyedText("Group " + std::to_string(g), std::to_string(GroupId(g)))));
    }
    for (auto _ : state) {
        QDialog dialog;
        auto* frame = new QFrame(&dialog);
        for (int i = 0; i < 6; ++i) {  // identifier, order, number and the three names
            new QLabel(QStringLiteral("Caption"), frame);
            (new QLineEdit(frame))->setText(QStringLiteral("Subsystem 0"));
        }
        new QLabel(QStringLiteral("Group"), frame);
        auto* groupList = new QComboBox(frame);
        for (const QString& text : groups) {
            groupList->addItem(text);
        }
        groupList->setCurrentIndex(0);
        new QCheckBox(QStringLiteral("Visible"), frame);
        new QCheckBox(QStringLiteral("Web"), frame);
        new QLabel(QStringLiteral("Account types"), frame);
        auto* table = new QTableWidget(kAccountTypes, 2, frame);
        for (int row = 0; row < kAccountTypes; ++row) {
            auto* check = new QTableWidgetItem;
            check->setCheckState(row == 0 ? Qt::Checked : Qt::Unchecked);
            table->setItem(row, 0, check);
            table->setItem(row, 1, new QTableWidgetItem(QStringLiteral("Account type")));
        }
        new QPushButton(QStringLiteral("Save"), &dialog);
        new QPushButton(QStringLiteral("Cancel"), &dialog);
        benchmark::DoNotOptimize(groupList->count());
    }
}
BENCHMARK(BM_BareWidgets)->Unit(benchmark::kMillisecond)->Apply(ProfiledIterations);

}  // namespace

}  // namespace quarn::bench

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm"}) {  // the session's connection stays open
        std::filesystem::remove(quarn::bench::TreeFile() + suffix, ignored);
    }
    return 0;
}
